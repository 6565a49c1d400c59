// Builders of indexes and constraints for the kind tests, linked to their
// tables and columns the way the parsers' final linking pass links them.
#pragma once

#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "kinds/kvtComp_Ctr.h"
#include "kinds/kvtComp_Idx.h"
#include "kvtKindsFixture.h"

// One column of an index or key; `desc` for a descending index column,
// `length` for a MySQL prefix.
struct TKeyCol {
  TKeyCol(const char* name, bool desc = false, int32_t length = 0)
      : Name(name), Desc(desc), Length(length) {}
  std::string Name;
  bool Desc;
  int32_t Length;
};

inline void AddKeyColumns(TObjs& objs, TNamedObjList<TFldData>& list,
                          const std::vector<TKeyCol>& cols) {
  for (const TKeyCol& c : cols) {
    auto f = std::make_unique<TFldData>(&objs, nullptr);
    f->SetName(c.Name);
    f->SortOrder = c.Desc ? 2 : 0;
    f->Length = c.Length;
    list.Add(c.Name, std::move(f));
  }
}

// The object uses the table `table` of its container and the named columns.
inline void LinkToTable(TObjs& objs, TDbObj* user, const std::string& table,
                        const TNamedObjList<TFldData>& cols) {
  TTblData* t = objs.FindTable(table);
  if (!t) return;
  AddDependencyOnce(&objs, user, t, "", 0, 0);
  for (const auto& e : cols) AddDependencyOnce(&objs, user, t, e.Name, 0, 0);
}

inline TIdxData* AddIndex(TObjs& objs, const std::string& name, const std::string& table,
                          std::initializer_list<TKeyCol> cols) {
  auto i = std::make_unique<TIdxData>(&objs);
  i->SetName(name);
  i->TableName = table;
  AddKeyColumns(objs, i->Fields, cols);
  TIdxData* raw = i.get();
  if (!objs.AddObj(i, true)) return nullptr;
  LinkToTable(objs, raw, table, raw->Fields);
  return raw;
}

// A constraint on `table`; `refTable` and `refCols` for a foreign key.
inline TCtrData* AddConstraint(TObjs& objs, uint8_t type, const std::string& name,
                               const std::string& table, std::initializer_list<TKeyCol> cols,
                               const std::string& refTable = std::string(),
                               std::initializer_list<TKeyCol> refCols = {},
                               const std::string& body = std::string()) {
  auto c = std::make_unique<TCtrData>(&objs);
  c->SetConstraintType(type);
  c->SetName(name);
  c->SetTableName(table);
  c->SetRefTableName(refTable);
  c->SetBody(body);
  AddKeyColumns(objs, c->Fields, cols);
  AddKeyColumns(objs, c->RefFields, refCols);
  TCtrData* raw = c.get();
  if (!objs.AddObj(c, true)) return nullptr;
  LinkToTable(objs, raw, table, raw->Fields);
  if (!refTable.empty()) LinkToTable(objs, raw, refTable, raw->RefFields);
  return raw;
}

// Position of the first statement of the list whose text contains `text`;
// -1 when none does.
inline int StatementWith(const TCustomSQLExec& exec, const std::string& text) {
  for (int i = 0; i < exec.Count(); ++i)
    if (exec.GetStatement(i)->GetText().find(text) != std::string::npos) return i;
  return -1;
}

// How many statements of the list contain `text`.
inline int StatementsWith(const TCustomSQLExec& exec, const std::string& text) {
  int n = 0;
  for (int i = 0; i < exec.Count(); ++i)
    if (exec.GetStatement(i)->GetText().find(text) != std::string::npos) ++n;
  return n;
}
