// Exceptions and events: texts and phases.
#include <gtest/gtest.h>

#include "kinds/kvtComp_Exc.h"
#include "kinds/kvtComp_Prc.h"
#include "kvtStatementsFixture.h"

namespace {

TExcData* AddException(TObjs& objs, const std::string& name, const std::string& message) {
  return AddNamed<TExcData>(objs, name, [&](TExcData& e) { e.Message = message; });
}

TEST(ExceptionText, MessageIsAQuotedStringWithQuotesDoubled) {
  TObjs objs;
  objs.SetServerType(srvInterBase);
  TExcData* e = AddException(objs, "E_STOCK", "Can't ship");
  EXPECT_EQ(e->GetCreateSQL(), "CREATE EXCEPTION E_STOCK 'Can''t ship'");
  EXPECT_EQ(e->GetAlterSQL(), "ALTER EXCEPTION E_STOCK 'Can''t ship'");
  EXPECT_EQ(e->GetDropSQL(), "/* Drop: E_STOCK (TExcData) */\r\nDROP EXCEPTION E_STOCK");
}

TEST(EventText, ScheduleAndEventClauses) {
  TObjs objs;
  objs.SetServerType(srvASA);
  TEvtData* ev = AddNamed<TEvtData>(objs, "Nightly");
  EXPECT_EQ(ev->GetCreateSQL(), "CREATE EVENT Nightly\r\n ENABLE");
  EXPECT_EQ(ev->GetDropSQL(), "DROP EVENT Nightly");

  auto add = [ev](const std::function<void(TEvtSdlData&)>& fill) {
    auto s = std::make_unique<TEvtSdlData>();
    s->Event = ev;
    fill(*s);
    const std::string name = s->ScheduleName;
    ev->Schedules.Add(name, std::move(s));
  };
  add([](TEvtSdlData& s) {
    s.ScheduleName = "s1";
    s.StartTime = "01:00";
    s.EndTime = "02:00";
    s.EveryMinutes = 10;
    s.EverySeconds = 5;  // only the first interval given is written
    s.OnDays.set(31).set(0).set(14);
  });
  add([](TEvtSdlData& s) {
    s.StartTime = "03:00";
    s.StartDate = "2024-01-01";
  });
  ev->EventType = "ServerIdle";
  ev->WhereCondition = "event_condition('IdleTime') > 60";
  ev->Enabled = false;
  ev->Location = "ALL";
  ev->SetBody("BEGIN\r\n  CALL cleanup();\r\nEND");
  EXPECT_EQ(ev->GetCreateSQL(),
            "CREATE EVENT Nightly\r\n TYPE ServerIdle\r\n WHERE event_condition('IdleTime') > 60"
            "\r\n SCHEDULE s1 BETWEEN '01:00' AND '02:00' EVERY 10 MINUTES ON(0, 1, 15),"
            "\r\n SCHEDULE START TIME '03:00' START DATE '2024-01-01'"
            "\r\n DISABLE AT ALL\r\nHANDLER\r\nBEGIN\r\n  CALL cleanup();\r\nEND");
}

TEST(ExceptionPhases, ChangedMessageIsAlteredInPlace) {
  TTwoDbs db(srvInterBase);
  AddException(db.Master, "E_STOCK", "Out of stock");
  AddException(db.Master, "E_NEW", "New");
  AddException(db.Target, "E_STOCK", "No stock");
  AddException(db.Target, "E_OLD", "Old");
  db.PairObjects();
  db.RunPhase(17);
  db.RunPhase(30);
  EXPECT_EQ(StatementTexts(db.Exec),
            (TTexts{"/* Drop Exception... */", "/* Drop: E_OLD (TExcData) */\r\nDROP EXCEPTION E_OLD",
                    "", "/* Create Exception... */", "CREATE EXCEPTION E_NEW 'New'", "",
                    "/* Alter Exception... */", "ALTER EXCEPTION E_STOCK 'Out of stock'", ""}));
  EXPECT_EQ(db.Exec.GetStatement(7)->Action, saAlter);
  EXPECT_EQ(db.Exec.GetStatement(7)->ObjType, dboException);
}

TEST(ExceptionPhases, ProcedureUsingAVanishedExceptionIsEmptiedFirst) {
  TTwoDbs db(srvInterBase);
  TExcData* old = AddException(db.Target, "E_OLD", "Old");
  TPrcData* p = AddNamed<TPrcData>(db.Target, "CHECK_PRICE");
  p->SetBody("BEGIN EXCEPTION E_OLD; END");
  AddDependency(&db.Target, p, old, "", 0, 0);
  AddNamed<TPrcData>(db.Master, "CHECK_PRICE")->SetBody("BEGIN EXIT; END");
  db.PairObjects();
  db.RunPhase(17);
  ASSERT_EQ(db.Exec.Count(), 4);
  EXPECT_EQ(db.Exec.GetStatement(1)->ObjName, "CHECK_PRICE");
  EXPECT_EQ(db.Exec.GetStatement(1)->Action, saEmptyBody);
  EXPECT_EQ(db.Exec.GetStatement(2)->ObjName, "E_OLD");
  EXPECT_EQ(db.Exec.GetStatement(2)->Action, saDrop);
  EXPECT_TRUE(db.Master.FindProcedure("CHECK_PRICE")->NeedsRestore);
}

TEST(ExceptionPhases, NamesMatchUnderTheListsCaseRule) {
  for (TServerType st : {srvInterBase, srvMSSQL}) {
    SCOPED_TRACE(st);
    TTwoDbs db(st);
    db.Master.MSSQLServerOptions->MSSQLCompareOptions->CaseSensitiveIdentifiers = true;
    db.Target.MSSQLServerOptions->MSSQLCompareOptions->CaseSensitiveIdentifiers = true;
    AddException(db.Master, "e_stock", "x");
    AddException(db.Target, "E_STOCK", "x");
    db.PairObjects();
    db.RunPhase(17);
    db.RunPhase(30);
    int dropsAndCreates = 0;
    for (const auto& stm : db.Exec.Statements)
      dropsAndCreates += stm->Action == saDrop || stm->Action == saCreate;
    // Matched names are at most altered (here: the name's spelling).
    EXPECT_EQ(dropsAndCreates, st == srvMSSQL ? 0 : 2);
  }
}

TEST(EventPhases, DisabledEventIsRecreatedNewOneCreatedVanishedOneDropped) {
  TTwoDbs db(srvASA);
  AddNamed<TEvtData>(db.Master, "Nightly")->Enabled = false;
  AddNamed<TEvtData>(db.Master, "Hourly");
  AddNamed<TEvtData>(db.Target, "Nightly");
  AddNamed<TEvtData>(db.Target, "Weekly");
  db.PairObjects();
  db.RunPhase(44);
  EXPECT_EQ(StatementTexts(db.Exec),
            (TTexts{"/* Create event... */", "CREATE EVENT Hourly\r\n ENABLE", "",
                    "/* Alter event... */", "DROP EVENT Nightly", "CREATE EVENT Nightly\r\n DISABLE",
                    "", "/* Drop event... */", "DROP EVENT Weekly", ""}));
}

}  // namespace
