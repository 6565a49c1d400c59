#include "OptionSettings.h"

#include <algorithm>
#include <functional>
#include <iterator>

#include "compare/kvtVeltrane.h"
#include "core/kvtClasses.h"
#include "core/kvtDBOptions.h"
#include "core/kvtDBStructure.h"

namespace {

// Value names of the enumerations, in declaration order (index = value).
const char* const IBVersionValues[] = {
    "st_InterBase_4x", "st_InterBase_5x", "st_InterBase_6x",  "st_FireBird_1x",  "st_Yaffil_1x",
    "st_FireBird_15",  "st_InterBase_7x", "st_InterBase_75",  "st_Firebird_20",  "st_Firebird_21",
    "st_Firebird_25",  "st_Firebird_30",  "st_Firebird_40",   "st_InterBase_2020"};
const char* const MSSQLVersionValues[] = {"st_MSSQL2000", "st_MSSQL2005", "st_MSSQL2008",
                                          "st_MSSQL2012", "st_MSSQL2014", "st_MSSQL2016",
                                          "st_MSSQL2017", "st_MSSQL2019"};
const char* const MySQLVersionValues[] = {"st_MySQL_3x", "st_MySQL_4x", "st_MySQL_5x",
                                          "st_MySQL_8x", "st_MariaDB_10x"};
const char* const ASAVersionValues[] = {"st_ASA5", "st_ASA6", "st_ASA7", "st_ASA8", "st_ASA9"};
const char* const OracleVersionValues[] = {"st_Oracle_7x",  "st_Oracle_8x",  "st_Oracle_9x",
                                           "st_Oracle_10x", "st_Oracle_11x", "st_Oracle_12x",
                                           "st_Oracle_18x", "st_Oracle_19x", "st_Oracle_21x"};
const char* const PGVersionValues[] = {"st_PostgreSQL_7x",  "st_PostgreSQL_8x",
                                       "st_PostgreSQL_9x",  "st_PostgreSQL_10x",
                                       "st_PostgreSQL_11x", "st_PostgreSQL_12x",
                                       "st_PostgreSQL_13x", "st_PostgreSQL_14x"};
const char* const DB2VersionValues[] = {"st_DB2_8x", "st_DB2_9x", "st_DB2_10x", "st_DB2_11x"};
const char* const ASEVersionValues[] = {"st_ASE12"};
const char* const DescriptionModeValues[] = {"udSysTables", "udDescribe", "udComment"};
const char* const BoolValues[] = {"false", "true"};  // index = value
const char* const DialectValues[] = {"1", "2", "3"};  // index = value - 1

static_assert(std::size(IBVersionValues) == st_InterBase_2020 + 1);
static_assert(std::size(MSSQLVersionValues) == st_MSSQL2019 + 1);
static_assert(std::size(MySQLVersionValues) == st_MariaDB_10x + 1);
static_assert(std::size(ASAVersionValues) == st_ASA9 + 1);
static_assert(std::size(OracleVersionValues) == st_Oracle_21x + 1);
static_assert(std::size(PGVersionValues) == st_PostgreSQL_14x + 1);
static_assert(std::size(DB2VersionValues) == st_DB2_11x + 1);
static_assert(std::size(ASEVersionValues) == st_ASE12 + 1);
static_assert(std::size(DescriptionModeValues) == udComment + 1);

// One published option. Values is empty for free text; otherwise the value
// must be one of them and is handed on as its index.
struct TSetting {
  std::string Name;
  std::vector<std::string> Values;
  std::function<void(TObjs&, int index, const std::string& text)> ApplyServer;
  std::function<void(TVeltrane&, int index)> ApplyComparer;  // compare-option fields only
};

template <size_t N>
std::vector<std::string> ValueList(const char* const (&values)[N]) {
  return std::vector<std::string>(std::begin(values), std::end(values));
}

// A field of a server-options object; `server` picks the object in a container.
template <class Opts, class Field>
TSetting ServerEnum(std::string name, Opts* (*server)(TObjs&), Field Opts::*field,
                    std::vector<std::string> values) {
  return {std::move(name), std::move(values),
          [server, field](TObjs& objs, int index, const std::string&) {
            server(objs)->*field = static_cast<Field>(index);
          },
          nullptr};
}

template <class Opts, class Field>
TSetting ServerText(std::string name, Opts* (*server)(TObjs&), Field Opts::*field) {
  return {std::move(name), {},
          [server, field](TObjs& objs, int, const std::string& text) { server(objs)->*field = text; },
          nullptr};
}

// A field of a compare-options object, held by each container and by the comparer.
template <class Opts, class Field>
TSetting CompareEnum(std::string name, Opts* (*inObjs)(TObjs&), Opts* (*inComparer)(TVeltrane&),
                     Field Opts::*field, std::vector<std::string> values) {
  return {std::move(name), std::move(values),
          [inObjs, field](TObjs& objs, int index, const std::string&) {
            inObjs(objs)->*field = static_cast<Field>(index);
          },
          [inComparer, field](TVeltrane& v, int index) {
            inComparer(v)->*field = static_cast<Field>(index);
          }};
}

template <class Opts>
TSetting CompareBool(std::string name, Opts* (*inObjs)(TObjs&), Opts* (*inComparer)(TVeltrane&),
                     bool Opts::*field) {
  return CompareEnum(std::move(name), inObjs, inComparer, field, ValueList(BoolValues));
}

TIBServerOptions* IBServer(TObjs& o) { return o.IBServerOptions.get(); }
TIBCompareOptions* IBCompare(TObjs& o) { return o.IBServerOptions->IBCompareOptions.get(); }
TIBCompareOptions* IBCompareV(TVeltrane& v) { return v.IBCompareOptions.get(); }
TMSSQLServerOptions* MSSQLServer(TObjs& o) { return o.MSSQLServerOptions.get(); }
TMSSQLCompareOptions* MSSQLCompare(TObjs& o) {
  return o.MSSQLServerOptions->MSSQLCompareOptions.get();
}
TMSSQLCompareOptions* MSSQLCompareV(TVeltrane& v) { return v.MSSQLCompareOptions.get(); }
TMySQLServerOptions* MySQLServer(TObjs& o) { return o.MySQLServerOptions.get(); }
TMySQLCompareOptions* MySQLCompare(TObjs& o) {
  return o.MySQLServerOptions->MySQLCompareOptions.get();
}
TMySQLCompareOptions* MySQLCompareV(TVeltrane& v) { return v.MySQLCompareOptions.get(); }
TASAServerOptions* ASAServer(TObjs& o) { return o.ASAServerOptions.get(); }
TASACompareOptions* ASACompare(TObjs& o) { return o.ASAServerOptions->ASACompareOptions.get(); }
TASACompareOptions* ASACompareV(TVeltrane& v) { return v.ASACompareOptions.get(); }
TOracleServerOptions* OracleServer(TObjs& o) { return o.OracleServerOptions.get(); }
TPGSQLServerOptions* PGServer(TObjs& o) { return o.PGSQLServerOptions.get(); }
TDB2ServerOptions* DB2Server(TObjs& o) { return o.DB2ServerOptions.get(); }
TASEServerOptions* ASEServer(TObjs& o) { return o.ASEServerOptions.get(); }
TASECompareOptions* ASECompare(TObjs& o) { return o.ASEServerOptions->ASECompareOptions.get(); }
TASECompareOptions* ASECompareV(TVeltrane& v) { return v.ASECompareOptions.get(); }

// The SQL dialect is stored as its number, not as an index.
TSetting IBDialect() {
  return {"IB.SQLDialect", ValueList(DialectValues),
          [](TObjs& objs, int index, const std::string&) { objs.IBServerOptions->SQLDialect = index + 1; },
          nullptr};
}

const std::vector<TSetting>& Settings() {
  static const std::vector<TSetting> table = [] {
    std::vector<TSetting> t;
    t.push_back(ServerEnum("IB.SQLServerVersion", IBServer, &TIBServerOptions::SQLServerVersion,
                           ValueList(IBVersionValues)));
    t.push_back(IBDialect());
    t.push_back(ServerText("IB.DBCharSet", IBServer, &TIBServerOptions::DBCharSet));
    t.push_back(CompareBool("IB.DbCharsetCompare", IBCompare, IBCompareV,
                            &TIBCompareOptions::DbCharsetCompare));
    t.push_back(CompareBool("IB.FldCharsetCompare", IBCompare, IBCompareV,
                            &TIBCompareOptions::FldCharsetCompare));
    t.push_back(CompareEnum("IB.UpdateDescriptionMode", IBCompare, IBCompareV,
                            &TIBCompareOptions::UpdateDescriptionMode,
                            ValueList(DescriptionModeValues)));
    t.push_back(CompareBool("IB.ModifySystemTables", IBCompare, IBCompareV,
                            &TIBCompareOptions::ModifySystemTables));
    t.push_back(CompareBool("IB.GenerateCOMMIT", IBCompare, IBCompareV,
                            &TIBCompareOptions::GenerateCOMMIT));
    t.push_back(CompareBool("IB.UseRECONNECT", IBCompare, IBCompareV,
                            &TIBCompareOptions::UseRECONNECT));
    t.push_back(CompareBool("IB.AllowDataTypeConversion", IBCompare, IBCompareV,
                            &TIBCompareOptions::AllowDataTypeConversion));
    t.push_back(CompareBool("IB.UpdateFieldPosition", IBCompare, IBCompareV,
                            &TIBCompareOptions::UpdateFieldPosition));
    t.push_back(CompareBool("IB.ExtractOnlyComparedObjects", IBCompare, IBCompareV,
                            &TIBCompareOptions::ExtractOnlyComparedObjects));
    t.push_back(CompareBool("IB.IgnoreIBEObjects", IBCompare, IBCompareV,
                            &TIBCompareOptions::IgnoreIBEObjects));

    t.push_back(ServerEnum("MSSQL.SQLServerVersion", MSSQLServer,
                           &TMSSQLServerOptions::SQLServerVersion, ValueList(MSSQLVersionValues)));
    t.push_back(ServerText("MSSQL.DBCharSet", MSSQLServer, &TMSSQLServerOptions::DBCharSet));
    t.push_back(ServerText("MSSQL.Collation", MSSQLServer, &TMSSQLServerOptions::Collation));
    t.push_back(CompareBool("MSSQL.IgnoreFileGroup", MSSQLCompare, MSSQLCompareV,
                            &TMSSQLCompareOptions::IgnoreFileGroup));
    t.push_back(CompareBool("MSSQL.IgnoreSysName", MSSQLCompare, MSSQLCompareV,
                            &TMSSQLCompareOptions::IgnoreSysName));
    t.push_back(CompareBool("MSSQL.CaseSensitiveIdentifiers", MSSQLCompare, MSSQLCompareV,
                            &TMSSQLCompareOptions::CaseSensitiveIdentifiers));
    t.push_back(CompareBool("MSSQL.UpdateColumnPosition", MSSQLCompare, MSSQLCompareV,
                            &TMSSQLCompareOptions::UpdateColumnPosition));

    t.push_back(ServerEnum("MySQL.SQLServerVersion", MySQLServer,
                           &TMySQLServerOptions::SQLServerVersion, ValueList(MySQLVersionValues)));
    t.push_back(ServerText("MySQL.CharSet", MySQLServer, &TMySQLServerOptions::CharSet));
    t.push_back(ServerText("MySQL.Names", MySQLServer, &TMySQLServerOptions::Names));
    t.push_back(CompareBool("MySQL.CaseSensitiveIdentifiers", MySQLCompare, MySQLCompareV,
                            &TMySQLCompareOptions::CaseSensitiveIdentifiers));

    t.push_back(ServerEnum("ASA.SQLServerVersion", ASAServer, &TASAServerOptions::SQLServerVersion,
                           ValueList(ASAVersionValues)));
    t.push_back(CompareBool("ASA.CaseSensitiveIdentifiers", ASACompare, ASACompareV,
                            &TASACompareOptions::CaseSensitiveIdentifiers));

    t.push_back(ServerEnum("Oracle.SQLServerVersion", OracleServer,
                           &TOracleServerOptions::SQLServerVersion, ValueList(OracleVersionValues)));
    t.push_back(ServerEnum("PG.SQLServerVersion", PGServer, &TPGSQLServerOptions::SQLServerVersion,
                           ValueList(PGVersionValues)));
    t.push_back(ServerEnum("DB2.SQLServerVersion", DB2Server, &TDB2ServerOptions::SQLServerVersion,
                           ValueList(DB2VersionValues)));

    t.push_back(ServerEnum("ASE.SQLServerVersion", ASEServer, &TASEServerOptions::SQLServerVersion,
                           ValueList(ASEVersionValues)));
    t.push_back(CompareBool("ASE.IgnoreFileGroup", ASECompare, ASECompareV,
                            &TASECompareOptions::IgnoreFileGroup));
    t.push_back(CompareBool("ASE.IgnoreSysName", ASECompare, ASECompareV,
                            &TASECompareOptions::IgnoreSysName));
    t.push_back(CompareBool("ASE.CaseSensitiveIdentifiers", ASECompare, ASECompareV,
                            &TASECompareOptions::CaseSensitiveIdentifiers));
    t.push_back(CompareBool("ASE.CompareDBOptions", ASECompare, ASECompareV,
                            &TASECompareOptions::CompareDBOptions));
    return t;
  }();
  return table;
}

const TSetting* FindSetting(const std::string& name) {
  for (const TSetting& s : Settings())
    if (SameTextAscii(s.Name, name)) return &s;
  return nullptr;
}

std::string JoinComma(const std::vector<std::string>& items) {
  std::string text;
  for (const std::string& item : items) {
    if (!text.empty()) text += ", ";
    text += item;
  }
  return text;
}

}  // namespace

std::vector<std::string> PublishedOptionNames() {
  std::vector<std::string> names;
  for (const TSetting& s : Settings()) names.push_back(s.Name);
  return names;
}

std::vector<std::string> PublishedOptionValues(const std::string& name) {
  const TSetting* s = FindSetting(name);
  return s ? s->Values : std::vector<std::string>();
}

bool ApplyOptionSetting(const std::string& assignment, const std::vector<TObjs*>& containers,
                        TVeltrane* comparer, std::string& error) {
  const size_t eq = assignment.find('=');
  if (eq == std::string::npos) {
    error = "--set expects NAME=VALUE, got '" + assignment + "'";
    return false;
  }
  const std::string name = assignment.substr(0, eq);
  const std::string value = assignment.substr(eq + 1);
  const TSetting* s = FindSetting(name);
  if (!s) {
    error = "unknown option name '" + name + "'; valid names: " + JoinComma(PublishedOptionNames());
    return false;
  }
  int index = 0;
  if (!s->Values.empty()) {
    auto it = std::find_if(s->Values.begin(), s->Values.end(),
                           [&](const std::string& v) { return SameTextAscii(v, value); });
    if (it == s->Values.end()) {
      error = "invalid value '" + value + "' for " + s->Name + "; valid values: " +
              JoinComma(s->Values);
      return false;
    }
    index = static_cast<int>(it - s->Values.begin());
  }
  for (TObjs* objs : containers)
    if (objs) s->ApplyServer(*objs, index, value);
  if (comparer && s->ApplyComparer) s->ApplyComparer(*comparer, index);
  return true;
}
