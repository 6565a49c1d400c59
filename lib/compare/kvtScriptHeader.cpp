#include "compare/kvtScriptHeader.h"

#include <string>

#include "core/kvtClasses.h"
#include "core/kvtDBOptions.h"
#include "core/kvtDBStructure.h"
#include "core/kvtTypes.h"
#include "script/kvtSQL_Exec.h"

namespace {

bool IsBlank(const std::string& text) {
  for (char c : text)
    if (static_cast<unsigned char>(c) > ' ') return false;
  return true;
}

void InterBaseHeader(TCustomSQLExec& exec, TObjs& target) {
  const TIBServerOptions& opts = *target.IBServerOptions;
  const std::string info = opts.GetDatabaseInfoText();
  if (!IsBlank(info)) exec.AddComment(info + "\r\n");
  exec.AddStatement(opts.GetSetNamesText(), skSetNames, opts.DBCharSet.str());
  // Dialect 2 has no statement of its own; dialect 1 is the server's default.
  if (opts.SQLDialect == 2 || opts.SQLDialect == 3)
    exec.AddStatement(opts.GetDialectText(), skSqlDialect, std::to_string(opts.SQLDialect));
  exec.AddStatement(opts.GetConnectText(*target.ConnectionOptions), skConnect);
  if (!opts.IBCompareOptions->GenerateCOMMIT) exec.AddStatement("SET AUTODDL ON", skSet);
}

void MySQLHeader(TCustomSQLExec& exec, TObjs& target) {
  const TMySQLServerOptions& opts = *target.MySQLServerOptions;
  const std::string& db = target.ConnectionOptions->DatabaseName;
  if (!opts.CharSet.empty()) exec.AddStatement("SET CHARACTER SET " + opts.CharSet, skCharSet);
  if (!opts.Names.empty()) exec.AddStatement("SET NAMES " + opts.Names, skSetNames);
  if (!db.empty()) exec.AddStatement("USE " + db, skConnect);
}

void MSSQLHeader(TCustomSQLExec& exec, TObjs& master, TObjs& target) {
  const TMSSQLServerOptions& opts = *target.MSSQLServerOptions;
  const std::string& db = target.ConnectionOptions->DatabaseName;
  if (!opts.DBCharSet.empty()) exec.AddComment("-- Default character set: " + opts.DBCharSet + "\r\n");
  if (!opts.Collation.empty()) exec.AddComment("-- Default collation: " + opts.Collation + "\r\n");
  if (!db.empty()) exec.AddStatement("USE " + db, skConnect);
  if (master.MSSQLServerOptions->MSSQLDatabaseOptions->RecursiveTriggers &&
      !opts.MSSQLDatabaseOptions->RecursiveTriggers) {
    // The name is quoted the way the target writes every identifier.
    TDbObj quoter(&target);
    exec.AddStatement("ALTER DATABASE " + quoter.QuoteName(db) + " SET RECURSIVE_TRIGGERS ON",
                      skStatement, db, dboDatabase, saAlter);
  }
}

void ASEHeader(TCustomSQLExec& exec, TObjs& master, TObjs& target, bool compareDBOptions) {
  const TASEDatabaseOptions& opts = *target.ASEServerOptions->ASEDatabaseOptions;
  const std::string& db = target.ConnectionOptions->DatabaseName;
  if (!opts.DeviceText.empty()) exec.AddComment("-- " + opts.DeviceText);
  if (!db.empty()) exec.AddComment("-- Database: " + db);
  if (!opts.SizeText.empty()) exec.AddComment("-- Size    : " + opts.SizeText);
  if (!opts.OwnerText.empty()) exec.AddComment("-- Owner   : " + opts.OwnerText);
  if (!opts.CreatedText.empty()) exec.AddComment("-- Created : " + opts.CreatedText);
  if (!opts.OptionsText.empty()) exec.AddComment("-- Options : " + opts.OptionsText);
  if (!opts.DeviceText.empty()) exec.AddComment("\r\n");
  if (!db.empty()) exec.AddStatement("use " + db, skConnect);

  if (!compareDBOptions || db.empty()) return;
  const TASEDatabaseOptions& masterOpts = *master.ASEServerOptions->ASEDatabaseOptions;
  for (int bit = 0; bit < ASEDBOptionCount; ++bit) {
    const bool on = masterOpts.HasDBOption(bit);
    if (on == opts.HasDBOption(bit)) continue;
    exec.AddStatement("exec master.dbo.sp_dboption " + db + ", " +
                          QuoteLiteral(GetASEDBOptionName(bit), srvASE) + ", " +
                          (on ? "True" : "False"),
                      skStatement, db, dboDatabase, saAlter);
  }
  if (masterOpts.DBOptions != opts.DBOptions)
    exec.AddStatement("checkpoint", skStatement, db, dboDatabase);
}

void OracleHeader(TCustomSQLExec& exec, TObjs& target) {
  const TConnectionOptions& conn = *target.ConnectionOptions;
  if (!conn.UserName.empty())
    exec.AddComment("-- CONNECT " + conn.UserName + "/*****" + "@" + conn.DatabaseName + ";");
  if (!conn.DatabaseName.empty() && conn.DatabaseName != conn.HostName)
    exec.AddStatement("ALTER SESSION SET CURRENT_SCHEMA = " + conn.DatabaseName, skSet);
}

}  // namespace

void WriteScriptHeaderStatements(TCustomSQLExec& exec, TObjs& master, TObjs& target,
                                 bool compareASEDBOptions) {
  switch (target.ServerType) {
    case srvInterBase:
      InterBaseHeader(exec, target);
      break;
    case srvMySQL:
      MySQLHeader(exec, target);
      break;
    case srvOracle:
      OracleHeader(exec, target);
      break;
    case srvMSSQL:
      MSSQLHeader(exec, master, target);
      break;
    case srvASE:
      ASEHeader(exec, master, target, compareASEDBOptions);
      break;
    default:  // SQL Anywhere, PostgreSQL, DB2: no header
      break;
  }
}

void WriteDatabaseCharsetUpdate(TCustomSQLExec& exec, TObjs& master, TObjs& target) {
  const TIBServerOptions& targetOpts = *target.IBServerOptions;
  std::string charset = master.IBServerOptions->DBCharSet.str();
  if (charset == targetOpts.DBCharSet.str()) return;

  const TIBSQLServerVersionType version = targetOpts.SQLServerVersion;
  // Firebird 3.0 brought ALTER DATABASE SET DEFAULT CHARACTER SET and made the
  // system tables read-only; before it (and on InterBase) the system table is
  // updated directly.
  const bool alterDatabase = version == st_Firebird_30 || version == st_Firebird_40;
  if (!charset.empty()) {
    if (alterDatabase) {
      exec.AddStatement("ALTER DATABASE SET DEFAULT CHARACTER SET " + charset, skStatement);
      exec.AddComment("/* Database charset: " + charset + " */\r\n");
    } else {
      exec.AddStatement(
          "UPDATE RDB$DATABASE SET RDB$CHARACTER_SET_NAME = " + QuoteLiteral(charset, srvInterBase),
          skStatement);
    }
  } else {
    if (alterDatabase) {
      exec.AddStatement("ALTER DATABASE SET DEFAULT CHARACTER SET NONE", skStatement);
      exec.AddComment("/* Database charset: <none> */\r\n");
    } else {
      exec.AddStatement("UPDATE RDB$DATABASE SET RDB$CHARACTER_SET_NAME = Null", skStatement);
    }
    charset = "NONE";
  }
  exec.AddStatement("SET NAMES " + charset, skCharSet);
  exec.AddReconnect();
}
