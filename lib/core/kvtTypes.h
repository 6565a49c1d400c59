// Shared vocabulary of the library: object and list kinds, comparable families,
// server types, statement kinds, event signatures and small text helpers that
// every script writer uses.
#pragma once

#include <bitset>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class TDbObj;

// Kind of a database object, of a dependency record or of an object list.
// The numeric value is the position; other units rely on it.
enum TDbObject : uint8_t {
  dboUnknown, dboTable, dboProcedure, dboTrigger, dboFunction, dboException,
  dboIndex, dboDomain, dboView, dboGenerator, dboEvent, dboField, dboParam,
  dboDatabase, dboBlobFilter, dboCollation, dboConstraint, dboPKey, dboFKey,
  dboUnique, dboCheck, dboReferences, dboCtrDefault, dboRole, dboGrant,
  dboRule, dboDefault, dboPackage, dboPackageBody, dboPublication, dboSchema,
  dboOperator, dboOperatorClass, dboExtension, dboConversion, dboUser,
  dboUserGroup, dboValidation, dboExprIndex, dboCount, dboComputed,
  dboDepend, dboPrkList, dboFrkList, dboUnqList, dboChkList, dboDefList,
  dboRefList, dboIdxList, dboExcList, dboRolList, dboGntList, dboCdfList,
  dboPrcList, dboTrgList, dboFncList, dboRulList, dboGnrList, dboPkgList,
  dboDmnList, dboViwList, dboFldList, dboTblLIst, dboPblList, dboOprList,
  dboOpcList, dboCnvList, dboEvtList, dboCltList, dboUseInList, dboUseOfList
};
inline constexpr int TDbObjectCount = 71;

// One comparable object family.
enum TCmpObjType : uint8_t {
  coDomain, coFunction, coGenerator, coException, coTable, coView,
  coProcedure, coTrigger, coIndex, coRole, coGrant, coRoleGrant, coUserGrant,
  coObjGrant, coPrimaryKey, coForeignKey, coUnique, coCheck, coRule,
  coDefault, coCtrDefault, coPackage, coDescription
};
inline constexpr int TCmpObjTypeCount = 23;

// Name of a family without its "co" prefix ("Domain", "Table", ...).
const char* CmpObjTypeName(TCmpObjType t);

// A set of comparable families, one bit per value (bit i = value i).
// The default holds all 23 families, stored as 8388607.
struct TCmpObjSetType {
  static constexpr uint32_t AllBits = 8388607u;  // 0x7FFFFF
  uint32_t Bits = AllBits;

  constexpr TCmpObjSetType() = default;
  constexpr explicit TCmpObjSetType(uint32_t bits) : Bits(bits & AllBits) {}
  static constexpr TCmpObjSetType Empty() { return TCmpObjSetType(0u); }

  constexpr bool Contains(TCmpObjType t) const { return (Bits >> t) & 1u; }
  constexpr void Include(TCmpObjType t) { Bits |= (1u << t); }
  constexpr void Exclude(TCmpObjType t) { Bits &= ~(1u << t); }
  constexpr bool IsEmpty() const { return Bits == 0; }
  constexpr bool operator==(const TCmpObjSetType&) const = default;
};

// SQL dialect of a container. 0 means "no container".
enum TServerType : uint8_t {
  srvNone = 0,
  srvInterBase = 1,
  srvASA = 2,
  srvMySQL = 3,
  srvOracle = 4,
  srvMSSQL = 5,
  srvPostgreSQL = 6,
  srvDB2 = 7,
  srvASE = 8
};

enum TKVTProtocol : uint8_t { ptTCP, ptSPX, ptNamedPipe, ptLocal };

enum TUpdateDescriptionType : uint8_t { udSysTables, udDescribe, udComment };

enum TStatementKind : uint8_t {
  skConnect, skReConnect, skCreateDb, skSet, skBlobFile, skCommit,
  skStatement, skComment, skProcedure, skTrigger, skSetNames, skCharSet,
  skSqlDialect, skDescription, skSelect, skInsert, skUpdate, skDelete,
  skExecuteBlock, skPackage
};
inline constexpr int TStatementKindCount = 20;
// "Connect" ... "Package", indexed by TStatementKind.
extern const char* const StatementKindNames[TStatementKindCount];

// Oracle physical attributes of a table, index or constraint.
struct TTableSpace {
  int32_t PctFree = 0;
  int32_t PctUsed = 0;
  int32_t IniTrans = 0;
  int32_t MaxTrans = 0;
  std::string Storage;
  std::string CacheClause;  // "CACHE", "CACHE READS", "NOCACHE" or empty
};

// Oracle inheritance directives of an object type or member routine.
struct TTypeDirective {
  bool NotInstantiable = false;
  bool NotFinal = false;
  bool Final = false;
  bool Instantiable = false;
  bool Overriding = false;
};

using TStringList = std::vector<std::string>;

// Event signatures. Sender is the raising component; handlers that are empty
// std::function objects mean that nobody listens.
using TProgressUpdateEvent = std::function<void(void* Sender, int Value, int MaxValue)>;
using TLogNextLineEvent = std::function<void(void* Sender, const std::string& LogText)>;
using TErrorMessageEvent = std::function<void(void* Sender, const std::string& ErrText)>;
using TLoadScriptEvent = std::function<void(void* Sender, const std::string& FileName,
                                            TStringList& aScript, bool& Loaded)>;
using TAcceptObjEvent = std::function<void(void* Sender, const std::string& aObjName,
                                           TDbObject aObjType, bool& Accept)>;
using TAccept_ObjEvent = std::function<void(void* Sender, TDbObj* aObj, bool& Accept)>;
// Asks the host for a query parameter value; kept for interface compatibility,
// nothing in the library runs scripts against a database.
using TGetParamValueEvent = std::function<void(void* Sender, const std::string& Param)>;

// 256-bit character set.
using TCharSet = std::bitset<256>;
TCharSet MakeCharSet(const char* chars);

bool CharInSet(char c, const TCharSet& set);
// Whole text to a signed 32-bit integer; false when anything is left over or
// the value does not fit.
bool TryParseInt(const std::string& text, int32_t& value);
// "schema.name", or just "name" when the schema is empty.
std::string QualifyName(const std::string& schema, const std::string& name);
std::string DefaultTerminator(TServerType serverType);
std::string QuoteLiteral(const std::string& text, TServerType serverType);
std::string GetStorageClause(const TTableSpace& t);
void MergeStorage(TTableSpace& a, TTableSpace& b);
std::string GetDirectiveText(const TTypeDirective& d);
