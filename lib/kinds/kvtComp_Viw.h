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

  bool NeedsRecreate = false;
  TNamedObjList<TFldData> Columns;  // explicit column list of the view
};
