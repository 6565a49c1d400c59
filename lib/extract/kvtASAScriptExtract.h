// Script extractor for SQL Anywhere scripts.
#pragma once

#include "extract/kvtCustomScriptExtract.h"

class TASAScriptExtract : public TCustomScriptExtract {
 public:
  TASAScriptExtract();
  const char* ClassName() const override { return "TASAScriptExtract"; }
  std::unique_ptr<TCustomParser> CreateParser() override;
};
