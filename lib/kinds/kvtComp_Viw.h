// Views.
#pragma once

#include "core/kvtClasses.h"

class TFldData;

// A view. Its DDL and comparison phases are added with the view kind.
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

  bool NeedsRecreate = false;
  TNamedObjList<TFldData> Columns;  // explicit column list of the view
};
