#include "extract/kvtIBScriptExtract.h"

#include "core/kvtDBOptions.h"
#include "parse/kvtIBExParser.h"

TIBScriptExtract::TIBScriptExtract() {
  Name = "IBScriptExtract";
  ServerType = srvInterBase;
}

std::unique_ptr<TCustomParser> TIBScriptExtract::CreateParser() {
  if (!GetDBStructure()) return nullptr;
  return std::make_unique<TIbExParser>(this, AttachedObjs());
}

void TIBScriptExtract::PrepareExtract() {
  TCustomScriptExtract::PrepareExtract();
  // The parser reads with the configured server version, SQL dialect and
  // database character set.
  auto* parser = dynamic_cast<TIbParser*>(GetParser());
  TObjs* objs = AttachedObjs();
  if (parser && objs && objs->IBServerOptions) parser->SetServerOptions(*objs->IBServerOptions);
}
