#include "core/kvtDBOptions.h"

#include <gtest/gtest.h>

// ---------------------------------------------------------------------------
// Values after construction

TEST(DBOptions, ConstructionValues) {
  TConnectionOptions c;
  EXPECT_EQ(c.Protocol, ptTCP);
  EXPECT_EQ(c.Port, 0);
  EXPECT_TRUE(c.DatabaseName.empty());
  EXPECT_FALSE(c.UseWindowsAuthentication);

  TIBServerOptions ib;
  EXPECT_EQ(ib.SQLServerVersion, st_Firebird_25);
  EXPECT_EQ(ib.SQLServerVersion, 10);
  EXPECT_EQ(ib.SQLDialect, 3);
  EXPECT_TRUE(ib.DBCharSet.empty());
  const TIBCompareOptions& ic = *ib.IBCompareOptions;
  EXPECT_FALSE(ic.DbCharsetCompare);
  EXPECT_FALSE(ic.FldCharsetCompare);
  EXPECT_EQ(ic.UpdateDescriptionMode, udSysTables);
  EXPECT_FALSE(ic.ModifySystemTables);
  EXPECT_FALSE(ic.GenerateCOMMIT);
  EXPECT_TRUE(ic.UseRECONNECT);
  EXPECT_FALSE(ic.AllowDataTypeConversion);
  EXPECT_TRUE(ic.UpdateFieldPosition);
  EXPECT_TRUE(ic.ExtractOnlyComparedObjects);
  EXPECT_TRUE(ic.IgnoreIBEObjects);
  EXPECT_EQ(ib.IBDatabaseOptions->ODSMajor, 0);

  TMSSQLServerOptions ms;
  EXPECT_EQ(ms.SQLServerVersion, st_MSSQL2000);
  EXPECT_FALSE(ms.MSSQLCompareOptions->IgnoreFileGroup);
  EXPECT_TRUE(ms.MSSQLCompareOptions->IgnoreSysName);
  EXPECT_FALSE(ms.MSSQLCompareOptions->CaseSensitiveIdentifiers);
  EXPECT_FALSE(ms.MSSQLCompareOptions->UpdateColumnPosition);
  EXPECT_FALSE(ms.MSSQLDatabaseOptions->RecursiveTriggers);

  TMySQLServerOptions my;
  EXPECT_EQ(my.SQLServerVersion, st_MySQL_5x);
  EXPECT_TRUE(my.MySQLCompareOptions->CaseSensitiveIdentifiers);

  TASAServerOptions asa;
  EXPECT_EQ(asa.SQLServerVersion, st_ASA9);
  EXPECT_FALSE(asa.ASACompareOptions->CaseSensitiveIdentifiers);
  EXPECT_TRUE(asa.ASADatabaseOptions->Flag1);
  EXPECT_TRUE(asa.ASADatabaseOptions->Flag2);
  EXPECT_EQ(asa.ASADatabaseOptions->Statistics, 0);

  EXPECT_EQ(TOracleServerOptions().SQLServerVersion, st_Oracle_10x);
  EXPECT_EQ(TPGSQLServerOptions().SQLServerVersion, st_PostgreSQL_8x);
  EXPECT_EQ(TDB2ServerOptions().SQLServerVersion, st_DB2_8x);

  TASEServerOptions ase;
  EXPECT_EQ(ase.SQLServerVersion, st_ASE12);
  EXPECT_TRUE(ase.ASECompareOptions->IgnoreSysName);
  EXPECT_TRUE(ase.ASECompareOptions->CompareDBOptions);
  EXPECT_EQ(ase.ASEDatabaseOptions->DBOptions, 0);
}

// ---------------------------------------------------------------------------
// Reset

TEST(DBOptions, ConnectionClearSetsLocalProtocol) {
  TConnectionOptions c;
  c.DatabaseName = "db";
  c.Extra2 = "x";
  c.Port = 3050;
  c.UseWindowsAuthentication = true;
  c.ClientLibrary = "fbclient.dll";
  c.Clear();
  EXPECT_TRUE(c.DatabaseName.empty());
  EXPECT_TRUE(c.Extra2.empty());
  EXPECT_TRUE(c.ClientLibrary.empty());
  EXPECT_EQ(c.Port, 0);
  EXPECT_FALSE(c.UseWindowsAuthentication);
  EXPECT_EQ(c.Protocol, ptLocal);
}

TEST(DBOptions, IBClearKeepsVersionAndSomeSwitches) {
  TIBServerOptions ib;
  ib.SQLServerVersion = st_InterBase_75;
  ib.SQLDialect = 1;
  ib.DBCharSet = "win1252";
  ib.IBDatabaseOptions->PageSize = 8192;
  ib.IBDatabaseOptions->ServerVersionText = "WI-V2.5";
  ib.IBDatabaseOptions->ExtraText = "x";
  ib.IBDatabaseOptions->ODSMajor = ib.IBDatabaseOptions->ODSMinor = 11;
  ib.IBDatabaseOptions->ForcedWrites = ib.IBDatabaseOptions->ReadOnly = 1;
  ib.IBDatabaseOptions->SweepInterval = ib.IBDatabaseOptions->CachePages = 9;
  ib.IBDatabaseOptions->ExtraInt1 = ib.IBDatabaseOptions->ExtraInt2 = 2;
  ib.IBDatabaseOptions->DatabaseDialect = 3;
  TIBCompareOptions& c = *ib.IBCompareOptions;
  c.DbCharsetCompare = c.FldCharsetCompare = true;
  c.UpdateDescriptionMode = udComment;
  c.UseRECONNECT = c.UpdateFieldPosition = c.ExtractOnlyComparedObjects = c.IgnoreIBEObjects = false;
  c.ModifySystemTables = c.GenerateCOMMIT = c.AllowDataTypeConversion = true;

  ib.Clear();
  EXPECT_EQ(ib.SQLServerVersion, st_InterBase_75);
  EXPECT_EQ(ib.SQLDialect, 3);
  EXPECT_TRUE(ib.DBCharSet.empty());
  EXPECT_EQ(ib.IBDatabaseOptions->PageSize, 0);
  EXPECT_TRUE(ib.IBDatabaseOptions->ServerVersionText.empty());
  EXPECT_EQ(ib.GetDatabaseInfoText(), "");
  const TIBDatabaseOptions& d = *ib.IBDatabaseOptions;
  EXPECT_TRUE(d.ExtraText.empty());
  EXPECT_EQ(d.ODSMinor + d.ForcedWrites + d.ReadOnly + d.SweepInterval + d.CachePages +
                d.ExtraInt1 + d.ExtraInt2 + d.DatabaseDialect,
            0);
  EXPECT_FALSE(c.DbCharsetCompare);
  EXPECT_FALSE(c.FldCharsetCompare);
  EXPECT_EQ(c.UpdateDescriptionMode, udSysTables);
  EXPECT_TRUE(c.UseRECONNECT);
  EXPECT_TRUE(c.UpdateFieldPosition);
  EXPECT_TRUE(c.ExtractOnlyComparedObjects);
  EXPECT_TRUE(c.IgnoreIBEObjects);
  // These three survive a reset.
  EXPECT_TRUE(c.ModifySystemTables);
  EXPECT_TRUE(c.GenerateCOMMIT);
  EXPECT_TRUE(c.AllowDataTypeConversion);
}

TEST(DBOptions, OtherResetsKeepWhatTheyShould) {
  TMSSQLServerOptions ms;
  ms.SQLServerVersion = st_MSSQL2017;
  ms.DBCharSet = "cp1252";
  ms.MSSQLCompareOptions->CaseSensitiveIdentifiers = true;
  ms.MSSQLCompareOptions->IgnoreSysName = false;
  ms.MSSQLCompareOptions->UpdateColumnPosition = true;
  ms.MSSQLDatabaseOptions->Collation = "Latin1_General_CI_AS";
  ms.MSSQLDatabaseOptions->RecursiveTriggers = true;
  ms.MSSQLDatabaseOptions->CompatibilityLevel = 130;
  ms.MSSQLDatabaseOptions->Flag1 = ms.MSSQLDatabaseOptions->Flag3 = true;
  ms.MSSQLDatabaseOptions->ExtraInt = 7;
  ms.MSSQLCompareOptions->IgnoreFileGroup = true;
  ms.Clear();
  EXPECT_FALSE(ms.MSSQLDatabaseOptions->Flag1);
  EXPECT_FALSE(ms.MSSQLDatabaseOptions->Flag3);
  EXPECT_EQ(ms.MSSQLDatabaseOptions->ExtraInt, 0);
  EXPECT_FALSE(ms.MSSQLCompareOptions->IgnoreFileGroup);
  EXPECT_EQ(ms.SQLServerVersion, st_MSSQL2000);
  EXPECT_TRUE(ms.DBCharSet.empty());
  EXPECT_FALSE(ms.MSSQLCompareOptions->CaseSensitiveIdentifiers);
  EXPECT_TRUE(ms.MSSQLCompareOptions->IgnoreSysName);
  EXPECT_TRUE(ms.MSSQLCompareOptions->UpdateColumnPosition);
  EXPECT_TRUE(ms.MSSQLDatabaseOptions->Collation.empty());
  EXPECT_FALSE(ms.MSSQLDatabaseOptions->RecursiveTriggers);
  EXPECT_EQ(ms.MSSQLDatabaseOptions->CompatibilityLevel, 130);

  TASAServerOptions asa;
  asa.SQLServerVersion = st_ASA6;
  asa.ASADatabaseOptions->Flag1 = false;
  asa.ASADatabaseOptions->Statistics = 3;
  asa.ASADatabaseOptions->DateOrder = "DMY";
  asa.ASADatabaseOptions->ExtraText = "x";
  asa.ASACompareOptions->CaseSensitiveIdentifiers = true;
  asa.Clear();
  EXPECT_TRUE(asa.ASADatabaseOptions->ExtraText.empty());
  EXPECT_FALSE(asa.ASACompareOptions->CaseSensitiveIdentifiers);
  EXPECT_EQ(asa.SQLServerVersion, st_ASA9);
  EXPECT_TRUE(asa.ASADatabaseOptions->Flag1);
  EXPECT_EQ(asa.ASADatabaseOptions->Statistics, 0);
  EXPECT_TRUE(asa.ASADatabaseOptions->DateOrder.empty());

  TASEServerOptions ase;
  ase.SQLServerVersion = static_cast<TASEServerVersionType>(3);
  ase.ASECompareOptions->CompareDBOptions = false;
  ase.ASECompareOptions->IgnoreFileGroup = ase.ASECompareOptions->CaseSensitiveIdentifiers = true;
  ase.ASECompareOptions->IgnoreSysName = false;
  ase.ASEDatabaseOptions->SizeText = "100 MB";
  ase.ASEDatabaseOptions->ExtraInt3 = 4;
  ase.ASEDatabaseOptions->Flag3 = 1;
  ase.ASEDatabaseOptions->SetDBOption(12, true);
  ase.Clear();
  EXPECT_EQ(ase.SQLServerVersion, st_ASE12);
  EXPECT_TRUE(ase.ASECompareOptions->CompareDBOptions);
  EXPECT_FALSE(ase.ASECompareOptions->IgnoreFileGroup);
  EXPECT_FALSE(ase.ASECompareOptions->CaseSensitiveIdentifiers);
  EXPECT_TRUE(ase.ASECompareOptions->IgnoreSysName);
  EXPECT_TRUE(ase.ASEDatabaseOptions->SizeText.empty());
  EXPECT_EQ(ase.ASEDatabaseOptions->ExtraInt3, 0);
  EXPECT_EQ(ase.ASEDatabaseOptions->Flag3, 0);
  EXPECT_TRUE(ase.ASEDatabaseOptions->HasDBOption(12));  // untouched by reset

  TMySQLServerOptions my;
  my.SQLServerVersion = st_MariaDB_10x;
  my.Names = "utf8";
  my.MySQLCompareOptions->CaseSensitiveIdentifiers = false;
  my.Clear();
  EXPECT_EQ(my.SQLServerVersion, st_MySQL_5x);
  EXPECT_TRUE(my.Names.empty());
  EXPECT_TRUE(my.MySQLCompareOptions->CaseSensitiveIdentifiers);

  TPGSQLServerOptions pg;
  pg.SQLServerVersion = st_PostgreSQL_14x;
  pg.Clear();
  EXPECT_EQ(pg.SQLServerVersion, st_PostgreSQL_8x);
  TOracleServerOptions ora;
  ora.SQLServerVersion = st_Oracle_7x;
  ora.Clear();
  EXPECT_EQ(ora.SQLServerVersion, st_Oracle_10x);
  TDB2ServerOptions db2;
  db2.SQLServerVersion = st_DB2_11x;
  db2.Clear();
  EXPECT_EQ(db2.SQLServerVersion, st_DB2_8x);
}

// ---------------------------------------------------------------------------
// Assign

TEST(DBOptions, IBAssignCopiesAllButReconnectAndKeepsSubObjects) {
  TIBServerOptions src;
  src.SQLServerVersion = st_Firebird_40;
  src.SQLDialect = 1;
  src.DBCharSet = "utf8";
  src.IBCompareOptions->UseRECONNECT = false;
  src.IBCompareOptions->GenerateCOMMIT = true;
  src.IBCompareOptions->UpdateDescriptionMode = udDescribe;
  src.IBDatabaseOptions->ODSMajor = 12;
  src.IBDatabaseOptions->ExtraInt2 = 5;

  TIBServerOptions dst;
  const TIBCompareOptions* cmp = dst.IBCompareOptions.get();
  const TIBDatabaseOptions* db = dst.IBDatabaseOptions.get();
  dst.Assign(src);
  EXPECT_EQ(dst.IBCompareOptions.get(), cmp);
  EXPECT_EQ(dst.IBDatabaseOptions.get(), db);
  EXPECT_EQ(dst.SQLServerVersion, st_Firebird_40);
  EXPECT_EQ(dst.SQLDialect, 1);
  EXPECT_EQ(dst.DBCharSet, "UTF8");
  EXPECT_TRUE(dst.IBCompareOptions->UseRECONNECT);
  EXPECT_TRUE(dst.IBCompareOptions->GenerateCOMMIT);
  EXPECT_EQ(dst.IBCompareOptions->UpdateDescriptionMode, udDescribe);
  EXPECT_EQ(dst.IBDatabaseOptions->ODSMajor, 12);
  EXPECT_EQ(dst.IBDatabaseOptions->ExtraInt2, 5);

  // The setter copies values too.
  TIBCompareOptions other;
  other.IgnoreIBEObjects = false;
  dst.SetIBCompareOptions(other);
  EXPECT_EQ(dst.IBCompareOptions.get(), cmp);
  EXPECT_FALSE(dst.IBCompareOptions->IgnoreIBEObjects);
}

TEST(DBOptions, AssignCopiesEverythingElsewhere) {
  TConnectionOptions c1, c2;
  c1.DatabaseName = "d";
  c1.UserName = "u";
  c1.Password = "p";
  c1.RoleName = "r";
  c1.Extra1 = "e1";
  c1.Extra3 = "e3";
  c1.Port = 1;
  c1.HostName = "h";
  c1.Protocol = ptNamedPipe;
  c1.UseWindowsAuthentication = true;
  c1.ConnectionString = "cs";
  c1.ClientLibrary = "lib";
  c2.Assign(c1);
  EXPECT_EQ(c2.DatabaseName + c2.UserName + c2.Password + c2.RoleName + c2.Extra1 + c2.Extra3 +
                c2.HostName + c2.ConnectionString + c2.ClientLibrary,
            "dupre1e3hcslib");
  EXPECT_EQ(c2.Port, 1);
  EXPECT_EQ(c2.Protocol, ptNamedPipe);
  EXPECT_TRUE(c2.UseWindowsAuthentication);

  TMSSQLServerOptions m1, m2;
  m1.SQLServerVersion = st_MSSQL2019;
  m1.Collation = "c";
  m1.MSSQLCompareOptions->UpdateColumnPosition = true;
  m1.MSSQLDatabaseOptions->CompatibilityLevel = 150;
  m1.MSSQLDatabaseOptions->Flag2 = true;
  m2.Assign(m1);
  EXPECT_EQ(m2.SQLServerVersion, st_MSSQL2019);
  EXPECT_EQ(m2.Collation, "c");
  EXPECT_TRUE(m2.MSSQLCompareOptions->UpdateColumnPosition);
  EXPECT_EQ(m2.MSSQLDatabaseOptions->CompatibilityLevel, 150);
  EXPECT_TRUE(m2.MSSQLDatabaseOptions->Flag2);

  TASAServerOptions a1, a2;
  a1.SQLServerVersion = st_ASA7;
  a1.ASACompareOptions->CaseSensitiveIdentifiers = true;
  a1.ASADatabaseOptions->Flag2 = false;
  a1.ASADatabaseOptions->DateOrder = "YMD";
  a2.Assign(a1);
  EXPECT_EQ(a2.SQLServerVersion, st_ASA7);
  EXPECT_TRUE(a2.ASACompareOptions->CaseSensitiveIdentifiers);
  EXPECT_FALSE(a2.ASADatabaseOptions->Flag2);
  EXPECT_EQ(a2.ASADatabaseOptions->DateOrder, "YMD");

  TOracleServerOptions o1, o2;
  o1.SQLServerVersion = st_Oracle_19x;
  o2.Assign(o1);
  EXPECT_EQ(o2.SQLServerVersion, st_Oracle_19x);

  TPGSQLServerOptions p1, p2;
  p1.SQLServerVersion = st_PostgreSQL_12x;
  p2.Assign(p1);
  EXPECT_EQ(p2.SQLServerVersion, st_PostgreSQL_12x);
  TDB2ServerOptions d1, d2;
  d1.SQLServerVersion = st_DB2_10x;
  d2.Assign(d1);
  EXPECT_EQ(d2.SQLServerVersion, st_DB2_10x);

  TMySQLServerOptions y1, y2;
  y1.SQLServerVersion = st_MySQL_8x;
  y1.CharSet = "latin1";
  y1.Names = "utf8";
  y1.MySQLCompareOptions->CaseSensitiveIdentifiers = false;
  y2.Assign(y1);
  EXPECT_EQ(y2.SQLServerVersion, st_MySQL_8x);
  EXPECT_EQ(y2.CharSet + "/" + y2.Names, "latin1/utf8");
  EXPECT_FALSE(y2.MySQLCompareOptions->CaseSensitiveIdentifiers);
}

TEST(DBOptions, ASEAssignSkipsCompareDBOptionsAndOptionBits) {
  TASEServerOptions src, dst;
  src.ASECompareOptions->CompareDBOptions = false;
  src.ASECompareOptions->IgnoreFileGroup = true;
  src.ASEDatabaseOptions->OwnerText = "sa";
  src.ASEDatabaseOptions->Flag4 = 1;
  src.ASEDatabaseOptions->SetDBOption(0, true);
  dst.ASEDatabaseOptions->SetDBOption(14, true);
  dst.Assign(src);
  EXPECT_TRUE(dst.ASECompareOptions->CompareDBOptions);
  EXPECT_TRUE(dst.ASECompareOptions->IgnoreFileGroup);
  EXPECT_EQ(dst.ASEDatabaseOptions->OwnerText, "sa");
  EXPECT_EQ(dst.ASEDatabaseOptions->Flag4, 1);
  EXPECT_FALSE(dst.ASEDatabaseOptions->HasDBOption(0));
  EXPECT_TRUE(dst.ASEDatabaseOptions->HasDBOption(14));
}

TEST(DBOptions, AssignFromChecksClasses) {
  TIBServerOptions ib;
  TMSSQLServerOptions ms;
  std::string error;
  ms.SQLServerVersion = st_MSSQL2012;
  EXPECT_FALSE(ib.AssignFrom(ms, &error));
  EXPECT_EQ(error, "Cannot assign a TMSSQLServerOptions to a TIBServerOptions");
  EXPECT_EQ(ib.SQLServerVersion, st_Firebird_25);

  EXPECT_FALSE(ib.IBCompareOptions->AssignFrom(static_cast<const TOptionsBase*>(nullptr), &error));
  EXPECT_EQ(error, "Cannot assign a nil to a TIBCompareOptions");

  // Table options are plain data without a checked assignment.
  TMySQLTableOptions t, u;
  EXPECT_FALSE(t.AssignFrom(u, &error));
  EXPECT_EQ(error, "Cannot assign a TMySQLTableOptions to a TMySQLTableOptions");

  // A derived class is accepted in both directions.
  TIBSQLExecOptions exec;
  exec.SQLDialect = 2;
  EXPECT_TRUE(ib.AssignFrom(exec, &error));
  EXPECT_EQ(ib.SQLDialect, 2);
  ib.DBCharSet = "win1251";
  EXPECT_TRUE(exec.AssignFrom(ib));
  EXPECT_EQ(exec.DBCharSet, "WIN1251");
  EXPECT_STREQ(exec.ClassName(), "TIBSQLExecOptions");

  TConnectionOptions c1, c2;
  c1.HostName = "srv";
  EXPECT_TRUE(c2.AssignFrom(c1));
  EXPECT_EQ(c2.HostName, "srv");
}

// ---------------------------------------------------------------------------
// Names

TEST(DBOptions, ServerVersionNames) {
  struct Case {
    TServerType server;
    int version;
    const char* name;
  };
  const Case cases[] = {
      {srvInterBase, 0, "InterBase 4.x"},     {srvInterBase, st_Firebird_25, "FireBird 2.5"},
      {srvInterBase, 13, "InterBase 2020"},   {srvInterBase, 14, ""},
      {srvInterBase, -1, ""},                 {srvASA, st_ASA9, "ASA 9"},
      {srvMySQL, st_MariaDB_10x, "MariaDB 10.x"}, {srvMySQL, 2, "My SQL 5.x"},
      {srvOracle, st_Oracle_21x, "Oracle 21.x"},  {srvMSSQL, 0, "MS SQL 2000"},
      {srvMSSQL, 8, ""},                      {srvPostgreSQL, 7, "PostgreSQL 14.x"},
      {srvDB2, 3, "DB2 11.x"},                {srvASE, 0, "ASE 12"},
      {srvASE, 1, ""},                        {srvNone, 0, ""},
      {static_cast<TServerType>(9), 0, ""},
  };
  for (const Case& c : cases)
    EXPECT_STREQ(GetServerVersionName(c.server, c.version), c.name)
        << "server " << int(c.server) << " version " << c.version;
  EXPECT_EQ(GetServerVersionCount(srvInterBase), 14);
  EXPECT_EQ(GetServerVersionCount(srvNone), 0);
}

TEST(DBOptions, ASEOptionNames) {
  EXPECT_STREQ(GetASEDBOptionName(0), "abort tran on log full");
  EXPECT_STREQ(GetASEDBOptionName(11), "select into/bulkcopy/pllsort");
  EXPECT_STREQ(GetASEDBOptionName(14), "unique auto_identity index");
  EXPECT_STREQ(GetASEDBOptionName(15), "");
  EXPECT_STREQ(GetASEDBOptionName(-1), "");
  TASEDatabaseOptions d;
  d.SetDBOption(15, true);  // out of range: ignored
  EXPECT_EQ(d.DBOptions, 0);
}

// ---------------------------------------------------------------------------
// Texts

TEST(DBOptions, IBHeaderTexts) {
  TIBServerOptions ib;
  EXPECT_EQ(ib.GetSetNamesText(), "");
  ib.DBCharSet = "utf8";
  EXPECT_EQ(ib.DBCharSet.str(), "UTF8");
  EXPECT_EQ(ib.GetSetNamesText(), "SET NAMES UTF8");
  ib.DBCharSet = "none";
  EXPECT_EQ(ib.GetSetNamesText(), "");

  EXPECT_EQ(ib.GetDialectText(), "SET SQL DIALECT 3");
  ib.SQLDialect = 1;
  EXPECT_EQ(ib.GetDialectText(), "");
}

TEST(DBOptions, IBConnectText) {
  TIBServerOptions ib;
  TConnectionOptions c;
  EXPECT_EQ(ib.GetConnectText(c), "");
  c.UserName = "SYSDBA";  // no database: nothing
  EXPECT_EQ(ib.GetConnectText(c), "");
  c.UserName.clear();
  c.DatabaseName = "C:\\db\\o'neil.fdb";
  EXPECT_EQ(ib.GetConnectText(c), "CONNECT 'C:\\db\\o''neil.fdb'");
  c.UserName = "SYSDBA";
  c.Password = "master'key";
  c.RoleName = "ADMIN";
  EXPECT_EQ(ib.GetConnectText(c),
            "CONNECT 'C:\\db\\o''neil.fdb' USER 'SYSDBA' PASSWORD 'master''key' ROLE 'ADMIN'");
  c.Password.clear();
  EXPECT_EQ(ib.GetConnectText(c), "CONNECT 'C:\\db\\o''neil.fdb' USER 'SYSDBA' ROLE 'ADMIN'");
}

TEST(DBOptions, IBDatabaseInfoText) {
  TIBServerOptions ib;
  EXPECT_EQ(ib.GetDatabaseInfoText(), "");

  TIBDatabaseOptions& d = *ib.IBDatabaseOptions;
  d.ServerVersionText = "WI-V2.5.9";
  EXPECT_EQ(ib.GetDatabaseInfoText(), "/* Server version: WI-V2.5.9 \r\n*/");

  d.ServerVersionText.clear();
  d.DatabaseDialect = 3;
  d.ODSMajor = 11;
  d.ODSMinor = 2;
  d.ForcedWrites = 1;
  d.SweepInterval = 20000;
  d.PageSize = 4096;
  d.CachePages = 2048;
  EXPECT_EQ(ib.GetDatabaseInfoText(),
            "/* SQLDialect: 3. ODS: 11.2. Forced writes: On. Sweep inteval: 20000.\r\n"
            "   Page size: 4096. Cache pages: 2048 (8192 Kb). Read-only: False. */");

  d.ServerVersionText = "LI-V3.0";
  d.ForcedWrites = 0;
  d.ReadOnly = 1;
  d.CachePages = 3;  // 3 * 4096 / 1024 = 12
  EXPECT_EQ(ib.GetDatabaseInfoText(),
            "/* Server version: LI-V3.0 \r\n"
            "   SQLDialect: 3. ODS: 11.2. Forced writes: Off. Sweep inteval: 20000.\r\n"
            "   Page size: 4096. Cache pages: 3 (12 Kb). Read-only: True. */");
}

TEST(DBOptions, SupportsInt64) {
  TIBServerOptions ib;
  ib.SQLServerVersion = st_InterBase_5x;
  EXPECT_FALSE(ib.SupportsInt64());
  ib.IBDatabaseOptions->ODSMajor = 10;
  EXPECT_TRUE(ib.SupportsInt64());
  ib.IBDatabaseOptions->ODSMajor = 9;
  ib.SQLServerVersion = st_InterBase_6x;
  EXPECT_TRUE(ib.SupportsInt64());
}

TEST(DBOptions, MySQLTableOptionsText) {
  TMySQLTableOptions t;
  EXPECT_EQ(t.GetOptionsText(), "");
  t.MaxRows = 0;
  t.AutoIncrementStart = 100;  // never written
  EXPECT_EQ(t.GetOptionsText(), "");

  t.Engine = "InnoDB";
  EXPECT_EQ(t.GetOptionsText(), "\r\nENGINE=InnoDB");

  TMySQLTableOptions all;
  all.Engine = "MyISAM";
  all.AvgRowLength = -5;  // non-zero is enough here
  all.SetDefaultCharset("utf8");
  all.Checksum = 1;
  all.DefaultCollate = "utf8_bin";
  all.Comment = "it's";
  all.Connection = "c";
  all.DataDirectory = "/d";
  all.DelayKeyWrite = 1;
  all.IndexDirectory = "/i";
  all.InsertMethod = "LAST";
  all.KeyBlockSize = 8;
  all.MaxRows = 10;
  all.MinRows = -1;  // negative: not written
  all.PackKeys = "DEFAULT";
  all.Password = "pw";
  all.RowFormat = "DYNAMIC";
  EXPECT_EQ(all.GetOptionsText(),
            "\r\nENGINE=MyISAM\r\nAVG_ROW_LENGTH=-5\r\nDEFAULT CHARSET=utf8\r\nCHECKSUM=1"
            "\r\nDEFAULT COLLATE=utf8_bin\r\nCOMMENT='it''s'\r\nCONNECTION='c'"
            "\r\nDATA DIRECTORY='/d'\r\nDELAY_KEY_WRITE=1\r\nINDEX DIRECTORY='/i'"
            "\r\nINSERT_METHOD=LAST\r\nKEY_BLOCK_SIZE=8\r\nMAX_ROWS=10\r\nPACK_KEYS=DEFAULT"
            "\r\nPASSWORD='pw'\r\nROW_FORMAT=DYNAMIC");
}
