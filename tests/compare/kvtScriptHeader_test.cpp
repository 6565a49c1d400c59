#include "compare/kvtScriptHeader.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "core/kvtDBOptions.h"
#include "core/kvtDBStructure.h"
#include "script/kvtSQL_Exec.h"

namespace {

struct THeaderCase {
  const char* Name;
  TServerType Type;
  std::function<void(TObjs& master, TObjs& target)> Setup;
  TStringList Expected;  // rendered lines
};

TStringList Header(const THeaderCase& c, bool compareASEDBOptions = true) {
  TObjs master, target;
  master.SetServerType(c.Type);
  target.SetServerType(c.Type);
  if (c.Setup) c.Setup(master, target);
  TSQLExec exec;
  WriteScriptHeaderStatements(exec, master, target, compareASEDBOptions);
  TStringList lines;
  exec.RenderScript(lines, false);
  return lines;
}

}  // namespace

TEST(ScriptHeader, ByTargetServer) {
  const THeaderCase cases[] = {
      {"InterBase dialect 3 with names and connection", srvInterBase,
       [](TObjs&, TObjs& t) {
         t.IBServerOptions->DBCharSet = "utf8";
         t.ConnectionOptions->DatabaseName = "emp.fdb";
         t.ConnectionOptions->UserName = "SYSDBA";
       },
       {"SET NAMES UTF8;", "", "SET SQL DIALECT 3;", "", "CONNECT 'emp.fdb' USER 'SYSDBA';", "",
        "SET AUTODDL ON;", ""}},
      {"InterBase dialect 1, NONE, GenerateCOMMIT", srvInterBase,
       [](TObjs&, TObjs& t) {
         t.IBServerOptions->SQLDialect = 1;
         t.IBServerOptions->DBCharSet = "NONE";
         t.IBServerOptions->IBCompareOptions->GenerateCOMMIT = true;
       },
       {}},
      {"MySQL", srvMySQL,
       [](TObjs&, TObjs& t) {
         t.MySQLServerOptions->CharSet = "utf8";
         t.MySQLServerOptions->Names = "utf8";
         t.ConnectionOptions->DatabaseName = "shop";
       },
       {"SET CHARACTER SET utf8;", "", "SET NAMES utf8;", "", "USE shop;", ""}},
      {"MS SQL with recursive triggers on the master only", srvMSSQL,
       [](TObjs& m, TObjs& t) {
         t.MSSQLServerOptions->Collation = "Latin1_General_CI_AS";
         t.ConnectionOptions->DatabaseName = "shop";
         m.MSSQLServerOptions->MSSQLDatabaseOptions->RecursiveTriggers = true;
       },
       {"-- Default collation: Latin1_General_CI_AS", "USE shop;", "",
        "ALTER DATABASE shop SET RECURSIVE_TRIGGERS ON;", ""}},
      {"Oracle with a user: password masked", srvOracle,
       [](TObjs&, TObjs& t) {
         t.ConnectionOptions->UserName = "scott";
         t.ConnectionOptions->DatabaseName = "ORCL";
         t.ConnectionOptions->HostName = "db1";
       },
       {"-- CONNECT scott/*****@ORCL;", "ALTER SESSION SET CURRENT_SCHEMA = ORCL;", ""}},
      {"ASE: single user set on the master only", srvASE,
       [](TObjs& m, TObjs& t) {
         t.ConnectionOptions->DatabaseName = "pubs";
         m.ASEServerOptions->ASEDatabaseOptions->SetDBOption(12, true);  // single user
       },
       {"-- Database: pubs", "use pubs;", "",
        "exec master.dbo.sp_dboption pubs, 'single user', True;", "", "checkpoint;", ""}},
      {"PostgreSQL has no header", srvPostgreSQL,
       [](TObjs&, TObjs& t) { t.ConnectionOptions->DatabaseName = "x"; }, {}},
  };
  for (const THeaderCase& c : cases) {
    SCOPED_TRACE(c.Name);
    EXPECT_EQ(Header(c), c.Expected);
  }
}

TEST(ScriptHeader, DatabaseCharsetUpdate) {
  struct TCase {
    const char* Name;
    TIBSQLServerVersionType Version;
    const char* MasterCharset;
    const char* TargetCharset;
    TStringList Expected;
  };
  const TCase cases[] = {
      {"Firebird 2.5", st_Firebird_25, "UTF8", "NONE",
       {"UPDATE RDB$DATABASE SET RDB$CHARACTER_SET_NAME = 'UTF8';", "", "SET NAMES UTF8;", ""}},
      {"Firebird 3.0", st_Firebird_30, "UTF8", "",
       {"ALTER DATABASE SET DEFAULT CHARACTER SET UTF8;", "", "/* Database charset: UTF8 */",
        "SET NAMES UTF8;", ""}},
      {"Firebird 3.0, master without charset", st_Firebird_30, "", "UTF8",
       {"ALTER DATABASE SET DEFAULT CHARACTER SET NONE;", "", "/* Database charset: <none> */",
        "SET NAMES NONE;", ""}},
      // Firebird 4.0 refuses updates of its system tables as 3.0 does.
      {"Firebird 4.0, master without charset", st_Firebird_40, "", "UTF8",
       {"ALTER DATABASE SET DEFAULT CHARACTER SET NONE;", "", "/* Database charset: <none> */",
        "SET NAMES NONE;", ""}},
      {"InterBase 2020, master without charset", st_InterBase_2020, "", "UTF8",
       {"UPDATE RDB$DATABASE SET RDB$CHARACTER_SET_NAME = Null;", "", "SET NAMES NONE;", ""}},
      {"equal charsets", st_Firebird_40, "WIN1252", "WIN1252", {}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TObjs master, target;
    master.SetServerType(srvInterBase);
    target.SetServerType(srvInterBase);
    master.IBServerOptions->DBCharSet = c.MasterCharset;
    target.IBServerOptions->DBCharSet = c.TargetCharset;
    target.IBServerOptions->SQLServerVersion = c.Version;
    TSQLExec exec;
    WriteDatabaseCharsetUpdate(exec, master, target);
    TStringList lines;
    exec.RenderScript(lines, false);
    EXPECT_EQ(lines, c.Expected);
  }
}

// Statement kinds, object names and actions let the statement list tell the
// header statements apart (connect, set names, ...) from object DDL.
TEST(ScriptHeader, StatementKindsAndObjects) {
  auto describe = [](const TCustomSQLExec& exec) {
    std::vector<std::string> out;
    for (const auto& st : exec.Statements)
      out.push_back(std::string(StatementKindNames[st->Kind]) + "|" + st->ObjName + "|" +
                    std::to_string(st->ObjType) + "|" + std::to_string(st->Action));
    return out;
  };
  auto row = [](TStatementKind k, const std::string& name, TDbObject type = dboUnknown,
                uint8_t action = saNone) {
    return std::string(StatementKindNames[k]) + "|" + name + "|" + std::to_string(type) + "|" +
           std::to_string(action);
  };

  {
    SCOPED_TRACE("InterBase");
    TObjs master, target;
    target.SetServerType(srvInterBase);
    target.IBServerOptions->DBCharSet = "WIN1252";
    target.ConnectionOptions->DatabaseName = "emp.fdb";
    TSQLExec exec;
    WriteScriptHeaderStatements(exec, master, target, true);
    EXPECT_EQ(describe(exec), (std::vector<std::string>{row(skSetNames, "WIN1252"),
                                                        row(skSqlDialect, "3"), row(skConnect, ""),
                                                        row(skSet, "")}));
  }
  {
    SCOPED_TRACE("MS SQL");
    TObjs master, target;
    target.SetServerType(srvMSSQL);
    target.ConnectionOptions->DatabaseName = "shop";
    master.MSSQLServerOptions->MSSQLDatabaseOptions->RecursiveTriggers = true;
    TSQLExec exec;
    WriteScriptHeaderStatements(exec, master, target, true);
    EXPECT_EQ(describe(exec), (std::vector<std::string>{
                                  row(skConnect, ""), row(skStatement, "shop", dboDatabase, saAlter)}));
  }
  {
    SCOPED_TRACE("database charset");
    TObjs master, target;
    master.SetServerType(srvInterBase);
    target.SetServerType(srvInterBase);
    master.IBServerOptions->DBCharSet = "UTF8";
    target.IBServerOptions->SQLServerVersion = st_Firebird_21;
    TSQLExec exec;
    WriteDatabaseCharsetUpdate(exec, master, target);
    EXPECT_EQ(describe(exec),
              (std::vector<std::string>{row(skStatement, ""), row(skCharSet, "")}));
  }
}
