// Views.
#pragma once

#include <string>

#include "core/kvtClasses.h"
#include "core/kvtTypes.h"

class TFldData;

// A view. Its DDL and comparison phases are added with the view kind. The
// select text (everything after AS) is the base Body.
class TViwData : public TDbObj {
 public:
  explicit TViwData(TObjs* aObjs);
  ~TViwData() override;
  const char* ClassName() const override { return "TViwData"; }
  TObjListId GetListId() const override { return olViw; }
  TDbObj* FindColumn(const std::string& name) override;
  void ForEachColumn(const std::function<void(TDbObj&)>& fn) override;
  // Goes first when what it uses goes (it is created again later).
  bool ReleaseUse(TDbObj& used) override;
  // A missing view is created for its user (for a trigger even before the
  // trigger's other needs).
  void ProvideFor(TDbObj& user, TDependObj& r) override;

  // ---- Fields, in declaration order ----
  // The view must be dropped and created even when its text is unchanged;
  // write through SetNeedsRecreate.
  bool NeedsRecreate = false;
  TNamedObjList<TFldData> Columns;  // explicit column list of the view
  std::string OfType;               // Oracle object view: OF type
  std::string ObjectIdKind;         // Oracle WITH OBJECT kind; empty means IDENTIFIER
  TStringList ObjectIdColumns;      // Oracle WITH OBJECT columns
  std::string Algorithm;            // MySQL ALGORITHM (UNDEFINED is not stored)
  std::string Definer;              // MySQL DEFINER; kept, not written
  std::string SqlSecurity;          // MySQL SQL SECURITY (DEFINER is not stored)
  bool WithEncryption = false;      // MS SQL WITH ENCRYPTION
  bool SchemaBinding = false;       // MS SQL WITH SCHEMABINDING
  bool ViewMetadata = false;        // MS SQL WITH VIEW_METADATA

  // ---- Operations ----
  bool GetNeedsRecreate() const { return NeedsRecreate; }
  // Sets the flag here, on the Pair, and on along the Pair links while the
  // values differ.
  void SetNeedsRecreate(bool value);
  // The explicit column of that name; null when there is none.
  TFldData* FindColumn(const std::string& name) const { return Columns.Find(name); }
};
