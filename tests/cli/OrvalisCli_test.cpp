#include "OrvalisCli.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "OptionSettings.h"
#include "compare/kvtVeltrane.h"
#include "core/kvtDBOptions.h"
#include "core/kvtDBStructure.h"
#include "kinds/kvtCompColumn.h"
#include "kinds/kvtComp_Tbl.h"

namespace fs = std::filesystem;

namespace {

struct TRun {
  int Status;
  std::string Out;
  std::string Err;
};

TRun RunTool(const std::vector<std::string>& args) {
  std::ostringstream out, err;
  const int status = RunOrvalis(args, out, err);
  return {status, out.str(), err.str()};
}

// A scratch directory removed at the end of the test.
struct TTempDir {
  fs::path Path;
  TTempDir() {
    std::string pattern = (fs::temp_directory_path() / "orvalis-cli-XXXXXX").string();
    Path = mkdtemp(pattern.data());
  }
  ~TTempDir() {
    std::error_code ec;
    fs::remove_all(Path, ec);
  }
  std::string Write(const std::string& name, const std::string& text) const {
    std::ofstream(Path / name, std::ios::binary) << text;
    return (Path / name).string();
  }
};

std::string ReadFile(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

void AddTable(TObjs& objs, const std::string& name, const std::vector<std::string>& columns) {
  auto tbl = std::make_unique<TTblData>(&objs);
  tbl->SetName(name);
  for (const std::string& c : columns) {
    auto f = std::make_unique<TFldData>(&objs, tbl.get());
    f->SetName(c);
    f->DataType = dtInteger;
    tbl->AddField(std::move(f));
  }
  objs.AddObj(tbl, true);
}

// Two InterBase structures built in code, compared the way the tool does.
struct TCodeRun {
  TDBStructure Master, Target;
  TVeltrane Veltrane;
  TCodeRun() {
    Veltrane.SetDBStructureMaster(&Master);
    Veltrane.SetDBStructureTarget(&Target);
    Master.Objs->SetServerType(srvInterBase);
    Target.Objs->SetServerType(srvInterBase);
  }
};

}  // namespace

TEST(OrvalisCli, ArgumentErrorsExitWithTwo) {
  struct TCase {
    std::vector<std::string> Args;
    std::string Message;
  };
  const TCase cases[] = {
      {{"--bogus", "a.sql", "b.sql"}, "unknown option '--bogus'"},
      {{}, "missing MASTER and TARGET script arguments"},
      {{"a.sql"}, "missing TARGET script argument"},
      {{"a.sql", "b.sql", "c.sql"}, "too many arguments"},
      {{"-d", "sybase", "a.sql", "b.sql"},
       "unknown dialect 'sybase'; valid dialects: firebird, interbase, ib, sqlanywhere, asa, "
       "mysql, oracle, mssql"},
      {{"a.sql", "b.sql", "-o"}, "option '-o' needs a value"},
      {{"--objects", "Table,Tables", "a.sql", "b.sql"}, "unknown object family 'Tables'"},
      {{"--set", "IB.NoSuchOption=1", "a.sql", "b.sql"},
       "unknown option name 'IB.NoSuchOption'; valid names: IB.SQLServerVersion, IB.SQLDialect"},
      {{"--set", "IB.SQLDialect=4", "a.sql", "b.sql"},
       "invalid value '4' for IB.SQLDialect; valid values: 1, 2, 3"},
      {{"--set=IB.UpdateFieldPosition=maybe", "a.sql", "b.sql"},
       "valid values: false, true"},
      {{"--set", "IB.SQLDialect", "a.sql", "b.sql"}, "--set expects NAME=VALUE"},
      {{"--runnable", "-d", "oracle", "a.sql", "b.sql"},
       "--runnable supports firebird and mysql targets only, not oracle"},
      {{"--runnable", "--master-dialect", "mysql", "--target-dialect", "mssql", "a.sql", "b.sql"},
       "--runnable supports firebird and mysql targets only, not mssql"},
      {{"--runnable=yes", "a.sql", "b.sql"}, "option '--runnable' takes no value"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Message);
    const TRun r = RunTool(c.Args);
    EXPECT_EQ(r.Status, ExitError);
    EXPECT_NE(r.Err.find(c.Message), std::string::npos) << r.Err;
    EXPECT_EQ(r.Out, "");
  }
}

TEST(OrvalisCli, HelpAndVersion) {
  TRun r = RunTool({"--help"});
  EXPECT_EQ(r.Status, ExitEqual);
  EXPECT_EQ(r.Out.rfind("orvalis [options] MASTER TARGET\n", 0), 0u);
  r = RunTool({"--version"});
  EXPECT_EQ(r.Status, ExitEqual);
  EXPECT_EQ(r.Out, std::string("orvalis ") + OrvalisVersion + "\n");
}

TEST(OrvalisCli, EqualScriptsExitWithZero) {
  TTempDir dir;
  const std::string empty1 = dir.Write("m.sql", "");
  const std::string empty2 = dir.Write("t.sql", "");
  TRun r = RunTool({empty1, empty2});
  EXPECT_EQ(r.Status, ExitEqual) << r.Err;
  // Only the header, which changes nothing.
  EXPECT_EQ(r.Out, "SET SQL DIALECT 3;\n\nSET AUTODDL ON;\n\n");

  const std::string example = std::string(ORVALIS_SOURCE_DIR) + "/examples/master.sql";
  r = RunTool({example, example});
  EXPECT_EQ(r.Status, ExitEqual) << r.Err;
}

TEST(OrvalisCli, UnreadableScriptIsAnError) {
  TTempDir dir;
  const std::string master = dir.Write("m.sql", "");
  const std::string missing = (dir.Path / "missing.sql").string();
  const TRun r = RunTool({master, missing});
  EXPECT_EQ(r.Status, ExitError);
  EXPECT_NE(r.Err.find("Errors:\nFile not found: " + missing), std::string::npos) << r.Err;
  EXPECT_EQ(r.Out, "");
}

TEST(OrvalisCli, DifferingStructuresExitWithOne) {
  TCodeRun run;
  AddTable(*run.Master.Objs, "T", {"A", "B"});
  AddTable(*run.Target.Objs, "T", {"A"});
  TCliOptions opts;
  std::ostringstream out, err;
  EXPECT_EQ(CompareAndWrite(run.Veltrane, opts, out, err), ExitDifferent) << err.str();
  EXPECT_NE(out.str().find("ALTER TABLE T ADD B INTEGER;\n"), std::string::npos) << out.str();

  // The same comparison with CR LF line ends.
  opts.Crlf = true;
  std::ostringstream crlf;
  EXPECT_EQ(CompareAndWrite(run.Veltrane, opts, crlf, err), ExitDifferent);
  const std::string text = crlf.str();
  EXPECT_NE(text.find("ALTER TABLE T ADD B INTEGER;\r\n"), std::string::npos);
  size_t lf = 0, crlfCount = 0;
  for (size_t i = 0; i < text.size(); ++i)
    if (text[i] == '\n') {
      ++lf;
      if (i > 0 && text[i - 1] == '\r') ++crlfCount;
    }
  EXPECT_EQ(lf, crlfCount);
}

TEST(OrvalisCli, RunnableLeavesStatementsWithoutBodiesAlone) {
  TCodeRun run;
  AddTable(*run.Master.Objs, "T", {"A", "B"});
  AddTable(*run.Master.Objs, "U", {"A"});
  AddTable(*run.Target.Objs, "T", {"A"});
  TCliOptions opts;
  std::ostringstream plain, runnable, err;
  EXPECT_EQ(CompareAndWrite(run.Veltrane, opts, plain, err), ExitDifferent) << err.str();
  opts.Runnable = true;
  EXPECT_EQ(CompareAndWrite(run.Veltrane, opts, runnable, err), ExitDifferent) << err.str();
  EXPECT_NE(plain.str().find("CREATE TABLE U"), std::string::npos) << plain.str();
  EXPECT_EQ(runnable.str(), plain.str());
}

// Exit 3 only when --safe wrote something as a comment; a summary replaces
// the script.
TEST(OrvalisCli, SafeSummaryAndExplainOnAComparison) {
  TCodeRun run;
  AddTable(*run.Master.Objs, "T", {"A", "B"});
  AddTable(*run.Target.Objs, "T", {"A", "OLD"});
  AddTable(*run.Target.Objs, "GONE", {"A"});
  TCliOptions opts;
  opts.Safe = true;
  std::ostringstream out, err;
  EXPECT_EQ(CompareAndWrite(run.Veltrane, opts, out, err), ExitUnsafe) << err.str();
  EXPECT_NE(out.str().find("-- DROP TABLE GONE;"), std::string::npos) << out.str();
  EXPECT_NE(out.str().find("-- ALTER TABLE T DROP OLD;"), std::string::npos);
  EXPECT_NE(out.str().find("\nALTER TABLE T ADD B INTEGER;"), std::string::npos);
  EXPECT_NE(err.str().find("--safe left 2 statements"), std::string::npos) << err.str();

  TCodeRun adding;
  AddTable(*adding.Master.Objs, "T", {"A", "B"});
  AddTable(*adding.Target.Objs, "T", {"A"});
  std::ostringstream safeOut, safeErr;
  EXPECT_EQ(CompareAndWrite(adding.Veltrane, opts, safeOut, safeErr), ExitDifferent);

  opts.Safe = false;
  opts.Summary = TSummaryMode::Text;
  std::ostringstream summary;
  EXPECT_EQ(CompareAndWrite(run.Veltrane, opts, summary, err), ExitDifferent);
  // Column A's position is written again after the column changes.
  EXPECT_EQ(summary.str(),
            "column T.B created\n"
            "column T.OLD dropped\n"
            "table GONE dropped\n"
            "column T.A altered\n");
}

TEST(OrvalisCli, PipelineOptionsAreParsed) {
  TCliOptions opts;
  std::string error;
  ASSERT_TRUE(ParseCliArguments({"--summary=json", "--safe", "--explain", "m", "t"}, opts, error))
      << error;
  EXPECT_EQ(opts.Summary, TSummaryMode::Json);
  EXPECT_TRUE(opts.Safe && opts.Explain);
  TCliOptions text;
  ASSERT_TRUE(ParseCliArguments({"--summary", "m", "t"}, text, error));
  EXPECT_EQ(text.Summary, TSummaryMode::Text);
  TCliOptions bad;
  EXPECT_FALSE(ParseCliArguments({"--summary=xml", "m", "t"}, bad, error));
  EXPECT_NE(error.find("valid formats: text, json"), std::string::npos);
  EXPECT_FALSE(ParseCliArguments({"--safe=yes", "m", "t"}, bad, error));
}

TEST(OrvalisCli, CrlfOptionOnTheWholeRun) {
  TTempDir dir;
  const std::string m = dir.Write("m.sql", "");
  const TRun r = RunTool({"--crlf", m, m});
  EXPECT_EQ(r.Status, ExitEqual) << r.Err;
  EXPECT_EQ(r.Out, "SET SQL DIALECT 3;\r\n\r\nSET AUTODDL ON;\r\n\r\n");
}

TEST(OrvalisCli, OutputFileIsWrittenWholeOrNotAtAll) {
  TTempDir dir;
  const std::string m = dir.Write("m.sql", "");
  const std::string outFile = (dir.Path / "update.sql").string();
  TRun r = RunTool({"-o", outFile, m, m});
  EXPECT_EQ(r.Status, ExitEqual) << r.Err;
  EXPECT_EQ(r.Out, "");
  EXPECT_EQ(ReadFile(outFile), "SET SQL DIALECT 3;\n\nSET AUTODDL ON;\n\n");

  // The destination cannot be replaced (it is a directory): an error, and no
  // temporary file is left beside it.
  const fs::path blocked = dir.Path / "out";
  fs::create_directories(blocked / "sub");
  r = RunTool({"--output=" + (blocked / "sub").string(), m, m});
  EXPECT_EQ(r.Status, ExitError);
  EXPECT_NE(r.Err.find("cannot write"), std::string::npos) << r.Err;
  EXPECT_EQ(std::distance(fs::directory_iterator(blocked), fs::directory_iterator()), 1);

  // A directory that does not exist.
  r = RunTool({"-o", (dir.Path / "nowhere" / "update.sql").string(), m, m});
  EXPECT_EQ(r.Status, ExitError);
  EXPECT_FALSE(fs::exists(dir.Path / "nowhere"));
}

TEST(OrvalisCli, SetAppliesToBothStructuresAndTheComparer) {
  TDBStructure master, target;
  TVeltrane v;
  std::string error;
  const std::vector<TObjs*> both{master.Objs, target.Objs};
  ASSERT_TRUE(ApplyOptionSetting("IB.SQLServerVersion=st_firebird_30", both, &v, error)) << error;
  ASSERT_TRUE(ApplyOptionSetting("ib.updatefieldposition=FALSE", both, &v, error)) << error;
  ASSERT_TRUE(ApplyOptionSetting("IB.SQLDialect=1", both, &v, error)) << error;
  ASSERT_TRUE(ApplyOptionSetting("MSSQL.Collation=Latin1", both, &v, error)) << error;
  for (TObjs* objs : both) {
    EXPECT_EQ(objs->IBServerOptions->SQLServerVersion, st_Firebird_30);
    EXPECT_EQ(objs->IBServerOptions->SQLDialect, 1);
    EXPECT_FALSE(objs->IBServerOptions->IBCompareOptions->UpdateFieldPosition);
    EXPECT_EQ(objs->MSSQLServerOptions->Collation, "Latin1");
  }
  EXPECT_FALSE(v.IBCompareOptions->UpdateFieldPosition);

  // Every version enumeration is offered with all its values.
  const std::pair<const char*, TServerType> versions[] = {
      {"IB", srvInterBase}, {"MSSQL", srvMSSQL},       {"MySQL", srvMySQL}, {"ASA", srvASA},
      {"Oracle", srvOracle}, {"PG", srvPostgreSQL}, {"DB2", srvDB2},     {"ASE", srvASE}};
  for (const auto& [prefix, type] : versions)
    EXPECT_EQ(PublishedOptionValues(std::string(prefix) + ".SQLServerVersion").size(),
              static_cast<size_t>(GetServerVersionCount(type)))
        << prefix;
}

// Every server and compare option field is reachable under the name its class
// uses, and each name lands on its own field (a value away from the default,
// checked in both containers and, for compare options, in the comparer).
TEST(OrvalisCli, SetReachesEveryOptionField) {
  using ObjsCheck = std::function<bool(TObjs&)>;
  using CmpCheck = std::function<bool(TVeltrane&)>;
  struct TCase {
    std::string Assignment;
    ObjsCheck InObjs;
    CmpCheck InComparer;  // compare options only
  };
  auto ib = [](TObjs& o) -> TIBServerOptions& { return *o.IBServerOptions; };
  auto ibc = [](TObjs& o) -> TIBCompareOptions& { return *o.IBServerOptions->IBCompareOptions; };
  auto ms = [](TObjs& o) -> TMSSQLServerOptions& { return *o.MSSQLServerOptions; };
  auto msc = [](TObjs& o) -> TMSSQLCompareOptions& {
    return *o.MSSQLServerOptions->MSSQLCompareOptions;
  };
  auto ase = [](TObjs& o) -> TASECompareOptions& { return *o.ASEServerOptions->ASECompareOptions; };
  const TCase cases[] = {
      {"IB.SQLServerVersion=st_InterBase_2020",
       [&](TObjs& o) { return ib(o).SQLServerVersion == st_InterBase_2020; }, nullptr},
      {"IB.SQLDialect=2", [&](TObjs& o) { return ib(o).SQLDialect == 2; }, nullptr},
      {"IB.DBCharSet=win1252", [&](TObjs& o) { return ib(o).DBCharSet == "WIN1252"; }, nullptr},
      {"IB.DbCharsetCompare=true", [&](TObjs& o) { return ibc(o).DbCharsetCompare; },
       [](TVeltrane& v) { return v.IBCompareOptions->DbCharsetCompare; }},
      {"IB.FldCharsetCompare=true", [&](TObjs& o) { return ibc(o).FldCharsetCompare; },
       [](TVeltrane& v) { return v.IBCompareOptions->FldCharsetCompare; }},
      {"IB.UpdateDescriptionMode=udComment",
       [&](TObjs& o) { return ibc(o).UpdateDescriptionMode == udComment; },
       [](TVeltrane& v) { return v.IBCompareOptions->UpdateDescriptionMode == udComment; }},
      {"IB.ModifySystemTables=true", [&](TObjs& o) { return ibc(o).ModifySystemTables; },
       [](TVeltrane& v) { return v.IBCompareOptions->ModifySystemTables; }},
      {"IB.GenerateCOMMIT=true", [&](TObjs& o) { return ibc(o).GenerateCOMMIT; },
       [](TVeltrane& v) { return v.IBCompareOptions->GenerateCOMMIT; }},
      {"IB.UseRECONNECT=false", [&](TObjs& o) { return !ibc(o).UseRECONNECT; },
       [](TVeltrane& v) { return !v.IBCompareOptions->UseRECONNECT; }},
      {"IB.AllowDataTypeConversion=true", [&](TObjs& o) { return ibc(o).AllowDataTypeConversion; },
       [](TVeltrane& v) { return v.IBCompareOptions->AllowDataTypeConversion; }},
      {"IB.UpdateFieldPosition=false", [&](TObjs& o) { return !ibc(o).UpdateFieldPosition; },
       [](TVeltrane& v) { return !v.IBCompareOptions->UpdateFieldPosition; }},
      {"IB.ExtractOnlyComparedObjects=false",
       [&](TObjs& o) { return !ibc(o).ExtractOnlyComparedObjects; },
       [](TVeltrane& v) { return !v.IBCompareOptions->ExtractOnlyComparedObjects; }},
      {"IB.IgnoreIBEObjects=false", [&](TObjs& o) { return !ibc(o).IgnoreIBEObjects; },
       [](TVeltrane& v) { return !v.IBCompareOptions->IgnoreIBEObjects; }},
      {"MSSQL.SQLServerVersion=st_MSSQL2019",
       [&](TObjs& o) { return ms(o).SQLServerVersion == st_MSSQL2019; }, nullptr},
      {"MSSQL.DBCharSet=cp1252", [&](TObjs& o) { return ms(o).DBCharSet == "cp1252"; }, nullptr},
      {"MSSQL.Collation=Latin1", [&](TObjs& o) { return ms(o).Collation == "Latin1"; }, nullptr},
      {"MSSQL.IgnoreFileGroup=true", [&](TObjs& o) { return msc(o).IgnoreFileGroup; },
       [](TVeltrane& v) { return v.MSSQLCompareOptions->IgnoreFileGroup; }},
      {"MSSQL.IgnoreSysName=false", [&](TObjs& o) { return !msc(o).IgnoreSysName; },
       [](TVeltrane& v) { return !v.MSSQLCompareOptions->IgnoreSysName; }},
      {"MSSQL.CaseSensitiveIdentifiers=true",
       [&](TObjs& o) { return msc(o).CaseSensitiveIdentifiers; },
       [](TVeltrane& v) { return v.MSSQLCompareOptions->CaseSensitiveIdentifiers; }},
      {"MSSQL.UpdateColumnPosition=true", [&](TObjs& o) { return msc(o).UpdateColumnPosition; },
       [](TVeltrane& v) { return v.MSSQLCompareOptions->UpdateColumnPosition; }},
      {"MySQL.SQLServerVersion=st_MariaDB_10x",
       [](TObjs& o) { return o.MySQLServerOptions->SQLServerVersion == st_MariaDB_10x; }, nullptr},
      {"MySQL.CharSet=latin1", [](TObjs& o) { return o.MySQLServerOptions->CharSet == "latin1"; },
       nullptr},
      {"MySQL.Names=utf8", [](TObjs& o) { return o.MySQLServerOptions->Names == "utf8"; }, nullptr},
      {"MySQL.CaseSensitiveIdentifiers=false",
       [](TObjs& o) { return !o.MySQLServerOptions->MySQLCompareOptions->CaseSensitiveIdentifiers; },
       [](TVeltrane& v) { return !v.MySQLCompareOptions->CaseSensitiveIdentifiers; }},
      {"ASA.SQLServerVersion=st_ASA5",
       [](TObjs& o) { return o.ASAServerOptions->SQLServerVersion == st_ASA5; }, nullptr},
      {"ASA.CaseSensitiveIdentifiers=true",
       [](TObjs& o) { return o.ASAServerOptions->ASACompareOptions->CaseSensitiveIdentifiers; },
       [](TVeltrane& v) { return v.ASACompareOptions->CaseSensitiveIdentifiers; }},
      {"Oracle.SQLServerVersion=st_Oracle_21x",
       [](TObjs& o) { return o.OracleServerOptions->SQLServerVersion == st_Oracle_21x; }, nullptr},
      {"PG.SQLServerVersion=st_PostgreSQL_14x",
       [](TObjs& o) { return o.PGSQLServerOptions->SQLServerVersion == st_PostgreSQL_14x; },
       nullptr},
      {"DB2.SQLServerVersion=st_DB2_11x",
       [](TObjs& o) { return o.DB2ServerOptions->SQLServerVersion == st_DB2_11x; }, nullptr},
      {"ASE.SQLServerVersion=st_ASE12",
       [](TObjs& o) { return o.ASEServerOptions->SQLServerVersion == st_ASE12; }, nullptr},
      {"ASE.IgnoreFileGroup=true", [&](TObjs& o) { return ase(o).IgnoreFileGroup; },
       [](TVeltrane& v) { return v.ASECompareOptions->IgnoreFileGroup; }},
      {"ASE.IgnoreSysName=false", [&](TObjs& o) { return !ase(o).IgnoreSysName; },
       [](TVeltrane& v) { return !v.ASECompareOptions->IgnoreSysName; }},
      {"ASE.CaseSensitiveIdentifiers=true", [&](TObjs& o) { return ase(o).CaseSensitiveIdentifiers; },
       [](TVeltrane& v) { return v.ASECompareOptions->CaseSensitiveIdentifiers; }},
      {"ASE.CompareDBOptions=false", [&](TObjs& o) { return !ase(o).CompareDBOptions; },
       [](TVeltrane& v) { return !v.ASECompareOptions->CompareDBOptions; }},
  };

  std::vector<std::string> tested;
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Assignment);
    tested.push_back(c.Assignment.substr(0, c.Assignment.find('=')));
    TDBStructure master, target;
    TVeltrane v;
    std::string error;
    ASSERT_TRUE(ApplyOptionSetting(c.Assignment, {master.Objs, target.Objs}, &v, error)) << error;
    EXPECT_TRUE(c.InObjs(*master.Objs));
    EXPECT_TRUE(c.InObjs(*target.Objs));
    if (c.InComparer) {
      EXPECT_TRUE(c.InComparer(v));
    }
  }
  // No published name is left out of the table above, and none is missing.
  EXPECT_EQ(PublishedOptionNames(), tested);
}

TEST(OrvalisCli, ExecutableReportsStatus) {
  TTempDir dir;
  const std::string m = dir.Write("m.sql", "");
  const std::string out = (dir.Path / "out.sql").string();
  auto status = [](const std::string& cmd) {
    const int rc = std::system((cmd + " >/dev/null 2>&1").c_str());
    return WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
  };
  const std::string tool = std::string("'") + ORVALIS_CLI_PATH + "'";
  EXPECT_EQ(status(tool + " --bogus"), ExitError);
  EXPECT_EQ(status(tool + " -o '" + out + "' '" + m + "' '" + m + "'"), ExitEqual);
  EXPECT_TRUE(fs::exists(out));
}
