// Roles, logins, users and grants.
#pragma once

#include <bitset>
#include <cstdint>
#include <string>

#include "core/kvtClasses.h"
#include "core/kvtTypes.h"

// Role kinds (RoleKind).
enum : uint8_t { rkRole = 0, rkLogin = 1, rkUser = 2 };

// A role, login or database user. Its DDL and comparison phases are added with the role kind.
class TRolData : public TDbObj {
 public:
  explicit TRolData(TObjs* aObjs) : TDbObj(aObjs) { ObjType = dboRole; }
  const char* ClassName() const override { return "TRolData"; }
  TObjListId GetListId() const override { return olRol; }
  // Keeps the container's first-role-by-name index current.
  void AddedToList(const std::string& key) override;

  std::string RoleOwner;   // owner, shown in a comment
  bool IsAppRole = false;  // MS SQL application role
  std::string LoginName;   // the login a user belongs to
  uint8_t RoleKind = rkRole;
};

// Privileges of a grant, one bit per privilege.
using TPrivileges = std::bitset<48>;

// Privilege bits (TPrivileges positions); bit 8 is unused.
enum : uint8_t {
  pvAll = 0,
  pvInsert = 1,
  pvUpdate = 2,
  pvDelete = 3,
  pvSelect = 4,
  pvExecute = 5,
  pvReferences = 6,
  pvConnect = 7,
  pvCreateDatabaseLink = 9,
  pvCreateSequence = 10,
  pvCreateSession = 11,
  pvCreateTrigger = 12,
  pvCreateProcedure = 13,
  pvCreateType = 14,
  pvCreateSynonym = 15,
  pvCreatePublicSynonym = 16,
  pvDropSynonym = 17,
  pvDropPublicSynonym = 18,
  pvCreateTable = 19,
  pvCreateView = 20,
  pvCreateIndexType = 21,
  pvCreateRule = 22,
  pvCreateDefault = 23,
  pvCreateFunction = 24,
  pvCreateDatabase = 25,
  pvBackupDatabase = 26,
  pvBackupLog = 27,
  pvDumpDatabase = 28,
  pvDumpTransaction = 29,
  pvViewAnyDatabase = 30,
  pvTruncateTable = 31,
  pvUpdateStatistics = 32,
  pvDeleteStatistics = 33,
  pvUnlimitedTablespace = 34,
  pvDropTable = 35,
  pvDropView = 36,
  pvDropTrigger = 37,
  pvDropProcedure = 38,
  pvDropSequence = 39,
  pvDropType = 40,
  pvDropIndexType = 41,
  pvForceAnyTransaction = 42,
  pvUsage = 43
};

// One privilege grant. Its texts and comparison phases are added with the grant kind.
class TGntData : public TDbObj {
 public:
  explicit TGntData(TObjs* aObjs) : TDbObj(aObjs) { ObjType = dboGrant; }
  const char* ClassName() const override { return "TGntData"; }
  TObjListId GetListId() const override { return olGnt; }
  // A grant goes with the object it is on.
  bool ReleaseUse(TDbObj& used) override;

  std::string GrantText;  // a grant statement kept verbatim
  TPrivileges Privileges;
  std::string Grantee;  // receiver of the grant
  // Kind of the grantee: dboProcedure, dboTrigger, dboFunction, dboView,
  // dboRole, dboPackage, dboUser, or dboUnknown for a plain user.
  TDbObject GranteeKind = dboUnknown;
  std::string ObjectName;  // the object the privileges are on; for a role grant the role
  TDbObject ObjectKind = dboUnknown;  // kind of that object; dboRole marks a role grant
  int32_t GrantOption = 0;            // 1 = WITH GRANT (ADMIN) OPTION
  TStringList Columns;                // column names of column privileges
  // Family the grant is compared under: coGrant, coRoleGrant, coUserGrant or coObjGrant.
  TCmpObjType GrantClass = coGrant;
};
