#include "extract/kvtIBScriptExtract.h"

#include "parse/kvtParser.h"

TIBScriptExtract::TIBScriptExtract() {
  Name = "IBScriptExtract";
  ServerType = srvInterBase;
}

std::unique_ptr<TCustomParser> TIBScriptExtract::CreateParser() {
  // Generic SQL parser until TIbExParser exists; then this becomes
  // `return std::make_unique<TIbExParser>(this, AttachedObjs());` (with parse/kvtIBExParser.h).
  return CreateGenericSQLParser(srvInterBase);
}

void TIBScriptExtract::PrepareExtract() {
  TCustomScriptExtract::PrepareExtract();
  // The parser must know the configured server version and SQL dialect before
  // it reads: copy the container's IBServerOptions into the parser's server
  // options here. PARSER SERVER OPTIONS: the generic SQL parser has none; add
  // the copy when the InterBase/Firebird parser is in place.
}
