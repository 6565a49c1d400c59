// Script extractor for InterBase/Firebird scripts.
#pragma once

#include "extract/kvtCustomScriptExtract.h"

class TIBScriptExtract : public TCustomScriptExtract {
 public:
  TIBScriptExtract();
  const char* ClassName() const override { return "TIBScriptExtract"; }
  std::unique_ptr<TCustomParser> CreateParser() override;
  void PrepareExtract() override;
};
