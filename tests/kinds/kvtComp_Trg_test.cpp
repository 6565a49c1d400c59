// Triggers: headers per dialect, stubs, and the phases that empty, drop,
// create and alter them.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "kvtBodyKindsFixture.h"

namespace {

using Steps_t = std::vector<std::string>;

// ---------------------------------------------------------------------------
// Texts

struct TTriggerCase {
  const char* Label;
  TServerType Server;
  std::function<void(TTrgData&)> Setup;
  const char* Create;
  const char* Drop;
};

TEST(TriggerText, HeaderAndDropPerDialect) {
  auto types = [](int32_t code) { return [code](TTrgData& t) { t.TypeCode = code; }; };
  const std::vector<TTriggerCase> cases = {
      {"firebird before insert", srvInterBase, types(1),
       "CREATE TRIGGER TR FOR T\r\nACTIVE BEFORE INSERT POSITION 0 \r\nAS BEGIN END", "DROP TRIGGER TR"},
      {"firebird type 113", srvInterBase, types(113),
       "CREATE TRIGGER TR FOR T\r\nACTIVE BEFORE INSERT OR UPDATE OR DELETE POSITION 0 \r\nAS BEGIN END",
       "DROP TRIGGER TR"},
      {"firebird type 114, inactive, position 5", srvInterBase,
       [](TTrgData& t) {
         t.TypeCode = 114;
         t.Active = false;
         t.Position = 5;
       },
       "CREATE TRIGGER TR FOR T\r\nINACTIVE AFTER INSERT OR UPDATE OR DELETE POSITION 5 \r\nAS BEGIN END",
       "DROP TRIGGER TR"},
      {"firebird database trigger", srvInterBase,
       [](TTrgData& t) {
         t.SetTableName("DATABASE");
         t.DatabaseEvent = "CONNECT";
       },
       "CREATE TRIGGER TR\r\nACTIVE ON CONNECT\r\n POSITION 0 \r\nAS BEGIN END", "DROP TRIGGER TR"},
      {"mysql writes the last event", srvMySQL, [](TTrgData& t) { t.Events = teInsert | teUpdate; },
       "CREATE TRIGGER TR BEFORE UPDATE ON T FOR EACH ROW\r\nAS BEGIN END", "DROP TRIGGER TR"},
      {"mysql delete comes last", srvMySQL,
       [](TTrgData& t) {
         t.Events = teInsert | teDelete | teUpdate;
         t.TriggerTime = ttAfter;
       },
       "CREATE TRIGGER TR AFTER DELETE ON T FOR EACH ROW\r\nAS BEGIN END", "DROP TRIGGER TR"},
      {"ms sql table trigger", srvMSSQL,
       [](TTrgData& t) {
         t.Schema = "dbo";
         t.TriggerTime = ttAfter;
         t.Events = teInsert | teUpdate;
       },
       "CREATE TRIGGER dbo.TR ON dbo.T\r\n AFTER INSERT, UPDATE\r\n AS\r\nAS BEGIN END", "DROP TRIGGER dbo.TR"},
      {"ms sql database trigger", srvMSSQL,
       [](TTrgData& t) {
         t.SetTableName("DATABASE");
         t.TriggerTime = ttFor;
         t.DatabaseEvent = "DROP_TABLE";
       },
       "CREATE TRIGGER TR ON DATABASE\r\n FOR DROP_TABLE\r\n AS\r\nAS BEGIN END", "DROP TRIGGER TR ON DATABASE"},
      {"oracle update of columns", srvOracle,
       [](TTrgData& t) {
         t.Events = teInsert | teUpdate;
         t.UpdateColumns.Add("A", nullptr);
         t.UpdateColumns.Add("B", nullptr);
         t.ForEachRow = true;
       },
       "CREATE OR REPLACE TRIGGER TR\r\n  BEFORE INSERT OR UPDATE  OF A, B ON T\r\n  FOR EACH ROW\r\nAS BEGIN END",
       "DROP TRIGGER TR"},
      {"postgresql", srvPostgreSQL,
       [](TTrgData& t) {
         t.SetName("tr");
         t.SetTableName("t");
         t.Schema = "public";
         t.TriggerTime = ttAfter;
         t.Events = teInsert | teDelete;
         t.ForEachRow = true;
       },
       "CREATE TRIGGER tr\r\n  AFTER INSERT OR DELETE\r\n  ON public.t\r\n  FOR EACH ROW\r\nAS BEGIN END",
       "DROP TRIGGER tr ON public.t"},
  };
  for (const TTriggerCase& c : cases) {
    TObjs objs;
    objs.SetServerType(c.Server);
    AddTable(objs, "T", {{"A"}});
    TTrgData* t = AddTrigger(objs, "TR", "T", "AS BEGIN END");
    c.Setup(*t);
    EXPECT_EQ(t->GetCreateSQL(), c.Create) << c.Label;
    EXPECT_EQ(t->GetDropSQL(), c.Drop) << c.Label;
  }
}

TEST(TriggerText, StubsKeepTheHeader) {
  struct TCase {
    TServerType Server;
    const char* Stub;
  };
  for (const TCase& c : {TCase{srvInterBase, " AS Declare variable I integer;\r\nBEGIN I = 0; END"},
                         TCase{srvMySQL, " BEGIN END"},
                         TCase{srvMSSQL, " declare @i integer;\r\nbegin set @i = 0; end"}}) {
    TObjs objs;
    objs.SetServerType(c.Server);
    AddTable(objs, "T", {{"A"}});
    TTrgData* t = AddTrigger(objs, "TR", "T", "AS BEGIN NEW.A = 1; END");
    EXPECT_EQ(t->GetStubBody(), c.Stub);
    const std::string create = t->GetCreateSQL();
    const std::string header = create.substr(0, create.size() - t->Body.size());
    EXPECT_EQ(t->GetStubCreateSQL(), header + c.Stub);
    EXPECT_EQ(t->Body, "AS BEGIN NEW.A = 1; END");  // the body is put back
  }
  TObjs ib;
  ib.SetServerType(srvInterBase);
  AddTable(ib, "T", {{"A"}});
  TTrgData* t = AddTrigger(ib, "TR", "T", "AS BEGIN END");
  EXPECT_EQ(t->GetAlterSQL(), "ALTER TRIGGER TR\r\nAS BEGIN END");
}

// ---------------------------------------------------------------------------
// Phases

struct TriggerPhases : ::testing::Test {
  TTwoDbs Db{srvInterBase};
  TTrgData* Master = nullptr;
  TTrgData* Target = nullptr;

  void AddPair(const std::string& masterBody, const std::string& targetBody) {
    AddTable(Db.Master, "T", {{"A"}});
    AddTable(Db.Master, "T2", {{"A"}});
    AddTable(Db.Target, "T", {{"A"}});
    AddTable(Db.Target, "T2", {{"A"}});
    Master = AddTrigger(Db.Master, "TR", "T", masterBody);
    Target = AddTrigger(Db.Target, "TR", "T", targetBody);
  }
};

TEST_F(TriggerPhases, BodyIsAlteredAndHeaderChangesDropAndCreate) {
  struct TCase {
    const char* Label;
    std::function<void(TTrgData&)> Change;
    Steps_t Expected;
  };
  const std::vector<TCase> cases = {
      {"body", [](TTrgData& t) { t.SetBody("AS BEGIN NEW.A = 2; END"); }, {"alter TR"}},
      {"active", [](TTrgData& t) { t.Active = false; }, {"drop TR", "create TR"}},
      {"position", [](TTrgData& t) { t.Position = 3; }, {"drop TR", "create TR"}},
      {"table", [](TTrgData& t) { t.SetTableName("T2"); }, {"drop TR", "create TR"}},
      {"layout only", [](TTrgData& t) { t.SetBody("AS\r\nBEGIN\r\n  NEW.A = 1; /* set */\r\nEND"); }, {}},
  };
  for (const TCase& c : cases) {
    TTwoDbs db(srvInterBase);
    AddTable(db.Master, "T", {{"A"}});
    AddTable(db.Master, "T2", {{"A"}});
    AddTable(db.Target, "T", {{"A"}});
    TTrgData* m = AddTrigger(db.Master, "TR", "T", "AS BEGIN NEW.A = 1; END");
    AddTrigger(db.Target, "TR", "T", "AS BEGIN NEW.A = 1; END");
    c.Change(*m);
    Prepare(db);
    RunBodyPhases(db);
    EXPECT_EQ(Steps(db.Exec), c.Expected) << c.Label;
  }
}

TEST_F(TriggerPhases, MySQLReplacesAChangedTriggerAndLeavesOthersAlone) {
  TTwoDbs my(srvMySQL);
  TTblData* t = AddTable(my.Target, "account", {{"balance"}});
  AddTable(my.Master, "account", {{"balance", dtBigInt}});
  AddTrigger(my.Master, "account_bu", "account", "SET NEW.balance = OLD.balance");
  Uses(AddTrigger(my.Target, "account_bu", "account", "SET NEW.balance = OLD.balance"),
       t->FindField("balance"));
  AddTrigger(my.Master, "account_bi", "account", "SET NEW.balance = 1");
  AddTrigger(my.Target, "account_bi", "account", "SET NEW.balance = 0");
  Prepare(my);
  // The column under a trigger changes: MySQL binds trigger bodies when they
  // fire, so the trigger stays (and keeps its place in the firing order).
  RetypeColumn(my, t, "balance", "BIGINT");
  RunBodyPhases(my);
  EXPECT_EQ(Steps(my.Exec), (Steps_t{"alter account.balance", "drop account_bi", "create account_bi"}));
}

TEST_F(TriggerPhases, TriggerCallingADroppedProcedureIsEmptiedThenRestored) {
  AddPair("AS BEGIN NEW.A = 1; END", "AS BEGIN EXECUTE PROCEDURE P; END");
  Uses(Target, AddProcedure(Db.Target, "P", "BEGIN EXIT; END"));
  Prepare(Db);
  RunBodyPhases(Db);
  EXPECT_EQ(Steps(Db.Exec), (Steps_t{"empty TR", "drop P", "alter TR"}));
  EXPECT_EQ(StatementText(Db.Exec, saEmptyBody, "TR"),
            "ALTER TRIGGER TR\r\nAS Declare variable I integer;\r\nBEGIN I = 0; END\r\n");
  EXPECT_EQ(StatementText(Db.Exec, saAlter, "TR"), "ALTER TRIGGER TR\r\nAS BEGIN NEW.A = 1; END\r\n");
}

TEST_F(TriggerPhases, VanishedTriggerOfAVanishedViewIsEmptiedFirst) {
  AddTable(Db.Target, "T", {{"A"}});
  AddTable(Db.Master, "T", {{"A"}});
  Uses(AddView(Db.Target, "V", "SELECT A FROM T"), Db.Target.FindTable("T"));
  AddTrigger(Db.Target, "TR", "V", "AS BEGIN INSERT INTO T VALUES (NEW.A); END");
  Prepare(Db);
  RunBodyPhases(Db);
  EXPECT_EQ(Steps(Db.Exec), (Steps_t{"empty-before-drop TR", "drop TR", "drop V"}));
  EXPECT_EQ(Db.Script().find("/* Empty trigger body before drop... */"), 0u) << Db.Script();
}

TEST_F(TriggerPhases, NewTriggerIsCreatedWithItsDescription) {
  AddTable(Db.Master, "T", {{"A"}});
  AddTable(Db.Target, "T", {{"A"}});
  AddTrigger(Db.Master, "TR", "T", "AS BEGIN END")->SetDescription("sets A");
  Prepare(Db);
  RunBodyPhases(Db);
  EXPECT_EQ(Steps(Db.Exec), (Steps_t{"create TR", "describe TR"}));
  EXPECT_EQ(Db.Script().find("/* Create trigger... */"), 0u);
}

TEST_F(TriggerPhases, TriggerDroppedWithItsTableComesBack) {
  AddPair("AS BEGIN END", "AS BEGIN END");
  Prepare(Db);
  Target->DropDependDef();  // as a table that is created again takes its triggers
  RunBodyPhases(Db);
  EXPECT_EQ(Steps(Db.Exec), (Steps_t{"drop TR", "create TR"}));
}

}  // namespace
