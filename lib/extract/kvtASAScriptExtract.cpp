#include "extract/kvtASAScriptExtract.h"

#include "parse/kvtParser.h"

TASAScriptExtract::TASAScriptExtract() {
  Name = "SAWScriptExtract";
  ServerType = srvASA;
}

std::unique_ptr<TCustomParser> TASAScriptExtract::CreateParser() {
  // Generic SQL parser until TASAParser exists; then this becomes
  // `return std::make_unique<TASAParser>(this, AttachedObjs());` (with parse/kvtASAParser.h).
  return CreateGenericSQLParser(srvASA);
}
