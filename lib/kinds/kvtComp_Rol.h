// Roles, logins, users and grants.
#pragma once

#include <bitset>
#include <cstdint>
#include <string>

#include "core/kvtClasses.h"

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

  uint8_t RoleKind = rkRole;
};

// Privileges of a grant, one bit per privilege (bit 0 ALL, 1 INSERT, 2 UPDATE, ...).
using TPrivileges = std::bitset<48>;

// One privilege grant. Its texts and comparison phases are added with the grant kind.
class TGntData : public TDbObj {
 public:
  explicit TGntData(TObjs* aObjs) : TDbObj(aObjs) { ObjType = dboGrant; }
  const char* ClassName() const override { return "TGntData"; }
  TObjListId GetListId() const override { return olGnt; }
  // A grant goes with the object it is on.
  bool ReleaseUse(TDbObj& used) override;

  TPrivileges Privileges;
  std::string Grantee;
  std::string ObjectName;
  int32_t GrantOption = 0;  // 1 = WITH GRANT (ADMIN) OPTION
  TStringList Columns;      // column names of column privileges
};
