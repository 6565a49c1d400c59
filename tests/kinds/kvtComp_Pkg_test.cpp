// Packages: header and body texts by server version, and the package phases.
#include <gtest/gtest.h>

#include "kinds/kvtComp_Pkg.h"
#include "kinds/kvtComp_Prc.h"
#include "kinds/kvtComp_Trg.h"
#include "kvtStatementsFixture.h"

namespace {

const char* const kHeader = "BEGIN\r\n  FUNCTION RATE (CUR CHAR(3)) RETURNS NUMERIC(18, 4);\r\nEND";
const char* const kBody =
    "BEGIN\r\n  FUNCTION RATE (CUR CHAR(3)) RETURNS NUMERIC(18, 4) AS\r\n  BEGIN\r\n"
    "    RETURN 1;\r\n  END\r\nEND";

TPkgData* AddPackage(TObjs& objs, const std::string& name, const std::string& header,
                     const std::string& body) {
  return AddNamed<TPkgData>(objs, name, [&](TPkgData& p) {
    p.Header = header;
    p.SetBody(body);
  });
}

TEST(PackageText, HeaderAndBodyByServerVersion) {
  TObjs objs;
  objs.SetServerType(srvInterBase);
  objs.IBServerOptions->SQLServerVersion = st_Firebird_30;
  TPkgData* p = AddPackage(objs, "FX", kHeader, "");
  EXPECT_EQ(p->GetCreateSQL(), std::string("CREATE OR ALTER PACKAGE FX\r\n    AS\r\n") + kHeader);
  p->SetBody(kBody);
  EXPECT_EQ(p->GetCreateSQL(), std::string("CREATE OR ALTER PACKAGE FX\r\n    AS\r\n") + kHeader +
                                   "\r\n^\r\n\r\nRECREATE PACKAGE BODY FX\r\n    AS\r\n" + kBody);
  EXPECT_EQ(p->GetDropSQL(), "DROP PACKAGE FX");
  // Firebird 4.0 has no CREATE OR REPLACE either.
  objs.IBServerOptions->SQLServerVersion = st_Firebird_40;
  EXPECT_EQ(p->GetBodySQL(), std::string("RECREATE PACKAGE BODY FX\r\n    AS\r\n") + kBody);
  objs.IBServerOptions->SQLServerVersion = st_Firebird_25;
  EXPECT_EQ(p->GetHeaderSQL(), std::string("CREATE OR REPLACE PACKAGE FX\r\n") + kHeader);

  // Oracle containers keep the default version: the Oracle forms.
  TObjs ora;
  ora.SetServerType(srvOracle);
  TPkgData* o = AddPackage(ora, "PK", "AS\r\n  x NUMBER;\r\nEND PK;", "AS\r\nEND PK;");
  EXPECT_EQ(o->GetCreateSQL(),
            "CREATE OR REPLACE PACKAGE PK\r\nAS\r\n  x NUMBER;\r\nEND PK;\r\n/\r\n\r\n"
            "CREATE OR REPLACE PACKAGE BODY PK\r\nAS\r\nEND PK;");
}

struct TPackageDbs : TTwoDbs {
  TPackageDbs() : TTwoDbs(srvInterBase) {
    Target.IBServerOptions->SQLServerVersion = st_Firebird_30;
  }
  // The package statements: kind, action and first line.
  TTexts Packages() {
    TTexts out;
    for (const auto& st : Exec.Statements)
      if (st->ObjType == dboPackage)
        out.push_back(std::string(StatementKindNames[st->Kind]) + " " +
                      std::to_string(st->Action) + " " + st->Lines.front());
    return out;
  }
};

TEST(PackagePhases, NewPackageHeaderBeforeProceduresBodyAfterThem) {
  TPackageDbs db;
  AddPackage(db.Master, "FX", kHeader, kBody);
  AddPackage(db.Master, "NO_BODY", kHeader, "");
  db.PairObjects();
  db.RunPhase(30);
  EXPECT_EQ(db.Packages(), (TTexts{"Package 1 CREATE OR ALTER PACKAGE FX",
                                   "Package 1 CREATE OR ALTER PACKAGE NO_BODY"}));
  db.RunPhase(39);
  EXPECT_EQ(db.Packages().back(), "Package 1 RECREATE PACKAGE BODY FX");
  EXPECT_EQ(db.Packages().size(), 3u);
}

TEST(PackagePhases, ChangedBodyAloneIsRecreatedLate) {
  TPackageDbs db;
  AddPackage(db.Master, "FX", kHeader, kBody);
  AddPackage(db.Target, "FX", kHeader, "BEGIN END");
  AddPackage(db.Master, "SAME", kHeader, kBody);
  AddPackage(db.Target, "SAME", kHeader, kBody);
  db.PairObjects();
  db.RunPhase(30);
  EXPECT_EQ(db.Exec.Count(), 0);
  db.RunPhase(39);
  EXPECT_EQ(db.Packages(), (TTexts{"Package 1 RECREATE PACKAGE BODY FX"}));
}

TEST(PackagePhases, ChangedHeaderEmptiesItsUsersFirst) {
  TPackageDbs db;
  AddPackage(db.Master, "FX", std::string(kHeader) + " ", kBody);
  TPkgData* t = AddPackage(db.Target, "FX", kHeader, kBody);
  TPrcData* p = AddNamed<TPrcData>(db.Target, "P_USE");
  p->SetBody("BEGIN X = FX.RATE('EUR'); END");
  AddDependency(&db.Target, p, t, "", 0, 0);
  AddNamed<TPrcData>(db.Master, "P_USE")->SetBody("BEGIN X = FX.RATE('EUR'); END");
  TTrgData* trg = AddNamed<TTrgData>(db.Target, "T_USE");
  trg->SetBody("AS BEGIN NEW.X = FX.RATE('EUR'); END");
  AddDependency(&db.Target, trg, t, "", 0, 0);
  db.PairObjects();
  db.RunPhase(30);
  ASSERT_EQ(db.Exec.Count(), 5);
  EXPECT_EQ(db.Exec.GetStatement(0)->Lines.front(), "/* Alter package... */");
  EXPECT_EQ(db.Exec.GetStatement(1)->ObjName, "P_USE");
  EXPECT_EQ(db.Exec.GetStatement(1)->Action, saEmptyBody);
  EXPECT_EQ(db.Exec.GetStatement(1)->CauseName, "FX");
  EXPECT_EQ(db.Exec.GetStatement(2)->ObjName, "T_USE");
  EXPECT_EQ(db.Exec.GetStatement(2)->Action, saEmptyBody);
  EXPECT_EQ(db.Exec.GetStatement(3)->ObjType, dboPackage);
  EXPECT_EQ(db.Packages(), (TTexts{"Package 2 CREATE OR ALTER PACKAGE FX"}));
  EXPECT_TRUE(db.Master.FindProcedure("P_USE")->NeedsRestore);
  // The new header left the body invalid: it is written again.
  db.RunPhase(39);
  EXPECT_EQ(db.Packages().back(), "Package 1 RECREATE PACKAGE BODY FX");
}

TEST(PackagePhases, NewHeaderWithoutBodyRemovesTheOldBody) {
  TPackageDbs db;
  AddPackage(db.Master, "FX", std::string(kHeader) + " ", "");
  AddPackage(db.Target, "FX", kHeader, kBody);
  db.PairObjects();
  db.RunPhase(30);
  db.RunPhase(39);
  EXPECT_EQ(db.Packages(), (TTexts{"Package 2 CREATE OR ALTER PACKAGE FX",
                                   "Statement 3 DROP PACKAGE BODY FX"}));
}

TEST(PackagePhases, VanishedPackageGoesAfterItsUsersAreEmptied) {
  TPackageDbs db;
  TPkgData* t = AddPackage(db.Target, "OLD", kHeader, kBody);
  TPrcData* p = AddNamed<TPrcData>(db.Target, "P_USE");
  p->SetBody("BEGIN X = OLD.RATE('EUR'); END");
  AddDependency(&db.Target, p, t, "", 0, 0);
  db.PairObjects();
  db.RunPhase(30);
  ASSERT_EQ(db.Exec.Count(), 4);
  EXPECT_EQ(db.Exec.GetStatement(1)->Action, saEmptyBody);
  EXPECT_EQ(StatementTexts(db.Exec)[2], "DROP PACKAGE OLD");
  EXPECT_EQ(db.Exec.GetStatement(2)->Action, saDrop);
}

TEST(PackagePhases, ARoutineThatNeedsANewPackageCreatesItsHeaderFirst) {
  TPackageDbs db;
  TPkgData* pkg = AddPackage(db.Master, "FX", kHeader, kBody);
  TPrcData* p = AddNamed<TPrcData>(db.Master, "P_USE");
  AddDependency(&db.Master, p, pkg, "", 0, 0);
  db.PairObjects();
  p->CreateDependDef();
  ASSERT_GE(db.Exec.Count(), 1);
  EXPECT_EQ(db.Exec.GetStatement(0)->ObjName, "FX");  // ahead of the routine
  const int count = db.Exec.Count();
  db.RunPhase(30);  // nothing left to create
  EXPECT_EQ(db.Exec.Count(), count);
  db.RunPhase(39);
  EXPECT_EQ(db.Packages().back(), "Package 1 RECREATE PACKAGE BODY FX");
}

TEST(PackagePhases, OnlyForInterBaseAndOracleTargets) {
  TTwoDbs db(srvMySQL);
  AddPackage(db.Master, "FX", kHeader, kBody);
  db.PairObjects();
  db.RunPhase(30);
  db.RunPhase(39);
  EXPECT_EQ(db.Exec.Count(), 0);
}

}  // namespace
