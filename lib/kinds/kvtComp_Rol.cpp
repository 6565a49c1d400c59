#include "kinds/kvtComp_Rol.h"

#include <algorithm>
#include <array>
#include <unordered_map>
#include <utility>
#include <vector>

#include "core/kvtCompareContext.h"
#include "core/kvtDBOptions.h"
#include "core/kvtDBStructure.h"
#include "kinds/kvtPhaseHeader.h"
#include "script/kvtSQL_Exec.h"

namespace {

// Per name, the first role, login and user in RolList order (slot = role
// kind), with the entry key that places it in that order.
struct TRoleIndex : TListCache {
  struct Slot {
    std::string Key;
    TRolData* Obj = nullptr;
  };
  uint64_t Version = ~uint64_t{0};
  std::unordered_map<std::string, std::array<Slot, 3>> Names;

  void Rebuild(const TObjList& roles) {
    Names.clear();
    for (const auto& e : roles) {
      auto* rol = e.Obj->As<TRolData>();
      if (!rol || rol->RoleKind > rkUser) continue;
      Slot& slot = Names[rol->Name][rol->RoleKind];
      if (!slot.Obj) slot = Slot{e.Key, rol};  // walked in list order: first wins
    }
    Version = roles.Version();
  }
};

// Grants grouped by (object, grantee, grant option), each group in list order,
// so MergeGrant looks only at the grants it could merge with.
struct TGrantIndex : TListCache {
  uint64_t Version = ~uint64_t{0};
  std::unordered_map<std::string, std::vector<std::pair<std::string, TGntData*>>> Groups;

  static std::string GroupKey(const TGntData& g) {
    return g.ObjectName + '\x01' + g.Grantee + '\x01' + std::to_string(g.GrantOption);
  }
};

TRolData* FindRoleOfKind(const TCustomObjs& objs, const std::string& name, uint8_t kind) {
  TRoleIndex& ri = objs.ListCache<TRoleIndex>(olRol);
  for (int attempt = 0; attempt < 2; ++attempt) {
    if (attempt > 0 || ri.Version != objs.RolList.Version()) ri.Rebuild(objs.RolList);
    auto it = ri.Names.find(name);
    if (it == ri.Names.end()) return nullptr;
    TRolData* rol = it->second[kind].Obj;
    // A role renamed or re-kinded after it was indexed: index again.
    if (!rol || (rol->Name == name && rol->RoleKind == kind)) return rol;
  }
  return nullptr;
}

}  // namespace

// ---------------------------------------------------------------------------
// TRolData

void TRolData::AddedToList(const std::string& key) {
  if (!Objs) return;
  // Keep the index current without a rebuild per added role; an index that
  // was already stale is rebuilt on its next use.
  TRoleIndex& ri = Objs->ListCache<TRoleIndex>(olRol);
  const uint64_t version = Objs->RolList.Version();
  if (ri.Version + 1 != version) return;
  if (RoleKind <= rkUser) {
    TRoleIndex::Slot& slot = ri.Names[Name][RoleKind];
    if (!slot.Obj || Objs->RolList.KeyLess(key, slot.Key)) slot = TRoleIndex::Slot{key, this};
  }
  ri.Version = version;
}

std::string TRolData::GetListKey() {
  switch (RoleKind) {
    case rkLogin: return "Login: " + Name;
    case rkUser: return "User: " + Name;
    default: return "Role: " + Name;
  }
}

namespace {

std::string Literal(const std::string& s) { return QuoteLiteral(s, srvMSSQL); }

// The container whose options an object renders with (the partner's while
// the master borrows the target's dialect).
TObjs* RenderingObjs(TObjs* objs) {
  return objs && objs->UsePartnerServer && objs->Partner ? objs->Partner : objs;
}

bool IsMSSQL2005OrLater(TObjs* objs) {
  TObjs* o = RenderingObjs(objs);
  return o && o->MSSQLServerOptions && o->MSSQLServerOptions->SQLServerVersion >= st_MSSQL2005;
}

}  // namespace

std::string TRolData::GetCreateSQL() {
  switch (GetServerType()) {
    case srvMSSQL:
      if (RoleKind == rkUser)
        return "exec sp_addlogin @loginame = N" + Literal(LoginName.empty() ? Name : LoginName);
      if (RoleKind == rkLogin) return "exec sp_addlogin @loginame = N" + Literal(Name);
      if (IsAppRole) return "exec sp_addapprole N" + Literal(Name) + ", N" + Literal("");
      return "exec sp_addrole N" + Literal(Name);
    case srvASE:
      if (RoleKind == rkLogin)
        return "if (not exists(select name from master.dbo.syslogins where name = " +
               Literal(Name) + "))\r\n  begin\r\n    use master\r\n    exec sp_addlogin " +
               QuoteName(Name) + ", " + Literal("      ") + "\r\n  end";
      if (RoleKind == rkUser)
        return "if (not exists(select name from dbo.sysusers where name = " + Literal(Name) +
               "))\r\n  exec sp_adduser " + LoginName + ", " + Name;
      return "if (not exists(select name from master.dbo.syssrvroles where name = " +
             Literal(Name) + "))\r\n  begin\r\n    use master\r\n    create role " + Name +
             "\r\n  end";
    default: {
      std::string s;
      if (!RoleOwner.empty()) s = "/* Role: " + Name + ", Owner: " + RoleOwner + " */\r\n";
      return s + "CREATE ROLE " + QuoteName(Name);
    }
  }
}

std::string TRolData::GetCreateScript() {
  std::string sql = GetCreateSQL();
  if (GetServerType() != srvASE || RoleKind == rkUser) return sql;
  TObjs* target = Objs ? Objs->TargetSide() : nullptr;
  if (!target) target = Objs;
  const std::string db = target ? target->ConnectionOptions->DatabaseName : std::string();
  const std::string end = "\r\n  end";
  if (sql.size() >= end.size() && sql.compare(sql.size() - end.size(), end.size(), end) == 0)
    sql.insert(sql.size() - end.size(), "\r\n    use " + db);
  return sql;
}

std::string TRolData::GetDropSQL() {
  switch (GetServerType()) {
    case srvMSSQL:
      if (RoleKind == rkUser) {
        // These users belong to every database from SQL Server 2005 on.
        const std::string upper = UpperAscii(Name);
        if (IsMSSQL2005OrLater(Objs) &&
            (upper == "SYS" || upper == "GUEST" || upper == "INFORMATION_SCHEMA"))
          return std::string();
        return "exec sp_revokedbaccess @name_in_db = N" + Literal(Name);
      }
      if (IsAppRole) return "exec sp_dropapprole @rolename = N" + Literal(Name);
      return "exec sp_droprole @rolename = N" + Literal(Name);
    case srvASE:
      // A database user is not a role there.
      if (RoleKind == rkUser) return "exec sp_dropuser " + Name;
      return "DROP ROLE " + QuoteName(Name);
    default:
      return "DROP ROLE " + QuoteName(Name);
  }
}

// ---------------------------------------------------------------------------
// TGntData

namespace {

struct TPrivilegeWord {
  uint8_t Bit;
  const char* Word;
};

// Object privileges of tables and views, in the order they are written.
constexpr TPrivilegeWord kTablePrivileges[] = {
    {pvDelete, "DELETE"}, {pvInsert, "INSERT"}, {pvSelect, "SELECT"}, {pvUpdate, "UPDATE"},
    {pvReferences, "REFERENCES"}, {pvTruncateTable, "TRUNCATE TABLE"},
    {pvUpdateStatistics, "UPDATE STATISTICS"}, {pvDeleteStatistics, "DELETE STATISTICS"}};
// Privileges of every kind of object, after those.
constexpr TPrivilegeWord kAnyObjectPrivileges[] = {
    {pvConnect, "CONNECT"}, {pvExecute, "EXECUTE"}, {pvUsage, "USAGE"}};
// Oracle object privileges.
constexpr TPrivilegeWord kOracleObjectPrivileges[] = {
    {pvDelete, "DELETE"}, {pvInsert, "INSERT"}, {pvSelect, "SELECT"}, {pvUpdate, "UPDATE"},
    {pvReferences, "REFERENCES"}, {pvExecute, "EXECUTE"}};
// Oracle system privileges.
constexpr TPrivilegeWord kOracleSystemPrivileges[] = {
    {pvCreateDatabaseLink, "CREATE DATABASE LINK"}, {pvCreateSession, "CREATE SESSION"},
    {pvCreatePublicSynonym, "CREATE PUBLIC SYNONYM"}, {pvCreateSynonym, "CREATE SYNONYM"},
    {pvCreateType, "CREATE TYPE"}, {pvCreateTable, "CREATE TABLE"},
    {pvCreateView, "CREATE VIEW"}, {pvCreateTrigger, "CREATE TRIGGER"},
    {pvCreateProcedure, "CREATE PROCEDURE"}, {pvCreateSequence, "CREATE SEQUENCE"},
    {pvCreateIndexType, "CREATE INDEXTYPE"}, {pvDropPublicSynonym, "DROP PUBLIC SYNONYM"},
    {pvDropSynonym, "DROP SYNONYM"}, {pvDropType, "DROP TYPE"}, {pvDropTable, "DROP TABLE"},
    {pvDropView, "DROP VIEW"}, {pvDropTrigger, "DROP TRIGGER"},
    {pvDropProcedure, "DROP PROCEDURE"}, {pvDropSequence, "DROP SEQUENCE"},
    {pvDropIndexType, "DROP INDEXTYPE"}, {pvUnlimitedTablespace, "UNLIMITED TABLESPACE"},
    {pvForceAnyTransaction, "FORCE ANY TRANSACTION"}};
// MS SQL and ASE server-level privileges.
constexpr TPrivilegeWord kServerPrivileges[] = {
    {pvCreateDatabase, "CREATE DATABASE"}, {pvCreateDefault, "CREATE DEFAULT"},
    {pvCreateFunction, "CREATE FUNCTION"}, {pvCreateProcedure, "CREATE PROCEDURE"},
    {pvCreateRule, "CREATE RULE"}, {pvCreateTable, "CREATE TABLE"},
    {pvCreateView, "CREATE VIEW"}, {pvBackupDatabase, "BACKUP DATABASE"},
    {pvBackupLog, "BACKUP LOG"}, {pvDumpDatabase, "DUMP DATABASE"},
    {pvDumpTransaction, "DUMP TRANSACTION"}, {pvViewAnyDatabase, "VIEW ANY DATABASE"},
    {pvTruncateTable, "TRUNCATE TABLE"}, {pvUpdateStatistics, "UPDATE STATISTICS"}};

// Appends the words of the set privileges to `list`, separated by ", ".
template <size_t N>
void AppendWords(std::string& list, const TPrivileges& p, const TPrivilegeWord (&words)[N]) {
  for (const TPrivilegeWord& w : words) {
    if (!p.test(w.Bit)) continue;
    if (!list.empty()) list += ", ";
    list += w.Word;
  }
}

template <size_t N>
std::string Words(const TPrivileges& p, const TPrivilegeWord (&words)[N]) {
  std::string list;
  AppendWords(list, p, words);
  return list;
}

// The five table privileges that ALL stands for.
TPrivileges AllTablePrivileges() {
  TPrivileges p;
  p.set(pvInsert).set(pvUpdate).set(pvDelete).set(pvSelect).set(pvReferences);
  return p;
}

// The keyword an InterBase/Firebird grant writes before the object's name.
const char* IBObjectWord(TDbObject kind) {
  switch (kind) {
    case dboProcedure: return "PROCEDURE ";
    case dboTrigger: return "TRIGGER ";
    case dboFunction: return "FUNCTION ";
    case dboException: return "EXCEPTION ";
    case dboGenerator: return "SEQUENCE ";
    case dboPackage: return "PACKAGE ";
    // A view is named like a table: Firebird rejects "ON VIEW".
    default: return "";
  }
}

const char* GranteeWord(TDbObject kind) {
  switch (kind) {
    case dboProcedure: return "PROCEDURE ";
    case dboTrigger: return "TRIGGER ";
    case dboFunction: return "FUNCTION ";
    case dboView: return "VIEW ";
    case dboRole: return "ROLE ";
    case dboPackage: return "PACKAGE ";
    default: return "";
  }
}

// REVOKE for a grant kept as text ("<privileges> ON <object> TO <grantees>
// [WITH ... OPTION]"): the same privileges FROM the same grantees; empty when
// the text has no TO.
std::string RevokeOfGrantText(std::string text) {
  if (UpperAscii(text.substr(0, 6)) == "GRANT ") text.erase(0, 6);
  const std::string upper = UpperAscii(text);
  const size_t to = upper.rfind(" TO ");
  if (to == std::string::npos) return std::string();
  std::string grantees = text.substr(to + 4);
  const size_t with = UpperAscii(grantees).find(" WITH ");
  if (with != std::string::npos) grantees.erase(with);
  return "REVOKE " + text.substr(0, to) + " FROM " + grantees;
}

}  // namespace

bool TGntData::ReleaseUse(TDbObj& /*used*/) {
  SetExists(false);
  return true;
}

std::string TGntData::QuoteName(const std::string& name) {
  // Oracle grants write their names as they stand.
  if (RenderingKey || GetServerType() == srvOracle) return name;
  return TDbObj::QuoteName(name);
}

std::string TGntData::GetListKey() {
  if (GetServerType() != srvInterBase) return GetCreateSQL();
  RenderingKey = true;
  std::string key = GetCreateSQL();
  RenderingKey = false;
  return key;
}

bool TGntData::IsObjectGrant() const { return ObjectKind != dboUnknown || !ObjectName.empty(); }

std::string TGntData::GetPrivilegeClause() {
  const TServerType st = GetServerType();
  if (IsRoleGrant()) return (st == srvASE ? "ROLE " : "") + QuoteName(ObjectName);
  std::string s;
  const bool tableLike = ObjectKind == dboUnknown || ObjectKind == dboTable || ObjectKind == dboView;
  if (Privileges.test(pvAll)) {
    s = "ALL";
  } else if (tableLike) {
    TPrivileges dml = Privileges;
    for (const TPrivilegeWord& w : kAnyObjectPrivileges) dml.reset(w.Bit);
    if (st != srvASE && dml == AllTablePrivileges())
      s = "ALL";
    else
      AppendWords(s, Privileges, kTablePrivileges);
  }
  AppendWords(s, Privileges, kAnyObjectPrivileges);
  if (!Columns.empty()) {
    s += " (";
    for (size_t i = 0; i < Columns.size(); ++i) s += (i ? ", " : "") + QuoteName(Columns[i]);
    s += ")";
  }
  if (!ObjectName.empty()) {
    s += " ON ";
    if (st == srvInterBase) s += IBObjectWord(ObjectKind);
    s += QuoteName(ObjectName);
  }
  return s;
}

std::string TGntData::GetGranteeClause() {
  // PUBLIC is the keyword for every user, never a quoted name.
  if (SameTextAscii(Grantee, "PUBLIC")) return Grantee;
  return GranteeWord(GranteeKind) + QuoteName(Grantee);
}

std::string TGntData::GetCreateSQL() {
  const std::string option = !GrantOption         ? ""
                             : IsRoleGrant() ? " WITH ADMIN OPTION"
                                             : " WITH GRANT OPTION";
  switch (GetServerType()) {
    case srvOracle:
      // Oracle names are written as they stand.
      if (!GrantText.empty()) return "GRANT " + GrantText;
      if (!ObjectName.empty() && !Grantee.empty() && Privileges.none())
        return "GRANT " + ObjectName + " TO " + Grantee + option;
      if (!ObjectName.empty())
        return "GRANT " + Words(Privileges, kOracleObjectPrivileges) + " ON " + ObjectName +
               " TO " + Grantee + option;
      return "GRANT " + Words(Privileges, kOracleSystemPrivileges) + " TO " + Grantee + option;
    case srvMSSQL:
    case srvASE: {
      if (!GrantText.empty()) return GrantText;
      TPrivileges connect;
      connect.set(pvConnect);
      if (Privileges == connect)
        return "GRANT CONNECT TO " + QuoteName(ObjectName) + " AS " + QuoteName(Grantee);
      // Object and role grants name the object (or role) once; a grant
      // without one is server-level.
      const std::string privileges =
          IsObjectGrant() ? GetPrivilegeClause() : Words(Privileges, kServerPrivileges);
      return "GRANT " + privileges + " TO " + GetGranteeClause() + option;
    }
    default:
      if (ObjectKind == dboUnknown && !GrantText.empty()) return GrantText;
      return "GRANT " + GetPrivilegeClause() + " TO " + GetGranteeClause() + option;
  }
}

std::string TGntData::GetDropSQL() {
  const TServerType st = GetServerType();
  // A grant kept as text is revoked by the same text.
  if (!GrantText.empty() && (st == srvOracle || st == srvMSSQL || st == srvASE ||
                             ObjectKind == dboUnknown))
    return RevokeOfGrantText(GrantText);
  if (st == srvMSSQL || st == srvASE) {
    TPrivileges connect;
    connect.set(pvConnect);
    if (Privileges == connect) return "REVOKE CONNECT FROM " + QuoteName(ObjectName);
  }
  // The whole privilege goes, its grant option with it: the master's version,
  // if any, is granted anew afterwards.
  if (IsObjectGrant()) return "REVOKE " + GetPrivilegeClause() + " FROM " + GetGranteeClause();
  const std::string words = st == srvOracle ? Words(Privileges, kOracleSystemPrivileges)
                                             : Words(Privileges, kServerPrivileges);
  if (words.empty()) return std::string();
  return "REVOKE " + words + " FROM " + GetGranteeClause();
}

// ---------------------------------------------------------------------------
// Container lookups and grant merging

TRolData* TCustomObjs::FindRole(const std::string& name) const {
  return FindRoleOfKind(*this, name, rkRole);
}
TRolData* TCustomObjs::FindLogin(const std::string& name) const {
  return FindRoleOfKind(*this, name, rkLogin);
}
TRolData* TCustomObjs::FindUser(const std::string& name) const {
  return FindRoleOfKind(*this, name, rkUser);
}

TGntData* TCustomObjs::MergeGrant(std::unique_ptr<TGntData>& grant) {
  if (!grant) return nullptr;
  try {
    TGrantIndex& gi = ListCache<TGrantIndex>(olGnt);
    if (gi.Version != GntList.Version()) {
      gi.Groups.clear();
      for (const auto& e : GntList)
        if (auto* g = e.Obj->As<TGntData>())
          gi.Groups[TGrantIndex::GroupKey(*g)].emplace_back(e.Key, g);
      gi.Version = GntList.Version();
    }
    auto& group = gi.Groups[TGrantIndex::GroupKey(*grant)];
    for (auto& [key, g] : group) {
      const bool gHasColumns = !g->Columns.empty();
      const bool newHasColumns = !grant->Columns.empty();
      if (!gHasColumns && !newHasColumns) {
        g->Privileges |= grant->Privileges;
        return nullptr;
      }
      if (g->Privileges != grant->Privileges && gHasColumns && newHasColumns) {
        for (const std::string& c : grant->Columns)
          if (std::find(g->Columns.begin(), g->Columns.end(), c) == g->Columns.end())
            g->Columns.push_back(c);
        return nullptr;
      }
    }
    const std::string key = grant->GetListKey();
    TGntData* raw = grant.get();
    std::unique_ptr<TDbObj> base(grant.release());
    const bool added = GntList.Add(key, base);
    grant.reset(static_cast<TGntData*>(base.release()));
    if (!added) return nullptr;
    // Keep the group in list order without rebuilding the whole index.
    auto pos = std::upper_bound(group.begin(), group.end(), key,
                                [this](const std::string& k, const auto& entry) {
                                  return GntList.KeyLess(k, entry.first);
                                });
    group.emplace(pos, key, raw);
    gi.Version = GntList.Version();
    return raw;
  } catch (...) {
    return nullptr;
  }
}

// ---------------------------------------------------------------------------
// Phases

namespace {

// Whether the run compares this grant: grants are compared when any grant
// family is, and a grant of a narrower family only when that one is too.
// SYSDBA holds every privilege on every object of a Firebird database: the
// server records a grant to it but the database's extract leaves it out, so
// such a grant would show as missing however often it is run.
bool GrantsNothing(const TCompareContext& ctx, const TGntData& g) {
  return ctx.Target.ServerType == srvInterBase && !g.IsRoleGrant() &&
         (g.GranteeKind == dboUnknown || g.GranteeKind == dboUser) && g.Grantee == "SYSDBA";
}

bool ComparesGrant(const TCompareContext& ctx, const TGntData& g) {
  if (!ctx.Compares(coGrant) && !ctx.Compares(coRoleGrant) && !ctx.Compares(coUserGrant))
    return false;
  if (GrantsNothing(ctx, g)) return false;
  return g.GrantClass == coGrant || ctx.Compares(g.GrantClass);
}

void AppendDescriptionIfAny(TCompareContext& ctx, TDbObj& o) {
  if (ctx.Compares(coDescription) && !o.Description.empty()) ctx.Exec.AddDescription(&o);
}

}  // namespace

void CreateRoles(TCompareContext& ctx) {
  struct TGroup {
    uint8_t Kind;
    const char* Header;
  };
  static constexpr TGroup kGroups[] = {{rkRole, "/* Creating roles */"},
                                       {rkLogin, "/* Creating logins */"},
                                       {rkUser, "/* Creating users */"}};
  const bool mssql = ctx.Target.ServerType == srvMSSQL;
  bool anyHeader = false;
  for (const TGroup& group : kGroups) {
    TPhaseHeader header(ctx.Exec, group.Header);
    for (const auto& e : ctx.Master.RolList) {
      auto* r = static_cast<TRolData*>(e.Obj.get());
      if (r->RoleKind != group.Kind || (r->Pair && r->Pair->GetExists())) continue;
      header.Write();
      if (mssql && r->RoleKind == rkUser) {
        // A database user needs its login and access to the database.
        const std::string login = Literal(r->LoginName.empty() ? r->Name : r->LoginName);
        ctx.Exec.AddStatement("exec sp_addlogin @loginame = N" + login, skStatement, r->Name,
                              dboRole, saCreate);
        ctx.Exec.AddStatement("exec sp_grantdbaccess @loginame = N" + login + ", @name_in_db = N" +
                                  Literal(r->Name),
                              skStatement, r->Name, dboRole, saCreate);
      } else {
        ctx.Exec.AddStatement(r->GetCreateScript(), skStatement, r->Name, dboRole, saCreate);
      }
      r->SetExists(true);
      AppendDescriptionIfAny(ctx, *r);
    }
    anyHeader = anyHeader || header.IsWritten();
  }
  if (anyHeader) ctx.Exec.AddComment("\r\n");
}

void AlterRoles(TCompareContext& ctx) {
  if (!ctx.Compares(coDescription)) return;
  for (const auto& e : ctx.Master.RolList) {
    auto* r = static_cast<TRolData*>(e.Obj.get());
    if (r->RoleKind == rkRole && r->Pair && r->Description != r->Pair->Description)
      ctx.Exec.AddDescription(r);
  }
}

void RevokeGrants(TCompareContext& ctx) {
  for (const auto& e : ctx.Target.GntList) {
    auto* g = static_cast<TGntData*>(e.Obj.get());
    if (!g->GetExists() || !ComparesGrant(ctx, *g)) continue;
    const std::string text = g->GetCreateSQL();
    if (g->Pair && g->Pair->GetCreateSQL() == text) continue;
    ctx.Exec.AddComment("/* DROP: -- " + text + " */");
    ctx.Exec.AddStatement(g->GetDropSQL(), skStatement, text, dboGrant, saDrop);
    // A paired master grant whose text differs is granted anew.
    g->SetExists(false);
  }
}

void CreateGrants(TCompareContext& ctx) {
  TPhaseHeader header(ctx.Exec, "/* Create(Add) Crant */");
  for (const auto& e : ctx.Master.GntList) {
    auto* g = static_cast<TGntData*>(e.Obj.get());
    if (!ComparesGrant(ctx, *g) || (g->Pair && g->Pair->GetExists())) continue;
    header.Write();
    ctx.Exec.AddStatement(g->GetCreateScript(), skStatement, g->GetCreateSQL(), dboGrant, saCreate);
    g->SetExists(true);
  }
  header.Close();
}

void DropRoles(TCompareContext& ctx) {
  struct TGroup {
    uint8_t Kind;
    const char* Header;
  };
  static constexpr TGroup kGroups[] = {{rkUser, "/* Dropping users */"},
                                       {rkLogin, "/* Dropping logins */"},
                                       {rkRole, "/* Dropping roles */"}};
  const TServerType st = ctx.Target.ServerType;
  for (const TGroup& group : kGroups) {
    // MS SQL and ASE keep logins and roles: they belong to the server.
    if (group.Kind != rkUser && (st == srvMSSQL || st == srvASE)) continue;
    TPhaseHeader header(ctx.Exec, group.Header);
    for (const auto& e : ctx.Target.RolList) {
      auto* r = static_cast<TRolData*>(e.Obj.get());
      if (r->RoleKind != group.Kind || r->Pair || !r->GetExists()) continue;
      // Users every database has (MS SQL GUEST, ...) are never dropped.
      if (r->GetDropSQL().empty()) continue;
      header.Write();
      r->DropDependDef();
    }
    header.Close();
  }
}
