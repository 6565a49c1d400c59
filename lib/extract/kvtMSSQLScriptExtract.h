// Script extractor for MS SQL Server scripts.
#pragma once

#include "extract/kvtCustomScriptExtract.h"

class TMSSQLScriptExtract : public TCustomScriptExtract {
 public:
  TMSSQLScriptExtract();
  const char* ClassName() const override { return "TMSSQLScriptExtract"; }
  std::unique_ptr<TCustomParser> CreateParser() override;
};
