// Domains, user data types and encoding conversions.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "core/kvtClasses.h"
#include "core/kvtTypes.h"

class TFldData;
class TMemberPrcData;
class TDmnData;
struct TCompareContext;

// Oracle kinds of user type (TypeKind); 0 is a plain domain or user type.
enum : uint8_t {
  tyNone = 0,
  tyObject = 2,     // OBJECT
  tyVarray = 3,     // VARRAY(n) OF
  tyTableOf = 4,    // AS TABLE OF
  tyTableOfIs = 5   // IS TABLE OF
};

// What makes a PostgreSQL type: the support functions and storage of a base
// type, or the attributes of a composite type.
class TPGTypeOptions {
 public:
  explicit TPGTypeOptions(TDmnData* domain);
  ~TPGTypeOptions();
  TPGTypeOptions(const TPGTypeOptions&) = delete;
  TPGTypeOptions& operator=(const TPGTypeOptions&) = delete;

  TDmnData* Domain = nullptr;  // the type these options belong to; not owned
  bool IsBaseType = false;     // a base or composite type, not a domain
  std::string Input;           // support function names
  std::string Output;
  std::string Receive;
  std::string Send;
  std::string Analyze;
  int32_t InternalLength = -1;  // -1 = not given
  int32_t ExternalLength = -1;  // -1 = not given
  bool PassedByValue = false;
  uint8_t Alignment = 93;       // a data-type code; INT4 by default
  std::string Storage = "plain";
  std::string DefaultValue;
  std::unique_ptr<TFldData> Element;  // ELEMENT type; null when not given
  std::string Delimiter;
  TNamedObjList<TFldData> CompositeFields;  // attributes of a composite type
};

// A domain or user data type: an InterBase/Firebird, SQL Anywhere or
// PostgreSQL domain, an MS SQL or ASE user type, an Oracle object, VARRAY or
// nested-table type, or a PostgreSQL base or composite type.
class TDmnData : public TDbObj {
 public:
  explicit TDmnData(TObjs* aObjs);
  ~TDmnData() override;
  const char* ClassName() const override { return "TDmnData"; }
  TObjListId GetListId() const override { return olDmn; }
  bool IsXmlSchemaCollection() const override { return TypeText == "XML SCHEMA COLLECTION"; }

  // ---- Overrides ----
  std::string GetDisplayName() override { return Name; }
  std::string GetCreateSQL() override;
  // Before the domain changes or goes: the base walk (views go, bodies are
  // emptied), then domains and views that use it go, and the columns typed
  // by it release what uses them.
  void DropDependents() override;
  std::string GetDropSQL() override;
  // A user that needs the domain finds it created.
  void ProvideFor(TDbObj& user, TDependObj& r) override;

  // ---- Fields, in declaration order ----
  // Base type, nullability, default, check, character set and collation;
  // its Owner is the domain.
  std::unique_ptr<TFldData> BaseField;
  // MS SQL/ASE base type text for sp_addtype, or "XML SCHEMA COLLECTION".
  std::string TypeText;
  uint8_t TypeKind = tyNone;                  // Oracle type kind
  int32_t VarrayLimit = 0;                    // Oracle VARRAY size
  TNamedObjList<TFldData> Attributes;         // Oracle object attributes
  TNamedObjList<TMemberPrcData> Methods;      // Oracle member routines
  TNamedObjList<TFldData> AddedAttributes;    // Oracle attributes added by ALTER TYPE
  bool Cascade = false;                       // Oracle CASCADE after ALTER TYPE
  std::string TypeTimestamp;                  // Oracle TIMESTAMP clause
  std::string TypeOid;                        // Oracle OID clause
  std::string UnderType;                      // Oracle supertype (UNDER)
  std::unique_ptr<TTypeDirective> Directive;  // Oracle inheritance directives
  std::unique_ptr<TPGTypeOptions> PGOptions;  // PostgreSQL type options
  bool FromType = false;                      // MS SQL/ASE CREATE TYPE ... FROM
};

// A PostgreSQL encoding conversion.
class TCnvData : public TDbObj {
 public:
  explicit TCnvData(TObjs* aObjs) : TDbObj(aObjs) { ObjType = dboConversion; }
  const char* ClassName() const override { return "TCnvData"; }
  TObjListId GetListId() const override { return olCnv; }
  std::string GetCreateSQL() override;
  std::string GetDropSQL() override;

  bool IsDefault = false;  // CREATE DEFAULT CONVERSION
  std::string SourceEncoding;
  std::string DestEncoding;
  std::string FunctionName;  // the conversion function
};

// ---- Comparison phases (run by the comparer in its fixed sequence) ----

// New domains and types, before any table, view or procedure needs them.
void CreateDomains(TCompareContext& ctx);
// Changed domains: ALTER DOMAIN or system-table updates (InterBase/Firebird),
// CHECK changes (PostgreSQL); description changes everywhere.
void AlterDomains(TCompareContext& ctx);
// Vanished domains, once the tables no longer use them.
void DropDomains(TCompareContext& ctx);
// PostgreSQL conversions: new ones, changed ones (re-created), vanished ones.
void CreateConversions(TCompareContext& ctx);
void AlterConversions(TCompareContext& ctx);
void DropConversions(TCompareContext& ctx);
