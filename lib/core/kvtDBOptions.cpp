#include "core/kvtDBOptions.h"

#include <cctype>
#include <cstdio>
#include <iterator>

// ---------------------------------------------------------------------------
// Server version names

namespace {

const char* const IBVersionNames[] = {
    "InterBase 4.x", "InterBase 5.x", "InterBase 6.x", "FireBird 1.x",   "Yaffil 1.x",
    "FireBird 1.5",  "InterBase 7.x", "InterBase 7.5", "FireBird 2.0",   "FireBird 2.1",
    "FireBird 2.5",  "FireBird 3.0",  "FireBird 4.0",  "InterBase 2020"};
const char* const ASAVersionNames[] = {"ASA 5", "ASA 6", "ASA 7", "ASA 8", "ASA 9"};
const char* const MySQLVersionNames[] = {"My SQL 3.x", "My SQL 4.x", "My SQL 5.x", "My SQL 8.x",
                                         "MariaDB 10.x"};
const char* const OracleVersionNames[] = {"Oracle 7.x",  "Oracle 8.x",  "Oracle 9.x",
                                          "Oracle 10.x", "Oracle 11.x", "Oracle 12.x",
                                          "Oracle 18.x", "Oracle 19.x", "Oracle 21.x"};
const char* const MSSQLVersionNames[] = {"MS SQL 2000", "MS SQL 2005", "MS SQL 2008",
                                         "MS SQL 2012", "MS SQL 2014", "MS SQL 2016",
                                         "MS SQL 2017", "MS SQL 2019"};
const char* const PGSQLVersionNames[] = {"PostgreSQL 7.x",  "PostgreSQL 8.x",  "PostgreSQL 9.x",
                                         "PostgreSQL 10.x", "PostgreSQL 11.x", "PostgreSQL 12.x",
                                         "PostgreSQL 13.x", "PostgreSQL 14.x"};
const char* const DB2VersionNames[] = {"DB2 8.x", "DB2 9.x", "DB2 10.x", "DB2 11.x"};
const char* const ASEVersionNames[] = {"ASE 12"};

static_assert(std::size(IBVersionNames) == st_InterBase_2020 + 1);
static_assert(std::size(ASAVersionNames) == st_ASA9 + 1);
static_assert(std::size(MySQLVersionNames) == st_MariaDB_10x + 1);
static_assert(std::size(OracleVersionNames) == st_Oracle_21x + 1);
static_assert(std::size(MSSQLVersionNames) == st_MSSQL2019 + 1);
static_assert(std::size(PGSQLVersionNames) == st_PostgreSQL_14x + 1);
static_assert(std::size(DB2VersionNames) == st_DB2_11x + 1);
static_assert(std::size(ASEVersionNames) == st_ASE12 + 1);

struct TNameList {
  const char* const* Names;
  int Count;
};

TNameList VersionNames(TServerType serverType) {
  switch (serverType) {
    case srvInterBase: return {IBVersionNames, static_cast<int>(std::size(IBVersionNames))};
    case srvASA: return {ASAVersionNames, static_cast<int>(std::size(ASAVersionNames))};
    case srvMySQL: return {MySQLVersionNames, static_cast<int>(std::size(MySQLVersionNames))};
    case srvOracle: return {OracleVersionNames, static_cast<int>(std::size(OracleVersionNames))};
    case srvMSSQL: return {MSSQLVersionNames, static_cast<int>(std::size(MSSQLVersionNames))};
    case srvPostgreSQL: return {PGSQLVersionNames, static_cast<int>(std::size(PGSQLVersionNames))};
    case srvDB2: return {DB2VersionNames, static_cast<int>(std::size(DB2VersionNames))};
    case srvASE: return {ASEVersionNames, static_cast<int>(std::size(ASEVersionNames))};
    default: return {nullptr, 0};
  }
}

// Single quotes around text, inner single quotes doubled.
std::string QuoteSingle(const std::string& text) {
  std::string r;
  r.reserve(text.size() + 2);
  r += '\'';
  for (char c : text) {
    if (c == '\'') r += '\'';
    r += c;
  }
  r += '\'';
  return r;
}

}  // namespace

const char* GetServerVersionName(TServerType serverType, int version) {
  const TNameList list = VersionNames(serverType);
  if (version < 0 || version >= list.Count) return "";
  return list.Names[version];
}

int GetServerVersionCount(TServerType serverType) { return VersionNames(serverType).Count; }

// ---------------------------------------------------------------------------
// Checked assignment

bool TOptionsBase::AssignFrom(const TOptionsBase& src, std::string* error) {
  if (&src == this) return true;
  if (AssignCompatible(src)) return true;
  if (error) *error = std::string("Cannot assign a ") + src.ClassName() + " to a " + ClassName();
  return false;
}

bool TOptionsBase::AssignFrom(const TOptionsBase* src, std::string* error) {
  if (src) return AssignFrom(*src, error);
  if (error) *error = std::string("Cannot assign a nil to a ") + ClassName();
  return false;
}

bool TOptionsBase::AssignCompatible(const TOptionsBase&) { return false; }

// Accepts a source of class T (or derived from it) and copies it by T::Assign.
#define KVT_ASSIGN_COMPATIBLE(T)                                   \
  bool T::AssignCompatible(const TOptionsBase& src) {              \
    if (const T* s = dynamic_cast<const T*>(&src)) {               \
      Assign(*s);                                                  \
      return true;                                                 \
    }                                                              \
    return false;                                                  \
  }

KVT_ASSIGN_COMPATIBLE(TConnectionOptions)
KVT_ASSIGN_COMPATIBLE(TIBCompareOptions)
KVT_ASSIGN_COMPATIBLE(TIBDatabaseOptions)
KVT_ASSIGN_COMPATIBLE(TIBServerOptions)
KVT_ASSIGN_COMPATIBLE(TMSSQLCompareOptions)
KVT_ASSIGN_COMPATIBLE(TMSSQLDatabaseOptions)
KVT_ASSIGN_COMPATIBLE(TMSSQLServerOptions)
KVT_ASSIGN_COMPATIBLE(TMySQLCompareOptions)
KVT_ASSIGN_COMPATIBLE(TMySQLServerOptions)
KVT_ASSIGN_COMPATIBLE(TASACompareOptions)
KVT_ASSIGN_COMPATIBLE(TASADatabaseOptions)
KVT_ASSIGN_COMPATIBLE(TASAServerOptions)
KVT_ASSIGN_COMPATIBLE(TOracleCompareOptions)
KVT_ASSIGN_COMPATIBLE(TOracleServerOptions)
KVT_ASSIGN_COMPATIBLE(TPgSQLCompareOptions)
KVT_ASSIGN_COMPATIBLE(TPGSQLServerOptions)
KVT_ASSIGN_COMPATIBLE(TDB2CompareOptions)
KVT_ASSIGN_COMPATIBLE(TDB2ServerOptions)
KVT_ASSIGN_COMPATIBLE(TASECompareOptions)
KVT_ASSIGN_COMPATIBLE(TASEDatabaseOptions)
KVT_ASSIGN_COMPATIBLE(TASEServerOptions)

#undef KVT_ASSIGN_COMPATIBLE

void TUpperString::Set(const std::string& s) {
  Value = s;
  for (char& c : Value) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
}

// ---------------------------------------------------------------------------
// Connection options

void TConnectionOptions::Clear() {
  DatabaseName.clear();
  UserName.clear();
  Password.clear();
  RoleName.clear();
  Extra1.clear();
  Extra2.clear();
  Extra3.clear();
  Port = 0;
  HostName.clear();
  Protocol = ptLocal;
  UseWindowsAuthentication = false;
  ConnectionString.clear();
  ClientLibrary.clear();
}

void TConnectionOptions::Assign(const TConnectionOptions& src) {
  if (&src == this) return;
  DatabaseName = src.DatabaseName;
  UserName = src.UserName;
  Password = src.Password;
  RoleName = src.RoleName;
  Extra1 = src.Extra1;
  Extra2 = src.Extra2;
  Extra3 = src.Extra3;
  Port = src.Port;
  HostName = src.HostName;
  Protocol = src.Protocol;
  UseWindowsAuthentication = src.UseWindowsAuthentication;
  ConnectionString = src.ConnectionString;
  ClientLibrary = src.ClientLibrary;
}

// ---------------------------------------------------------------------------
// InterBase / Firebird

void TIBCompareOptions::Clear() {
  UseRECONNECT = true;
  DbCharsetCompare = false;
  FldCharsetCompare = false;
  UpdateDescriptionMode = udSysTables;
  UpdateFieldPosition = true;
  ExtractOnlyComparedObjects = true;
  IgnoreIBEObjects = true;
}

void TIBCompareOptions::Assign(const TIBCompareOptions& src) {
  DbCharsetCompare = src.DbCharsetCompare;
  FldCharsetCompare = src.FldCharsetCompare;
  UpdateDescriptionMode = src.UpdateDescriptionMode;
  ModifySystemTables = src.ModifySystemTables;
  GenerateCOMMIT = src.GenerateCOMMIT;
  AllowDataTypeConversion = src.AllowDataTypeConversion;
  UpdateFieldPosition = src.UpdateFieldPosition;
  ExtractOnlyComparedObjects = src.ExtractOnlyComparedObjects;
  IgnoreIBEObjects = src.IgnoreIBEObjects;
}

void TIBDatabaseOptions::Clear() {
  ServerVersionText.clear();
  ExtraText.clear();
  ODSMajor = 0;
  ODSMinor = 0;
  PageSize = 0;
  ForcedWrites = 0;
  SweepInterval = 0;
  ReadOnly = 0;
  CachePages = 0;
  ExtraInt1 = 0;
  ExtraInt2 = 0;
  DatabaseDialect = 0;
}

void TIBDatabaseOptions::Assign(const TIBDatabaseOptions& src) {
  if (&src == this) return;
  ServerVersionText = src.ServerVersionText;
  ExtraText = src.ExtraText;
  ODSMajor = src.ODSMajor;
  ODSMinor = src.ODSMinor;
  PageSize = src.PageSize;
  ForcedWrites = src.ForcedWrites;
  SweepInterval = src.SweepInterval;
  ReadOnly = src.ReadOnly;
  CachePages = src.CachePages;
  ExtraInt1 = src.ExtraInt1;
  ExtraInt2 = src.ExtraInt2;
  DatabaseDialect = src.DatabaseDialect;
}

TIBServerOptions::TIBServerOptions()
    : IBCompareOptions(std::make_unique<TIBCompareOptions>()),
      IBDatabaseOptions(std::make_unique<TIBDatabaseOptions>()) {}

TIBServerOptions::~TIBServerOptions() = default;

void TIBServerOptions::Clear() {
  SQLDialect = 3;
  DBCharSet = "";
  IBDatabaseOptions->Clear();
  IBCompareOptions->Clear();
}

void TIBServerOptions::Assign(const TIBServerOptions& src) {
  if (&src == this) return;
  SQLServerVersion = src.SQLServerVersion;
  SQLDialect = src.SQLDialect;
  DBCharSet = src.DBCharSet.str();
  IBCompareOptions->Assign(*src.IBCompareOptions);
  IBDatabaseOptions->Assign(*src.IBDatabaseOptions);
}

std::string TIBServerOptions::GetSetNamesText() const {
  if (DBCharSet.empty() || DBCharSet == "NONE") return std::string();
  return "SET NAMES " + DBCharSet;
}

std::string TIBServerOptions::GetDialectText() const {
  return SQLDialect == 3 ? std::string("SET SQL DIALECT 3") : std::string();
}

std::string TIBServerOptions::GetConnectText(const TConnectionOptions& conn) const {
  if (conn.DatabaseName.empty()) return std::string();
  std::string r = "CONNECT " + QuoteSingle(conn.DatabaseName);
  if (!conn.UserName.empty()) r += " USER " + QuoteSingle(conn.UserName);
  if (!conn.Password.empty()) r += " PASSWORD " + QuoteSingle(conn.Password);
  if (!conn.RoleName.empty()) r += " ROLE " + QuoteSingle(conn.RoleName);
  return r;
}

std::string TIBServerOptions::GetDatabaseInfoText() const {
  const TIBDatabaseOptions& d = *IBDatabaseOptions;
  std::string r;
  if (!d.ServerVersionText.empty()) r += "   Server version: " + d.ServerVersionText + " \r\n";
  if (d.ODSMajor > 0) {
    // 64-bit product: cache pages times page size can exceed 32 bits.
    const long long cacheKb = static_cast<long long>(d.CachePages) * d.PageSize / 1024;
    char buf[512];
    std::snprintf(buf, sizeof buf,
                  "   SQLDialect: %d. ODS: %d.%d. Forced writes: %s. Sweep inteval: %d.\r\n"
                  "   Page size: %d. Cache pages: %d (%lld Kb). Read-only: %s. ",
                  d.DatabaseDialect, d.ODSMajor, d.ODSMinor, d.ForcedWrites != 0 ? "On" : "Off",
                  d.SweepInterval, d.PageSize, d.CachePages, cacheKb,
                  d.ReadOnly != 0 ? "True" : "False");
    r += buf;
  }
  if (r.empty()) return r;
  return "/*" + r.substr(2) + "*/";
}

bool TIBServerOptions::SupportsInt64() const {
  return IBDatabaseOptions->ODSMajor > 9 || SQLServerVersion > st_InterBase_5x;
}

// ---------------------------------------------------------------------------
// MS SQL Server

void TMSSQLCompareOptions::Clear() {
  IgnoreFileGroup = false;
  IgnoreSysName = true;
  CaseSensitiveIdentifiers = false;
}

void TMSSQLCompareOptions::Assign(const TMSSQLCompareOptions& src) {
  IgnoreFileGroup = src.IgnoreFileGroup;
  IgnoreSysName = src.IgnoreSysName;
  CaseSensitiveIdentifiers = src.CaseSensitiveIdentifiers;
  UpdateColumnPosition = src.UpdateColumnPosition;
}

void TMSSQLDatabaseOptions::Clear() {
  Collation.clear();
  Flag1 = false;
  Flag2 = false;
  Flag3 = false;
  RecursiveTriggers = false;
  ExtraInt = 0;
}

void TMSSQLDatabaseOptions::Assign(const TMSSQLDatabaseOptions& src) {
  if (&src == this) return;
  Collation = src.Collation;
  Flag1 = src.Flag1;
  Flag2 = src.Flag2;
  Flag3 = src.Flag3;
  RecursiveTriggers = src.RecursiveTriggers;
  ExtraInt = src.ExtraInt;
  CompatibilityLevel = src.CompatibilityLevel;
}

TMSSQLServerOptions::TMSSQLServerOptions()
    : MSSQLCompareOptions(std::make_unique<TMSSQLCompareOptions>()),
      MSSQLDatabaseOptions(std::make_unique<TMSSQLDatabaseOptions>()) {
  Clear();
}

TMSSQLServerOptions::~TMSSQLServerOptions() = default;

void TMSSQLServerOptions::Clear() {
  SQLServerVersion = st_MSSQL2000;
  DBCharSet.clear();
  Collation.clear();
  MSSQLCompareOptions->Clear();
  MSSQLDatabaseOptions->Clear();
}

void TMSSQLServerOptions::Assign(const TMSSQLServerOptions& src) {
  if (&src == this) return;
  DBCharSet = src.DBCharSet;
  Collation = src.Collation;
  SQLServerVersion = src.SQLServerVersion;
  MSSQLCompareOptions->Assign(*src.MSSQLCompareOptions);
  MSSQLDatabaseOptions->Assign(*src.MSSQLDatabaseOptions);
}

// ---------------------------------------------------------------------------
// MySQL

void TMySQLCompareOptions::Clear() { CaseSensitiveIdentifiers = true; }

void TMySQLCompareOptions::Assign(const TMySQLCompareOptions& src) {
  CaseSensitiveIdentifiers = src.CaseSensitiveIdentifiers;
}

TMySQLServerOptions::TMySQLServerOptions()
    : MySQLCompareOptions(std::make_unique<TMySQLCompareOptions>()) {
  Clear();
}

TMySQLServerOptions::~TMySQLServerOptions() = default;

void TMySQLServerOptions::Clear() {
  SQLServerVersion = st_MySQL_5x;
  CharSet.clear();
  Names.clear();
  MySQLCompareOptions->Clear();
}

void TMySQLServerOptions::Assign(const TMySQLServerOptions& src) {
  if (&src == this) return;
  SQLServerVersion = src.SQLServerVersion;
  CharSet = src.CharSet;
  Names = src.Names;
  MySQLCompareOptions->Assign(*src.MySQLCompareOptions);
}

std::string TMySQLTableOptions::GetOptionsText() const {
  std::string r;
  auto text = [&r](const char* key, const std::string& value) {
    if (!value.empty()) r += std::string("\r\n") + key + value;
  };
  auto quoted = [&r](const char* key, const std::string& value) {
    if (!value.empty()) r += std::string("\r\n") + key + QuoteSingle(value);
  };
  auto number = [&r](const char* key, int value) {
    if (value > 0) r += std::string("\r\n") + key + std::to_string(value);
  };
  text("ENGINE=", Engine);
  if (AvgRowLength != 0) r += "\r\nAVG_ROW_LENGTH=" + std::to_string(AvgRowLength);
  text("DEFAULT CHARSET=", DefaultCharset);
  number("CHECKSUM=", Checksum);
  text("DEFAULT COLLATE=", DefaultCollate);
  quoted("COMMENT=", Comment);
  quoted("CONNECTION=", Connection);
  quoted("DATA DIRECTORY=", DataDirectory);
  number("DELAY_KEY_WRITE=", DelayKeyWrite);
  quoted("INDEX DIRECTORY=", IndexDirectory);
  text("INSERT_METHOD=", InsertMethod);
  number("KEY_BLOCK_SIZE=", KeyBlockSize);
  number("MAX_ROWS=", MaxRows);
  number("MIN_ROWS=", MinRows);
  text("PACK_KEYS=", PackKeys);
  quoted("PASSWORD=", Password);
  text("ROW_FORMAT=", RowFormat);
  return r;
}

// ---------------------------------------------------------------------------
// SQL Anywhere

void TASACompareOptions::Clear() { CaseSensitiveIdentifiers = false; }

void TASACompareOptions::Assign(const TASACompareOptions& src) {
  CaseSensitiveIdentifiers = src.CaseSensitiveIdentifiers;
}

void TASADatabaseOptions::Clear() {
  Flag1 = true;
  Flag2 = true;
  ExtraText.clear();
  Statistics = 0;
  DateOrder.clear();
}

void TASADatabaseOptions::Assign(const TASADatabaseOptions& src) {
  if (&src == this) return;
  Flag1 = src.Flag1;
  Flag2 = src.Flag2;
  ExtraText = src.ExtraText;
  Statistics = src.Statistics;
  DateOrder = src.DateOrder;
}

TASAServerOptions::TASAServerOptions()
    : ASACompareOptions(std::make_unique<TASACompareOptions>()),
      ASADatabaseOptions(std::make_unique<TASADatabaseOptions>()) {}

TASAServerOptions::~TASAServerOptions() = default;

void TASAServerOptions::Clear() {
  SQLServerVersion = st_ASA9;
  ASACompareOptions->Clear();
  ASADatabaseOptions->Clear();
}

void TASAServerOptions::Assign(const TASAServerOptions& src) {
  if (&src == this) return;
  SQLServerVersion = src.SQLServerVersion;
  ASACompareOptions->Assign(*src.ASACompareOptions);
  ASADatabaseOptions->Assign(*src.ASADatabaseOptions);
}

// ---------------------------------------------------------------------------
// Oracle, PostgreSQL, DB2

TOracleServerOptions::TOracleServerOptions()
    : OracleCompareOptions(std::make_unique<TOracleCompareOptions>()) {}

TOracleServerOptions::~TOracleServerOptions() = default;

void TOracleServerOptions::Clear() {
  SQLServerVersion = st_Oracle_10x;
  OracleCompareOptions->Clear();
}

void TOracleServerOptions::Assign(const TOracleServerOptions& src) {
  SQLServerVersion = src.SQLServerVersion;
  OracleCompareOptions->Assign(*src.OracleCompareOptions);
}

TPGSQLServerOptions::TPGSQLServerOptions()
    : PGSQLCompareOptions(std::make_unique<TPgSQLCompareOptions>()) {}

TPGSQLServerOptions::~TPGSQLServerOptions() = default;

void TPGSQLServerOptions::Clear() {
  SQLServerVersion = st_PostgreSQL_8x;
  PGSQLCompareOptions->Clear();
}

void TPGSQLServerOptions::Assign(const TPGSQLServerOptions& src) {
  SQLServerVersion = src.SQLServerVersion;
  PGSQLCompareOptions->Assign(*src.PGSQLCompareOptions);
}

TDB2ServerOptions::TDB2ServerOptions()
    : DB2CompareOptions(std::make_unique<TDB2CompareOptions>()) {}

TDB2ServerOptions::~TDB2ServerOptions() = default;

void TDB2ServerOptions::Clear() {
  SQLServerVersion = st_DB2_8x;
  DB2CompareOptions->Clear();
}

void TDB2ServerOptions::Assign(const TDB2ServerOptions& src) {
  SQLServerVersion = src.SQLServerVersion;
  DB2CompareOptions->Assign(*src.DB2CompareOptions);
}

// ---------------------------------------------------------------------------
// Sybase ASE

void TASECompareOptions::Clear() {
  IgnoreFileGroup = false;
  IgnoreSysName = true;
  CaseSensitiveIdentifiers = false;
  CompareDBOptions = true;
}

void TASECompareOptions::Assign(const TASECompareOptions& src) {
  IgnoreFileGroup = src.IgnoreFileGroup;
  IgnoreSysName = src.IgnoreSysName;
  CaseSensitiveIdentifiers = src.CaseSensitiveIdentifiers;
}

const char* GetASEDBOptionName(int bit) {
  static const char* const names[ASEDBOptionCount] = {
      "abort tran on log full",      "allow nulls by default",
      "async log service",           "auto identity",
      "dbo use only",                "ddl in tran",
      "disable alias access",        "identity in nonunique index",
      "no chkpt on recovery",        "no free space acctg",
      "read only",                   "select into/bulkcopy/pllsort",
      "single user",                 "trunc log on chkpt",
      "unique auto_identity index"};
  return bit >= 0 && bit < ASEDBOptionCount ? names[bit] : "";
}

bool TASEDatabaseOptions::HasDBOption(int bit) const {
  return bit >= 0 && bit < ASEDBOptionCount && ((DBOptions >> bit) & 1u) != 0;
}

void TASEDatabaseOptions::SetDBOption(int bit, bool on) {
  if (bit < 0 || bit >= ASEDBOptionCount) return;
  const uint16_t mask = static_cast<uint16_t>(1u << bit);
  DBOptions = static_cast<uint16_t>(on ? (DBOptions | mask) : (DBOptions & ~mask));
}

void TASEDatabaseOptions::Clear() {
  DeviceText.clear();
  ExtraInt1 = 0;
  ExtraInt2 = 0;
  OptionsText.clear();
  SizeText.clear();
  OwnerText.clear();
  CreatedText.clear();
  ExtraText.clear();
  Flag1 = 0;
  Flag2 = 0;
  Flag3 = 0;
  Flag4 = 0;
  ExtraInt3 = 0;
}

void TASEDatabaseOptions::Assign(const TASEDatabaseOptions& src) {
  if (&src == this) return;
  DeviceText = src.DeviceText;
  ExtraInt1 = src.ExtraInt1;
  ExtraInt2 = src.ExtraInt2;
  OptionsText = src.OptionsText;
  SizeText = src.SizeText;
  OwnerText = src.OwnerText;
  CreatedText = src.CreatedText;
  ExtraText = src.ExtraText;
  Flag1 = src.Flag1;
  Flag2 = src.Flag2;
  Flag3 = src.Flag3;
  Flag4 = src.Flag4;
  ExtraInt3 = src.ExtraInt3;
}

TASEServerOptions::TASEServerOptions()
    : ASECompareOptions(std::make_unique<TASECompareOptions>()),
      ASEDatabaseOptions(std::make_unique<TASEDatabaseOptions>()) {}

TASEServerOptions::~TASEServerOptions() = default;

void TASEServerOptions::Clear() {
  SQLServerVersion = st_ASE12;
  ASECompareOptions->Clear();
  ASEDatabaseOptions->Clear();
}

void TASEServerOptions::Assign(const TASEServerOptions& src) {
  if (&src == this) return;
  SQLServerVersion = src.SQLServerVersion;
  ASECompareOptions->Assign(*src.ASECompareOptions);
  ASEDatabaseOptions->Assign(*src.ASEDatabaseOptions);
}
