#include "extract/kvtOracleScriptExtract.h"

#include "parse/kvtParser.h"

TOracleScriptExtract::TOracleScriptExtract() {
  Name = "OracleScriptExtract";
  ServerType = srvOracle;
}

std::unique_ptr<TCustomParser> TOracleScriptExtract::CreateParser() {
  // Generic SQL parser until TOracleParser exists; then this becomes
  // `return std::make_unique<TOracleParser>(this, AttachedObjs());` (with parse/kvtOracleParser.h).
  return CreateGenericSQLParser(srvOracle);
}
