// Procedures and functions: texts per dialect, stubs, and the phases that
// empty, drop, create and restore them in dependency order.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "kvtBodyKindsFixture.h"

namespace {

using Steps_t = std::vector<std::string>;

// ---------------------------------------------------------------------------
// Texts

struct TRoutineCase {
  const char* Label;
  TServerType Server;
  std::function<TPrcData*(TObjs&)> Make;
  const char* Create;
  const char* Alter;
  const char* Drop;
};

TEST(ProcedureText, CreateAlterDropPerDialect) {
  const std::vector<TRoutineCase> cases = {
      {"firebird selectable procedure", srvInterBase,
       [](TObjs& o) {
         return AddProcedure(o, "P", "BEGIN B = A; SUSPEND; END", {{"A"}}, {{"B"}});
       },
       "CREATE PROCEDURE P(A INTEGER)\r\n RETURNS(B INTEGER)\r\n AS\r\nBEGIN B = A; SUSPEND; END",
       "ALTER PROCEDURE P(A INTEGER)\r\n RETURNS(B INTEGER)\r\n AS\r\nBEGIN B = A; SUSPEND; END",
       "DROP PROCEDURE P"},
      {"firebird function", srvInterBase,
       [](TObjs& o) { return AddProcedure(o, "F", "BEGIN RETURN A; END", {{"A"}}, {{""}}, true); },
       "CREATE FUNCTION F(A INTEGER)\r\n RETURNS INTEGER\r\n AS\r\nBEGIN RETURN A; END",
       "ALTER FUNCTION F(A INTEGER)\r\n RETURNS INTEGER\r\n AS\r\nBEGIN RETURN A; END",
       "DROP FUNCTION F"},
      {"mysql procedure with characteristics", srvMySQL,
       [](TObjs& o) {
         TPrcData* p = AddProcedure(o, "p", "BEGIN SELECT a; END", {{"a", dtInteger, pdIn}});
         p->Characteristics.set(pcReadsSqlData);
         p->SetDescription("it's");
         return p;
       },
       "CREATE PROCEDURE `p`(IN `a` INTEGER)\r\n     COMMENT 'it\\'s'\r\n     READS SQL DATA\r\nBEGIN SELECT a; END",
       "ALTER PROCEDURE `p`(IN `a` INTEGER)\r\n     COMMENT 'it\\'s'\r\n     READS SQL DATA\r\nBEGIN SELECT a; END",
       // Two blanks before IF, as the server accepts.
       "DROP PROCEDURE  IF EXISTS `p`"},
      {"ms sql procedure of a group", srvMSSQL,
       [](TObjs& o) {
         TPrcData* p = AddProcedure(o, "P", "AS SELECT 1", {{"@A"}});
         p->Schema = "dbo";
         p->GroupNumber = 2;
         return p;
       },
       "CREATE PROCEDURE dbo.P;2 @A INTEGER\r\n AS SELECT 1", "ALTER PROCEDURE dbo.P;2 @A INTEGER\r\n AS SELECT 1",
       "DROP PROCEDURE dbo.P"},
      {"sql anywhere function", srvASA,
       [](TObjs& o) { return AddProcedure(o, "f", "BEGIN RETURN a; END", {{"a", dtInteger, pdIn}}, {{""}}, true); },
       // The return type ends the clause; the body needs its own line.
       "CREATE FUNCTION DBA.f(In a INTEGER)\r\nRETURNS INTEGER\r\nBEGIN RETURN a; END",
       "ALTER FUNCTION DBA.f(In a INTEGER)\r\nRETURNS INTEGER\r\nBEGIN RETURN a; END",
       "DROP FUNCTION DBA.f"},
      {"oracle function", srvOracle,
       [](TObjs& o) {
         return AddProcedure(o, "F", "(A NUMBER) RETURN NUMBER IS BEGIN RETURN A; END;", {{"A"}}, {{""}}, true);
       },
       "CREATE OR REPLACE FUNCTION F\r\n(A NUMBER) RETURN NUMBER IS BEGIN RETURN A; END;",
       "CREATE OR REPLACE FUNCTION F\r\n(A NUMBER) RETURN NUMBER IS BEGIN RETURN A; END;", "DROP FUNCTION F"},
  };
  for (const TRoutineCase& c : cases) {
    TObjs objs;
    objs.SetServerType(c.Server);
    TPrcData* p = c.Make(objs);
    EXPECT_EQ(p->GetCreateSQL(), c.Create) << c.Label;
    EXPECT_EQ(p->GetAlterSQL(), c.Alter) << c.Label;
    EXPECT_EQ(p->GetDropSQL(), c.Drop) << c.Label;
  }
}

TEST(ProcedureText, KeysSeparateGroupsAndOverloads) {
  TObjs ms;
  ms.SetServerType(srvMSSQL);
  TPrcData* grouped = AddProcedure(ms, "P", "AS SELECT 1");
  grouped->Schema = "dbo";
  grouped->GroupNumber = 2;
  EXPECT_EQ(grouped->GetListKey(), "dbo.P;2");
  EXPECT_EQ(grouped->GetDisplayName(), "dbo.P;2");

  TObjs pg;
  pg.SetServerType(srvPostgreSQL);
  TPrcData* byInt = AddProcedure(pg, "f", "select 1", {{"a", dtInteger}}, {{"", dtInteger}}, true);
  TPrcData* byText = AddProcedure(pg, "f", "select 2", {{"a", dtText}}, {{"", dtInteger}}, true);
  EXPECT_NE(byInt->GetListKey(), byText->GetListKey());
  EXPECT_EQ(pg.PrcList.Count(), 2);
  EXPECT_EQ(byInt->GetDropSQL(), "DROP FUNCTION f(a integer)");
}

// ---------------------------------------------------------------------------
// Stubs

struct TStubCase {
  const char* Label;
  TServerType Server;
  std::function<TPrcData*(TObjs&)> Make;
  const char* Body;
  const char* Create;
};

TEST(ProcedureStub, KeepsParametersAndResultsPerDialect) {
  auto procedure = [](std::vector<TParamSpec> params, std::vector<TParamSpec> results) {
    return [params, results](TObjs& o) { return AddProcedure(o, "P", "BEGIN END", params, results); };
  };
  auto function = [](uint8_t resultType) {
    return [resultType](TObjs& o) { return AddProcedure(o, "F", "BEGIN END", {{"A"}}, {{"", resultType}}, true); };
  };
  const std::vector<TStubCase> cases = {
      {"firebird selectable procedure", srvInterBase, procedure({{"A"}}, {{"B"}}), " BEGIN SUSPEND; END",
       "CREATE PROCEDURE P(A INTEGER)\r\n RETURNS(B INTEGER)\r\n AS\r\n BEGIN SUSPEND; END"},
      {"firebird procedure", srvInterBase, procedure({}, {}), " BEGIN EXIT; END",
       "CREATE PROCEDURE P AS\r\n BEGIN EXIT; END"},
      {"firebird function", srvInterBase, function(dtInteger), " BEGIN RETURN NULL; END",
       "CREATE FUNCTION F(A INTEGER)\r\n RETURNS INTEGER\r\n AS\r\n BEGIN RETURN NULL; END"},
      {"mysql procedure", srvMySQL, procedure({{"a"}}, {}), " BEGIN END",
       "CREATE PROCEDURE P(`a` INTEGER)\r\n BEGIN END"},
      // A MySQL function must return something, and has no AS.
      {"mysql function", srvMySQL, function(dtInteger), " BEGIN RETURN NULL; END",
       "CREATE FUNCTION F(A INTEGER)\r\nRETURNS INTEGER\r\n BEGIN RETURN NULL; END"},
      {"ms sql procedure", srvMSSQL, procedure({{"@A"}}, {}), "begin Return 0 end",
       "CREATE PROCEDURE P @A INTEGER\r\n AS\r\nbegin Return 0 end"},
      {"ms sql uniqueidentifier function", srvMSSQL, function(dtUniqueIdentifier), "begin Return Null end",
       "CREATE FUNCTION F (A INTEGER)\r\n RETURNS UNIQUEIDENTIFIER\r\nas\r\nbegin Return Null end"},
      {"ms sql table variable function", srvMSSQL, function(dtTable), "begin Return end",
       "CREATE FUNCTION F (A INTEGER)\r\n RETURNS TABLE\r\nas\r\nbegin Return end"},
      {"ms sql inline table function", srvMSSQL,
       [](TObjs& o) {
         TPrcData* f = AddProcedure(o, "F", "AS RETURN SELECT 1 AS X", {}, {}, true);
         f->ReturnsTable = true;
         return f;
       },
       "Return (select 0 as Result)", "CREATE FUNCTION F ()\r\n RETURNS TABLE\r\nas\r\nReturn (select 0 as Result)"},
      {"sql anywhere procedure", srvASA, procedure({{"a", dtInteger, pdIn}}, {}), " begin Return end",
       "CREATE PROCEDURE DBA.P(In a INTEGER)\r\n begin Return end"},
      {"sql anywhere function", srvASA, function(dtInteger), " begin Return end",
       "CREATE FUNCTION DBA.F(A INTEGER)\r\nRETURNS INTEGER\r\n begin Return end"},
      {"oracle procedure with results", srvOracle, procedure({}, {{"B"}}), " BEGIN SUSPEND; END;",
       "CREATE OR REPLACE PROCEDURE P RETURNS(B INTEGER)\r\n AS\r\n BEGIN SUSPEND; END;"},
      {"oracle procedure", srvOracle, procedure({}, {}), " BEGIN EXIT; END;",
       "CREATE OR REPLACE PROCEDURE P AS\r\n BEGIN EXIT; END;"},
  };
  for (const TStubCase& c : cases) {
    TObjs objs;
    objs.SetServerType(c.Server);
    TPrcData* p = c.Make(objs);
    EXPECT_EQ(p->GetStubBody(), c.Body) << c.Label;
    EXPECT_EQ(p->GetStubCreateSQL(), c.Create) << c.Label;
  }
}

TEST(ProcedureStub, AlterTextsEmptyTheBodyInPlace) {
  TObjs ib;
  ib.SetServerType(srvInterBase);
  TPrcData* p = AddProcedure(ib, "P", "BEGIN B = A; SUSPEND; END", {{"A"}}, {{"B"}});
  EXPECT_EQ(p->GetStubAlterSQL(), "ALTER PROCEDURE P(A INTEGER)\r\n RETURNS(B INTEGER)\r\n AS\r\n BEGIN SUSPEND; END");
  // Oracle has no ALTER for a body: the stub replaces it.
  TObjs ora;
  ora.SetServerType(srvOracle);
  TPrcData* q = AddProcedure(ora, "Q", "IS BEGIN NULL; END;");
  EXPECT_EQ(q->GetStubAlterSQL(), q->GetStubCreateSQL());
}

// ---------------------------------------------------------------------------
// Phases

struct ProcedurePhases : ::testing::Test {
  TTwoDbs Db{srvInterBase};
};

TEST_F(ProcedurePhases, NewProcedureIsCreatedAsStubAndRestoredOnce) {
  TPrcData* m = AddProcedure(Db.Master, "P", "BEGIN B = A; SUSPEND; END", {{"A"}}, {{"B"}});
  Prepare(Db);
  RunBodyPhases(Db);
  EXPECT_EQ(Steps(Db.Exec), (Steps_t{"stub P", "restore P"}));
  EXPECT_EQ(StatementText(Db.Exec, saRestoreBody, "P"), m->GetAlterSQL() + "\r\n");
  const std::string script = Db.Script();
  EXPECT_NE(script.find("/* Create Procedure... */"), std::string::npos) << script;
  EXPECT_NE(script.find("/* Restore proc. body: P */"), std::string::npos) << script;
  EXPECT_FALSE(m->NeedsRestore);
}

TEST_F(ProcedurePhases, MySQLRestoresByDropAndCreate) {
  TTwoDbs db(srvMySQL);
  AddProcedure(db.Master, "p", "BEGIN SELECT 1; END");
  Prepare(db);
  RunBodyPhases(db);
  // The stub is named as the script qualifies it.
  EXPECT_EQ(Steps(db.Exec), (Steps_t{"stub `p`", "drop p", "restore p"}));
}

TEST_F(ProcedurePhases, CallerIsEmptiedBeforeItsCalleeGetsNewParameters) {
  // Q gains a parameter; P, which calls it, is emptied before Q changes and
  // written again after it.
  AddProcedure(Db.Master, "Q", "BEGIN INSERT INTO LOG VALUES (:A, :B); END", {{"A"}, {"B"}});
  TPrcData* mp = AddProcedure(Db.Master, "P", "BEGIN EXECUTE PROCEDURE Q(1, 2); END");
  Uses(mp, Db.Master.FindProcedure("Q"));
  TPrcData* tq = AddProcedure(Db.Target, "Q", "BEGIN INSERT INTO LOG VALUES (:A); END", {{"A"}});
  TPrcData* tp = AddProcedure(Db.Target, "P", "BEGIN EXECUTE PROCEDURE Q(1); END");
  Uses(tp, tq);
  Prepare(Db);
  RunBodyPhases(Db);
  // P emptied; Q gets its new parameters (first with the stub body, as it
  // has callers), then its body; P is written last.
  EXPECT_EQ(Steps(Db.Exec), (Steps_t{"empty P", "empty Q", "alter Q", "alter P"}));
  EXPECT_EQ(StatementText(Db.Exec, saEmptyBody, "P"), "ALTER PROCEDURE P AS\r\nBEGIN EXIT; END\r\n");
  EXPECT_EQ(StatementText(Db.Exec, saAlter, "P"), mp->GetAlterSQL() + "\r\n");
  EXPECT_FALSE(mp->NeedsRestore);
  const std::string script = Db.Script();
  EXPECT_EQ(script.find("/*  Empty P for Q(param list change)  */"), 0u) << script;
  // The emptied caller names the procedure whose change forced it.
  for (const auto& st : Db.Exec.Statements) {
    if (st->Kind != skComment && st->ObjName == "P" && st->Action == saEmptyBody) {
      EXPECT_EQ(st->CauseName, "Q");
    }
  }
}

TEST_F(ProcedurePhases, MSSQLTableFunctionIsCreatedWithItsBody) {
  TTwoDbs ms(srvMSSQL);
  TPrcData* f = AddProcedure(ms.Master, "F", "AS RETURN SELECT 1 AS X", {}, {}, true);
  f->ReturnsTable = true;
  Prepare(ms);
  RunBodyPhases(ms);
  EXPECT_EQ(Steps(ms.Exec), (Steps_t{"create F"}));
  EXPECT_EQ(StatementText(ms.Exec, saCreate, "F"), f->GetCreateSQL() + "\r\n");
  EXPECT_EQ(ms.Script().find("/* Create Procedure (returns table)... */"), 0u);
}

TEST_F(ProcedurePhases, CallersOfAChangedBodyAreEmptiedAndRestored) {
  AddProcedure(Db.Master, "Q", "BEGIN B = 2; END", {}, {{"B"}});
  TPrcData* mp = AddProcedure(Db.Master, "P", "BEGIN EXECUTE PROCEDURE Q RETURNING_VALUES :X; END");
  Uses(mp, Db.Master.FindProcedure("Q"));
  TPrcData* tq = AddProcedure(Db.Target, "Q", "BEGIN B = 1; END", {}, {{"B"}});
  Uses(AddProcedure(Db.Target, "P", "BEGIN EXECUTE PROCEDURE Q RETURNING_VALUES :X; END"), tq);
  Prepare(Db);
  RunBodyPhases(Db);
  EXPECT_EQ(Steps(Db.Exec), (Steps_t{"empty P", "alter Q", "restore P"}));
}

TEST_F(ProcedurePhases, CycleThroughStubs) {
  TPrcData* p = AddProcedure(Db.Master, "P", "BEGIN EXECUTE PROCEDURE Q; END");
  TPrcData* q = AddProcedure(Db.Master, "Q", "BEGIN EXECUTE PROCEDURE P; END");
  Uses(p, q);
  Uses(q, p);
  Prepare(Db);
  RunBodyPhases(Db);
  EXPECT_EQ(Steps(Db.Exec), (Steps_t{"stub P", "stub Q", "restore P", "restore Q"}));
}

TEST_F(ProcedurePhases, VanishedProceduresAreEmptiedThenDropped) {
  TTblData* t = AddTable(Db.Target, "T", {{"A"}});
  AddTable(Db.Master, "T", {{"A"}});
  TPrcData* p1 = AddProcedure(Db.Target, "P1", "BEGIN EXECUTE PROCEDURE P2; END");
  TPrcData* p2 = AddProcedure(Db.Target, "P2", "BEGIN DELETE FROM T; END");
  Uses(p1, p2);
  Uses(p2, t);
  Prepare(Db);
  RunBodyPhases(Db);
  EXPECT_EQ(Steps(Db.Exec), (Steps_t{"empty P1", "empty P2", "drop P1", "drop P2"}));
  const std::string script = Db.Script();
  EXPECT_EQ(script.find("/* Alter Procedure (Before Drop)... */"), 0u) << script;

  // ASE drops them as they are.
  TTwoDbs ase(srvASE);
  AddTable(ase.Target, "T", {{"A"}});
  Uses(AddProcedure(ase.Target, "P", "AS DELETE FROM T"), ase.Target.FindTable("T"));
  Prepare(ase);
  RunBodyPhases(ase);
  EXPECT_EQ(Steps(ase.Exec), (Steps_t{"drop P"}));
}

TEST_F(ProcedurePhases, LayoutAndCommentsAreNoChangeButLiteralsAre) {
  AddProcedure(Db.Master, "P", "BEGIN\r\n  X = 'a  b'; -- note\r\nEND");
  AddProcedure(Db.Target, "P", "BEGIN X='a  b'; /* other note */ END");
  AddProcedure(Db.Master, "Q", "BEGIN X = 'a  b'; END");
  AddProcedure(Db.Target, "Q", "BEGIN X = 'a b'; END");
  Prepare(Db);
  RunBodyPhases(Db);
  EXPECT_EQ(Steps(Db.Exec), (Steps_t{"alter Q"}));
}

TEST_F(ProcedurePhases, DialectsWithoutBodyAlterationDropAndCreateOnce) {
  // MySQL has no ALTER for a body; a procedure that became a function is
  // dropped and created on every server.
  TTwoDbs my(srvMySQL);
  AddProcedure(my.Master, "p", "BEGIN SELECT 2; END");
  AddProcedure(my.Target, "p", "BEGIN SELECT 1; END");
  Prepare(my);
  RunBodyPhases(my);
  EXPECT_EQ(Steps(my.Exec), (Steps_t{"drop p", "create p"}));

  AddProcedure(Db.Master, "F", "BEGIN RETURN 1; END", {}, {{""}}, true);
  AddProcedure(Db.Target, "F", "BEGIN EXIT; END");
  Prepare(Db);
  RunBodyPhases(Db);
  EXPECT_EQ(Steps(Db.Exec), (Steps_t{"drop F", "create F"}));
  EXPECT_EQ(StatementText(Db.Exec, saDrop, "F"), "DROP PROCEDURE F\r\n");
}

TEST_F(ProcedurePhases, DescriptionsFollowTheStatementsThatDefineParameters) {
  Db.Master.CompareObjects.Include(coDescription);
  TPrcData* m = AddProcedure(Db.Master, "P", "BEGIN SUSPEND; END", {{"A"}}, {{"B"}});
  m->Params[0]->SetDescription("input");
  AddProcedure(Db.Target, "P", "BEGIN EXIT; END", {{"A"}}, {{"B"}});
  Prepare(Db);
  RunBodyPhases(Db);
  // Firebird writes parameters afresh on ALTER, so their descriptions follow
  // it; the second run of the phase has nothing left to write.
  EXPECT_EQ(Steps(Db.Exec), (Steps_t{"alter P", "describe P.A"}));
}

}  // namespace
