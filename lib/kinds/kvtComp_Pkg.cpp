#include "kinds/kvtComp_Pkg.h"

#include "core/kvtCompareContext.h"
#include "core/kvtDBOptions.h"
#include "core/kvtDBStructure.h"
#include "kinds/kvtPhaseHeader.h"
#include "script/kvtSQL_Exec.h"

namespace {

// The configured InterBase/Firebird version, whatever the server type: an
// Oracle container keeps the default, which writes the Oracle forms.
TIBSQLServerVersionType VersionOf(const TDbObj& o) {
  const TIBServerOptions* opts = o.GetServerOptions();
  return opts ? opts->SQLServerVersion : st_Firebird_25;
}

bool IsFirebird3OrLater(TIBSQLServerVersionType v) {
  return v == st_Firebird_30 || v == st_Firebird_40 || v == st_InterBase_2020;
}

}  // namespace

bool TPkgData::ComparesDescriptions() const {
  return Objs && Objs->CompareObjects.Contains(coDescription);
}

std::string TPkgData::GetHeaderSQL() {
  if (!IsFirebird3OrLater(VersionOf(*this)))
    return "CREATE OR REPLACE PACKAGE " + Name + "\r\n" + Header;
  return "CREATE OR ALTER PACKAGE " + Name + "\r\n    AS\r\n" + Header;
}

std::string TPkgData::GetBodySQL() {
  // Firebird has no CREATE OR REPLACE; RECREATE replaces a body.
  const TIBSQLServerVersionType v = VersionOf(*this);
  if (v == st_Firebird_30 || v == st_Firebird_40)
    return "RECREATE PACKAGE BODY " + Name + "\r\n    AS\r\n" + Body;
  return "CREATE OR REPLACE PACKAGE BODY " + Name + "\r\n" + Body;
}

std::string TPkgData::GetCreateSQL() {
  std::string s = GetHeaderSQL();
  if (Body.empty()) return s;
  const char* term = GetServerType() == srvInterBase ? "^" : "/";
  return s + "\r\n" + term + "\r\n\r\n" + GetBodySQL();
}

std::string TPkgData::GetDropSQL() { return "DROP PACKAGE " + Name; }

void TPkgData::AppendCreateStatement() {
  if (TCustomSQLExec* exec = GetSQLExec()) {
    exec->AddStatement(GetHeaderSQL(), skPackage, Name, dboPackage, saCreate);
    if (ComparesDescriptions() && !Description.empty()) exec->AddDescription(this);
  }
  SetExists(true);
  Compared = true;
  BodyPending = !Body.empty();
}

void TPkgData::ProvideFor(TDbObj& /*user*/, TDependObj& r) {
  if (!GetExists())
    CreateDependDef();
  else if (auto* target = Pair ? Pair->As<TPkgData>() : nullptr; target && target != this)
    UpdateFrom(*target);
  r.Pending = false;
}

void TPkgData::ReleaseUsers() {
  // What is emptied or dropped here records the package as its cause.
  TCauseScope cause(GetSQLExec(), *this);
  for (size_t i = 0; i < UseInList.size(); ++i) {
    TDependObj* r = UseInList[i].get();
    TDbObj* u = r->Obj;
    if (!u || u->IsGrant() || !u->GetExists()) continue;
    if (u->ReleaseUse(*this)) r->Pending = false;
  }
}

void TPkgData::UpdateFrom(TPkgData& target) {
  if (Compared) return;
  Compared = true;
  const bool bodyChanged = Body.empty() != !target.HasBodyNow() ||
                           (!Body.empty() && GetBodySQL() != target.GetBodySQL());
  TargetHasBody = target.HasBodyNow();
  if (GetHeaderSQL() != target.GetHeaderSQL()) {
    target.ReleaseUsers();
    if (TCustomSQLExec* exec = GetSQLExec())
      exec->AddStatement(GetHeaderSQL(), skPackage, Name, dboPackage, saAlter);
    // A new header leaves the old body invalid: it is written again, or
    // removed when the master has none.
    BodyPending = !Body.empty() || TargetHasBody;
  } else {
    BodyPending = bodyChanged;
  }
  // CREATE OR ALTER PACKAGE keeps the description the package had.
  if (ComparesDescriptions() && Description != target.Description)
    if (TCustomSQLExec* exec = GetSQLExec()) exec->AddDescription(this);
}

void TPkgData::WritePendingBody() {
  if (!BodyPending) return;
  BodyPending = false;
  TCustomSQLExec* exec = GetSQLExec();
  if (!exec) return;
  if (!Body.empty())
    exec->AddStatement(GetBodySQL(), skPackage, Name, dboPackage, saCreate);
  else if (TargetHasBody)
    exec->AddStatement("DROP PACKAGE BODY " + Name, skStatement, Name, dboPackage, saDrop);
}

bool TPkgData::ReleaseUse(TDbObj& /*used*/) {
  if (!GetExists()) return true;
  auto* master = Pair ? Pair->As<TPkgData>() : nullptr;
  if (!master || master == this) {
    DropDependDef();
    return true;
  }
  if (!HasBodyNow()) return true;
  BodyDropped = true;
  if (TCustomSQLExec* exec = GetSQLExec())
    exec->AddStatement("DROP PACKAGE BODY " + Name, skStatement, Name, dboPackage, saDrop);
  return true;
}

// ---------------------------------------------------------------------------
// Phases

void DropPackages(TCompareContext& ctx) {
  TPhaseHeader header(ctx.Exec, "/* Drop package... */");
  for (const auto& e : ctx.Target.PkgList) {
    TDbObj& t = *e.Obj;
    if (ctx.Master.PkgList.Contains(t.GetListKey()) || !t.GetExists()) continue;
    header.Write();
    t.DropDependDef();
  }
  header.Close();
}

void CreatePackages(TCompareContext& ctx) {
  TPhaseHeader header(ctx.Exec, "/* Create package... */");
  for (const auto& e : ctx.Master.PkgList) {
    TDbObj& m = *e.Obj;
    if (m.GetExists()) continue;
    header.Write();
    m.CreateDependDef();
  }
  header.Close();
}

void AlterPackages(TCompareContext& ctx) {
  TPhaseHeader header(ctx.Exec, "/* Alter package... */");
  for (const auto& e : ctx.Master.PkgList) {
    auto* m = static_cast<TPkgData*>(e.Obj.get());
    auto* t = FindIn<TPkgData>(ctx.Target.PkgList, m->GetListKey());
    if (!t || !t->GetExists()) continue;
    if (!m->IsCompared() && m->GetHeaderSQL() != t->GetHeaderSQL()) header.Write();
    m->UpdateFrom(*t);
  }
  header.Close();
}

void CreatePackageBodies(TCompareContext& ctx) {
  TPhaseHeader header(ctx.Exec, "/* Create package body... */");
  for (const auto& e : ctx.Master.PkgList) {
    auto* m = static_cast<TPkgData*>(e.Obj.get());
    if (!m->IsBodyPending()) continue;
    header.Write();
    m->WritePendingBody();
  }
  header.Close();
}

TPkgData* TCustomObjs::FindPackage(const std::string& key) const { return FindIn<TPkgData>(PkgList, key); }
