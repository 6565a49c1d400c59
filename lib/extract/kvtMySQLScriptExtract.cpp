#include "extract/kvtMySQLScriptExtract.h"

#include "parse/kvtMySQLParser.h"

TMySQLScriptExtract::TMySQLScriptExtract() {
  Name = "MySQLScriptExtract";
  ServerType = srvMySQL;
}

std::unique_ptr<TCustomParser> TMySQLScriptExtract::CreateParser() {
  return std::make_unique<TMySQLParser>(this, AttachedObjs());
}
