// Script extractor for Oracle scripts.
#pragma once

#include "extract/kvtCustomScriptExtract.h"

class TOracleScriptExtract : public TCustomScriptExtract {
 public:
  TOracleScriptExtract();
  const char* ClassName() const override { return "TOracleScriptExtract"; }
  std::unique_ptr<TCustomParser> CreateParser() override;
};
