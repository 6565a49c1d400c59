// Script extractor for MySQL and MariaDB scripts.
#pragma once

#include "extract/kvtCustomScriptExtract.h"

class TMySQLScriptExtract : public TCustomScriptExtract {
 public:
  TMySQLScriptExtract();
  const char* ClassName() const override { return "TMySQLScriptExtract"; }
  std::unique_ptr<TCustomParser> CreateParser() override;
};
