#include "kinds/kvtComp_Idx.h"

#include "core/kvtDBStructure.h"

TIdxData* TCustomObjs::FindIndex(const std::string& key) const { return FindIn<TIdxData>(IdxList, key); }
#include "kinds/kvtCompColumn.h"

TIdxData::TIdxData(TObjs* aObjs)
    : TDbObj(aObjs),
      TableSpace(std::make_unique<TTableSpace>()),
      MSSQLOptions(std::make_unique<TIndexOptions>()),
      MySQLOptions(std::make_unique<TIndexOptions>()),
      FullTextOptions(std::make_unique<TFullTextIndexOptions>()) {
  ObjType = dboIndex;
}

TIdxData::~TIdxData() = default;

std::string TIdxData::GetColumnList() {
  const bool mySQL = GetServerType() == srvMySQL;
  std::string list;
  for (const auto& e : Fields) {
    if (!list.empty()) list += ", ";
    list += QuoteName(e.Name);
    const TFldData* f = e.Obj.get();
    if (!f) continue;
    // MySQL takes the prefix length right after the name and the direction
    // after it: "c(10) DESC"; "c DESC(10)" is not valid there.
    if (mySQL && f->Length > 0) list += "(" + std::to_string(f->Length) + ")";
    if (f->SortOrder == 2) list += " DESC";
  }
  return list;
}

std::string TIdxData::GetIncludeList() {
  std::string list;
  for (const auto& e : IncludeFields) {
    if (!list.empty()) list += ", ";
    list += QuoteName(e.Name);
  }
  return list;
}
