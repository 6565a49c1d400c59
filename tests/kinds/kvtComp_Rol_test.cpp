// Roles and grants: texts per dialect, grant keys and the role and grant phases.
#include <gtest/gtest.h>

#include "kinds/kvtComp_Prc.h"
#include "kinds/kvtComp_Rol.h"
#include "kvtStatementsFixture.h"

namespace {

TRolData* AddRole(TObjs& objs, const std::string& name, uint8_t kind = rkRole) {
  return AddNamed<TRolData>(objs, name, [kind](TRolData& r) { r.RoleKind = kind; });
}

TGntData* AddGrant(TObjs& objs, const std::function<void(TGntData&)>& fill) {
  auto g = std::make_unique<TGntData>(&objs);
  fill(*g);
  return objs.MergeGrant(g);
}

TPrivileges Privileges(std::initializer_list<uint8_t> bits) {
  TPrivileges p;
  for (uint8_t b : bits) p.set(b);
  return p;
}

// A grant of `privileges` on table T (or `object` of `kind`) to `grantee`.
std::function<void(TGntData&)> On(std::initializer_list<uint8_t> privileges,
                                  const std::string& grantee, const std::string& object = "T",
                                  TDbObject kind = dboTable) {
  const TPrivileges p = Privileges(privileges);
  return [=](TGntData& g) {
    g.Privileges = p;
    g.ObjectName = object;
    g.ObjectKind = kind;
    g.Grantee = grantee;
  };
}

TEST(RoleText, ByDialect) {
  TObjs mssql;
  mssql.SetServerType(srvMSSQL);
  TRolData* user = AddRole(mssql, "ANN", rkUser);
  EXPECT_EQ(user->GetListKey(), "User: ANN");
  EXPECT_EQ(user->GetCreateSQL(), "exec sp_addlogin @loginame = N'ANN'");
  EXPECT_EQ(user->GetDropSQL(), "exec sp_revokedbaccess @name_in_db = N'ANN'");
  TRolData* app = AddRole(mssql, "APP");
  app->IsAppRole = true;
  EXPECT_EQ(app->GetCreateSQL(), "exec sp_addapprole N'APP', N''");
  EXPECT_EQ(app->GetDropSQL(), "exec sp_dropapprole @rolename = N'APP'");
  TRolData* role = AddRole(mssql, "CLERK");
  EXPECT_EQ(role->GetCreateSQL(), "exec sp_addrole N'CLERK'");
  EXPECT_EQ(role->GetDropSQL(), "exec sp_droprole @rolename = N'CLERK'");
  TRolData* guest = AddRole(mssql, "guest", rkUser);
  EXPECT_EQ(guest->GetDropSQL(), "exec sp_revokedbaccess @name_in_db = N'GUEST'");
  mssql.MSSQLServerOptions->SQLServerVersion = st_MSSQL2005;
  EXPECT_EQ(guest->GetDropSQL(), "");

  TObjs ase;
  ase.SetServerType(srvASE);
  ase.ConnectionOptions->DatabaseName = "shop";
  TRolData* login = AddRole(ase, "ann", rkLogin);
  EXPECT_EQ(login->GetCreateScript(),
            "if (not exists(select name from master.dbo.syslogins where name = 'ann'))\r\n"
            "  begin\r\n    use master\r\n    exec sp_addlogin ann, '      '\r\n"
            "    use shop\r\n  end");
  TRolData* aseUser = AddRole(ase, "ann", rkUser);
  aseUser->LoginName = "ann";
  EXPECT_EQ(aseUser->GetCreateScript(),
            "if (not exists(select name from dbo.sysusers where name = 'ann'))\r\n"
            "  exec sp_adduser ann, ann");
  EXPECT_EQ(aseUser->GetDropSQL(), "exec sp_dropuser ann");  // a user is no role there

  TObjs ib;
  ib.SetServerType(srvInterBase);
  TRolData* r = AddRole(ib, "CLERK");
  r->RoleOwner = "SYSDBA";
  EXPECT_EQ(r->GetCreateSQL(), "/* Role: CLERK, Owner: SYSDBA */\r\nCREATE ROLE CLERK");
  EXPECT_EQ(r->GetDropSQL(), "DROP ROLE CLERK");
}

struct TGrantCase {
  const char* Name;
  TServerType Server;
  std::function<void(TGntData&)> Fill;
  const char* Grant;
  const char* Revoke;
};

TEST(GrantText, GrantAndRevokeByDialect) {
  const TGrantCase cases[] = {
      {"all five table privileges", srvInterBase,
       On({pvSelect, pvInsert, pvUpdate, pvDelete, pvReferences}, "U"), "GRANT ALL ON T TO U",
       "REVOKE ALL ON T FROM U"},
      {"ASE lists them", srvASE, On({pvSelect, pvInsert, pvUpdate, pvDelete, pvReferences}, "U"),
       "GRANT DELETE, INSERT, SELECT, UPDATE, REFERENCES ON T TO U",
       "REVOKE DELETE, INSERT, SELECT, UPDATE, REFERENCES ON T FROM U"},
      {"procedure to a role", srvInterBase,
       [](TGntData& g) {
         On({pvExecute}, "R", "P", dboProcedure)(g);
         g.GranteeKind = dboRole;
       },
       "GRANT EXECUTE ON PROCEDURE P TO ROLE R", "REVOKE EXECUTE ON PROCEDURE P FROM ROLE R"},
      {"columns with grant option: the revoke takes the privilege", srvInterBase,
       [](TGntData& g) {
         On({pvUpdate}, "U")(g);
         g.Columns = {"A", "B"};
         g.GrantOption = 1;
       },
       "GRANT UPDATE (A, B) ON T TO U WITH GRANT OPTION", "REVOKE UPDATE (A, B) ON T FROM U"},
      {"role with admin option", srvInterBase,
       [](TGntData& g) {
         g.ObjectName = "CLERK";
         g.ObjectKind = dboRole;
         g.Grantee = "BOB";
         g.GrantOption = 1;
       },
       "GRANT CLERK TO BOB WITH ADMIN OPTION", "REVOKE CLERK FROM BOB"},
      {"view to PUBLIC", srvInterBase, On({pvSelect}, "PUBLIC", "V", dboView),
       "GRANT SELECT ON V TO PUBLIC", "REVOKE SELECT ON V FROM PUBLIC"},
      {"object of unknown kind", srvInterBase, On({pvSelect}, "U", "T", dboUnknown),
       "GRANT SELECT ON T TO U", "REVOKE SELECT ON T FROM U"},
      {"sequence to a procedure", srvInterBase,
       [](TGntData& g) {
         On({pvUsage}, "P", "G", dboGenerator)(g);
         g.GranteeKind = dboProcedure;
       },
       "GRANT USAGE ON SEQUENCE G TO PROCEDURE P", "REVOKE USAGE ON SEQUENCE G FROM PROCEDURE P"},
      {"MS SQL object grant", srvMSSQL, On({pvSelect}, "ANN"), "GRANT SELECT ON T TO ANN",
       "REVOKE SELECT ON T FROM ANN"},
      {"MS SQL connect", srvMSSQL, On({pvConnect}, "DBO", "ANN", dboUnknown),
       "GRANT CONNECT TO ANN AS DBO", "REVOKE CONNECT FROM ANN"},
      {"MS SQL server level", srvMSSQL,
       [](TGntData& g) {
         g.Privileges = Privileges({pvCreateTable, pvTruncateTable});
         g.Grantee = "ANN";
       },
       "GRANT CREATE TABLE, TRUNCATE TABLE TO ANN", "REVOKE CREATE TABLE, TRUNCATE TABLE FROM ANN"},
      {"Oracle text kept verbatim", srvOracle,
       [](TGntData& g) { g.GrantText = "SELECT ON hr.emp TO clerk WITH GRANT OPTION"; },
       "GRANT SELECT ON hr.emp TO clerk WITH GRANT OPTION", "REVOKE SELECT ON hr.emp FROM clerk"},
      {"Oracle system privileges", srvOracle,
       [](TGntData& g) {
         g.Privileges = Privileges({pvCreateTable, pvCreateSession});
         g.Grantee = "clerk";
       },
       "GRANT CREATE SESSION, CREATE TABLE TO clerk",
       "REVOKE CREATE SESSION, CREATE TABLE FROM clerk"},
  };
  for (const TGrantCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TObjs objs;
    objs.SetServerType(c.Server);
    TGntData* g = AddGrant(objs, c.Fill);
    ASSERT_NE(g, nullptr);
    EXPECT_EQ(g->GetCreateSQL(), c.Grant);
    EXPECT_EQ(g->GetDropSQL(), c.Revoke);
  }
}

TEST(GrantText, InterBaseKeyIsWrittenWithoutQuotes) {
  TObjs objs;
  objs.SetServerType(srvInterBase);
  TGntData* g = AddGrant(objs, On({pvSelect}, "Ann", "My Table"));
  EXPECT_EQ(g->GetCreateSQL(), "GRANT SELECT ON \"My Table\" TO \"Ann\"");
  EXPECT_EQ(g->GetListKey(), "GRANT SELECT ON My Table TO Ann");
  EXPECT_EQ(objs.GntList.Keys(0), "GRANT SELECT ON My Table TO Ann");
}

TEST(GrantPhases, AddedRevokedAndChangedGrants) {
  TTwoDbs db(srvInterBase);
  AddGrant(db.Master, On({pvSelect}, "SAME"));
  AddGrant(db.Target, On({pvSelect}, "SAME"));
  // Privilege list changed.
  AddGrant(db.Master, On({pvSelect, pvInsert}, "CLERK"));
  AddGrant(db.Target, On({pvSelect, pvInsert, pvUpdate, pvDelete, pvReferences}, "CLERK"));
  // Grant option dropped.
  AddGrant(db.Master, On({pvSelect}, "VIEWER"));
  AddGrant(db.Target, [](TGntData& g) {
    On({pvSelect}, "VIEWER")(g);
    g.GrantOption = 1;
  });
  AddGrant(db.Target, On({pvSelect}, "GONE"));
  AddGrant(db.Master, On({pvSelect}, "NEW"));
  db.PairObjects();
  db.RunPhase(47);
  EXPECT_EQ(StatementTexts(db.Exec),
            (TTexts{"/* DROP: -- GRANT ALL ON T TO CLERK */", "REVOKE ALL ON T FROM CLERK",
                    "/* DROP: -- GRANT SELECT ON T TO GONE */", "REVOKE SELECT ON T FROM GONE",
                    "/* DROP: -- GRANT SELECT ON T TO VIEWER WITH GRANT OPTION */",
                    "REVOKE SELECT ON T FROM VIEWER", "/* Create(Add) Crant */",
                    "GRANT INSERT, SELECT ON T TO CLERK", "GRANT SELECT ON T TO NEW",
                    "GRANT SELECT ON T TO VIEWER", ""}));
  EXPECT_EQ(db.Exec.GetStatement(1)->Action, saDrop);
  EXPECT_EQ(db.Exec.GetStatement(1)->ObjName, "GRANT ALL ON T TO CLERK");
  EXPECT_EQ(db.Exec.GetStatement(7)->Action, saCreate);
  EXPECT_EQ(db.Exec.GetStatement(7)->ObjType, dboGrant);
}

TEST(GrantPhases, GrantOnARecreatedProcedureIsGrantedAgain) {
  TTwoDbs db(srvInterBase);
  for (TObjs* objs : {&db.Master, &db.Target}) {
    TPrcData* p = AddNamed<TPrcData>(*objs, "PAY_TOTAL");
    TGntData* g = AddGrant(*objs, On({pvExecute}, "ALICE", "PAY_TOTAL", dboProcedure));
    AddDependency(objs, g, p, "", 0, 0);
  }
  db.PairObjects();
  // The procedure phases drop the procedure and create it again.
  db.Target.FindProcedure("PAY_TOTAL")->DropDependDef();
  db.Master.FindProcedure("PAY_TOTAL")->CreateDependDef();
  db.Exec.Clear();
  db.RunPhase(47);
  EXPECT_EQ(StatementTexts(db.Exec),
            (TTexts{"/* Create(Add) Crant */", "GRANT EXECUTE ON PROCEDURE PAY_TOTAL TO ALICE", ""}));
}

TEST(GrantPhases, NarrowerGrantFamiliesNeedTheirOwnBit) {
  TTwoDbs db(srvInterBase);
  AddGrant(db.Master, [](TGntData& g) {
    On({pvSelect}, "ANN")(g);
    g.GrantClass = coUserGrant;
  });
  AddGrant(db.Master, [](TGntData& g) {
    On({pvSelect}, "P")(g);
    g.GranteeKind = dboProcedure;
    g.GrantClass = coObjGrant;
  });
  db.PairObjects();
  db.Ctx.CompareObjects = TCmpObjSetType::Empty();
  db.Ctx.CompareObjects.Include(coUserGrant);
  db.RunPhase(47);
  EXPECT_EQ(SqlTexts(db.Exec), (TTexts{"GRANT SELECT ON T TO ANN"}));
}

TEST(RolePhases, RolesLoginsUsersCreatedInGroupsAndDroppedAtTheEnd) {
  TTwoDbs db(srvMSSQL);
  AddRole(db.Master, "ANN", rkUser)->LoginName = "ann_login";
  AddRole(db.Master, "CLERK");
  AddRole(db.Master, "KEPT");
  AddRole(db.Target, "KEPT");
  AddRole(db.Target, "OLD_USER", rkUser);
  AddRole(db.Target, "GUEST", rkUser);
  AddRole(db.Target, "OLD_ROLE");  // roles stay on MS SQL
  db.Target.MSSQLServerOptions->SQLServerVersion = st_MSSQL2012;
  db.PairObjects();
  db.RunPhase(42);
  db.RunPhase(48);
  const TTexts all = StatementTexts(db.Exec);
  EXPECT_EQ(all, (TTexts{"/* Creating roles */", "exec sp_addrole N'CLERK'", "/* Creating users */",
                         "exec sp_addlogin @loginame = N'ann_login'",
                         "exec sp_grantdbaccess @loginame = N'ann_login', @name_in_db = N'ANN'",
                         "", "/* Dropping users */",
                         "exec sp_revokedbaccess @name_in_db = N'OLD_USER'", ""}));
  EXPECT_EQ(db.Exec.GetStatement(1)->ObjType, dboRole);
  EXPECT_EQ(db.Exec.GetStatement(1)->Action, saCreate);
}

TEST(RolePhases, InterBaseDropsVanishedRolesAndDescribesChangedOnes) {
  TTwoDbs db(srvInterBase);
  db.Target.IBServerOptions->IBCompareOptions->UpdateDescriptionMode = udComment;
  AddRole(db.Master, "CLERK")->SetDescription("Clerks");
  AddRole(db.Target, "CLERK");
  AddRole(db.Target, "AUDITOR");
  db.PairObjects();
  db.RunPhase(42);
  db.RunPhase(48);
  EXPECT_EQ(StatementTexts(db.Exec),
            (TTexts{"COMMENT ON ROLE CLERK IS\r\n'Clerks'", "/* Dropping roles */",
                    "DROP ROLE AUDITOR", ""}));
}

}  // namespace
