#include "extract/kvtMSSQLScriptExtract.h"

#include "parse/kvtParser.h"

TMSSQLScriptExtract::TMSSQLScriptExtract() {
  Name = "MSSQLScriptExtract";
  ServerType = srvMSSQL;
}

std::unique_ptr<TCustomParser> TMSSQLScriptExtract::CreateParser() {
  // Generic SQL parser until TMSSQLParser exists; then this becomes
  // `return std::make_unique<TMSSQLParser>(this, AttachedObjs());` (with parse/kvtMSSQLParser.h).
  return CreateGenericSQLParser(srvMSSQL);
}
