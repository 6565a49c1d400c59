// Domains, user data types and encoding conversions.
#pragma once

#include <string>

#include "core/kvtClasses.h"

// A domain or user data type. Its DDL and comparison phases are added with the domain kind.
class TDmnData : public TDbObj {
 public:
  explicit TDmnData(TObjs* aObjs) : TDbObj(aObjs) { ObjType = dboDomain; }
  const char* ClassName() const override { return "TDmnData"; }
  TObjListId GetListId() const override { return olDmn; }
  bool IsXmlSchemaCollection() const override { return TypeText == "XML SCHEMA COLLECTION"; }

  // MS SQL/ASE base type text, or "XML SCHEMA COLLECTION".
  std::string TypeText;
};

// A PostgreSQL encoding conversion. Its DDL is added with the domain kind.
class TCnvData : public TDbObj {
 public:
  explicit TCnvData(TObjs* aObjs) : TDbObj(aObjs) { ObjType = dboConversion; }
  const char* ClassName() const override { return "TCnvData"; }
  TObjListId GetListId() const override { return olCnv; }
};
