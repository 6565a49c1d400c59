#include "kinds/kvtComp_Trg.h"

void TTrgData::SetNeedsRestore(bool value) {
  NeedsRestore = value;
  if (auto* pair = Pair ? Pair->As<TTrgData>() : nullptr) pair->NeedsRestore = value;
}

std::string TTrgData::GetStubBody() {
  switch (GetServerType()) {
    case srvMySQL:
      return " BEGIN END";
    case srvMSSQL:
      return " declare @i integer;\r\nbegin set @i = 0; end";
    default:
      return " AS Declare variable I integer;\r\nBEGIN I = 0; END";
  }
}
