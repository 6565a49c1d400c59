// Views.
#pragma once

#include <string>

#include "core/kvtClasses.h"
#include "core/kvtTypes.h"

class TFldData;

// A view. It is never altered in place: a view whose text changed, or that a
// change below it forces to be rebuilt, is dropped and created again. Creating
// it first creates what it uses and re-creates its triggers with the stub
// body; dropping it first empties or drops what uses it. The select text
// (everything after AS) is the base Body.
class TViwData : public TDbObj {
 public:
  explicit TViwData(TObjs* aObjs);
  ~TViwData() override;
  const char* ClassName() const override { return "TViwData"; }
  TObjListId GetListId() const override { return olViw; }
  TDbObj* FindColumn(const std::string& name) override;
  void ForEachColumn(const std::function<void(TDbObj&)>& fn) override;
  std::string GetCreateSQL() override;
  // Creates what it uses, the view, then its triggers with the stub body.
  void CreateDependDef() override;
  void DropDependents() override;
  // Its grants go with it; the grant phases give them again.
  void MarkDropped() override;
  void CreateDependencies() override;
  // Views and domains that use it are walked again by later drops.
  void MarkCreated() override;
  std::string GetDropSQL() override;
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

 private:
  std::string GetColumnList();
  bool Creating = false;  // CreateDependDef is running (views that use each other)
  bool Dropping = false;  // DropDependents is running
};

// Makes the view `used` that `userKind` `userName` ("procedure", "view")
// needs exist in the target with the master's text: a missing view is
// created; one the target holds with another text is dropped and created.
void EnsureViewCurrent(TViwData& used, const std::string& userKind, const std::string& userName);

// Comparison phases of views.
struct TCompareContext;
// Vanished views.
void DropViews(TCompareContext& ctx);
// New views and views dropped earlier in the run; runs twice.
void CreateViews(TCompareContext& ctx);
// Views whose text changed or that must be rebuilt; description changes.
void AlterViews(TCompareContext& ctx);
