// Roles, logins, database users and privilege grants. Grants are paired
// through their GRANT text: a grant that changed is revoked and granted anew.
#pragma once

#include <bitset>
#include <cstdint>
#include <string>

#include "core/kvtClasses.h"
#include "core/kvtTypes.h"

struct TCompareContext;

// Role kinds (RoleKind).
enum : uint8_t { rkRole = 0, rkLogin = 1, rkUser = 2 };

// A role, login or database user.
class TRolData : public TDbObj {
 public:
  explicit TRolData(TObjs* aObjs) : TDbObj(aObjs) { ObjType = dboRole; }
  const char* ClassName() const override { return "TRolData"; }
  TObjListId GetListId() const override { return olRol; }
  // Keeps the container's first-role-by-name index current.
  void AddedToList(const std::string& key) override;

  // "Role: ", "Login: " or "User: " and the name.
  std::string GetListKey() override;
  std::string GetCreateSQL() override;
  // ASE logins and roles are created in the master database; the script
  // returns to the target database afterwards.
  std::string GetCreateScript() override;
  std::string GetDropSQL() override;

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

// One privilege grant: privileges on an object, a role granted, or
// server-level (system) privileges.
class TGntData : public TDbObj {
 public:
  explicit TGntData(TObjs* aObjs) : TDbObj(aObjs) { ObjType = dboGrant; }
  const char* ClassName() const override { return "TGntData"; }
  TObjListId GetListId() const override { return olGnt; }
  // A grant goes with the object it is on.
  bool ReleaseUse(TDbObj& used) override;

  // The GRANT text; for InterBase/Firebird rendered without quoting, so that
  // the key does not depend on the SQL dialect.
  std::string GetListKey() override;
  std::string GetCreateSQL() override;  // the GRANT statement
  std::string GetDropSQL() override;    // the REVOKE statement
  std::string QuoteName(const std::string& name) override;

  // A grant of a role (ObjectKind dboRole) rather than of privileges.
  bool IsRoleGrant() const { return ObjectKind == dboRole; }

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

 private:
  // The privileges (and columns and object) after GRANT / REVOKE.
  std::string GetPrivilegeClause();
  // The receiver after TO / FROM, with its kind word.
  std::string GetGranteeClause();
  // The object, or the role of a role grant, when it is an object grant.
  bool IsObjectGrant() const;

  bool RenderingKey = false;  // GetListKey: names unquoted
};

// Comparison phases.
// New roles, logins and users (in that order), with their descriptions.
void CreateRoles(TCompareContext& ctx);
// Role descriptions that changed.
void AlterRoles(TCompareContext& ctx);
// Target grants the master does not have with the same text: revoked.
void RevokeGrants(TCompareContext& ctx);
// Master grants the target does not have (or lost with their object): granted.
void CreateGrants(TCompareContext& ctx);
// Vanished users, then (not for MS SQL and ASE) logins and roles.
void DropRoles(TCompareContext& ctx);
