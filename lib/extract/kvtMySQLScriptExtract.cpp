#include "extract/kvtMySQLScriptExtract.h"

#include "parse/kvtParser.h"

TMySQLScriptExtract::TMySQLScriptExtract() {
  Name = "MySQLScriptExtract";
  ServerType = srvMySQL;
}

std::unique_ptr<TCustomParser> TMySQLScriptExtract::CreateParser() {
  // Generic SQL parser until TMySQLParser exists; then this becomes
  // `return std::make_unique<TMySQLParser>(this, AttachedObjs());` (with parse/kvtMySQLParser.h).
  return CreateGenericSQLParser(srvMySQL);
}
