// Option objects of a database structure: connection data, one server-options
// object per dialect with its compare options and database options, and the
// per-table options of MySQL tables.
//
// Option objects are values with identity: Assign copies another object of
// the same class into this one and keeps this one's owned sub-objects (they
// are assigned, never replaced). Owned sub-objects are held by const
// unique_ptr members, so `opts.IBCompareOptions->UpdateFieldPosition = false`
// works and the pointer itself cannot be swapped out; the Set... setters copy
// the given object's values into the owned one.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "core/kvtTypes.h"

// ---------------------------------------------------------------------------
// Server versions, one enumeration per dialect. The fixed underlying type
// keeps any integer a host or a parser stores well defined; names of values
// outside the list are empty (GetServerVersionName).

enum TIBSQLServerVersionType : int {
  st_InterBase_4x, st_InterBase_5x, st_InterBase_6x, st_FireBird_1x, st_Yaffil_1x,
  st_FireBird_15, st_InterBase_7x, st_InterBase_75, st_Firebird_20, st_Firebird_21,
  st_Firebird_25, st_Firebird_30, st_Firebird_40, st_InterBase_2020
};

enum TMSSQLServerVersionType : int {
  st_MSSQL2000, st_MSSQL2005, st_MSSQL2008, st_MSSQL2012, st_MSSQL2014, st_MSSQL2016,
  st_MSSQL2017, st_MSSQL2019
};

enum TMySQLServerVersionType : int {
  st_MySQL_3x, st_MySQL_4x, st_MySQL_5x, st_MySQL_8x, st_MariaDB_10x
};

enum TASAServerVersionType : int { st_ASA5, st_ASA6, st_ASA7, st_ASA8, st_ASA9 };

enum TOracleServerVersionType : int {
  st_Oracle_7x, st_Oracle_8x, st_Oracle_9x, st_Oracle_10x, st_Oracle_11x, st_Oracle_12x,
  st_Oracle_18x, st_Oracle_19x, st_Oracle_21x
};

enum TPGSQLServerVersionType : int {
  st_PostgreSQL_7x, st_PostgreSQL_8x, st_PostgreSQL_9x, st_PostgreSQL_10x, st_PostgreSQL_11x,
  st_PostgreSQL_12x, st_PostgreSQL_13x, st_PostgreSQL_14x
};

enum TDB2ServerVersionType : int { st_DB2_8x, st_DB2_9x, st_DB2_10x, st_DB2_11x };

enum TASEServerVersionType : int { st_ASE12 };

// InterBase/Firebird SQL dialect, 1..3.
using TIBSQLDialectType = int;

// Display name of a server version ("FireBird 2.5", "MS SQL 2000", ...).
// Empty for a negative value, a value past the end of the dialect's list, or
// a server type without versions.
const char* GetServerVersionName(TServerType serverType, int version);
// Number of named versions of a server type (0 for srvNone).
int GetServerVersionCount(TServerType serverType);

// ---------------------------------------------------------------------------
// Common base: class name and checked assignment between option objects.

class TOptionsBase {
 public:
  virtual ~TOptionsBase() = default;
  virtual const char* ClassName() const = 0;

  // Copies src into this object when src is of this object's class (or of a
  // class derived from it). Otherwise nothing changes, the result is false
  // and *error (when given) receives "Cannot assign a <src> to a <this>".
  // A null src reports "nil" as its class name.
  bool AssignFrom(const TOptionsBase& src, std::string* error = nullptr);
  bool AssignFrom(const TOptionsBase* src, std::string* error = nullptr);

 protected:
  TOptionsBase() = default;
  TOptionsBase(const TOptionsBase&) = default;
  TOptionsBase& operator=(const TOptionsBase&) = default;
  // Copies src when its class fits; false otherwise. The default accepts none.
  virtual bool AssignCompatible(const TOptionsBase& src);
};

// A string that upper-cases whatever is stored into it; reads like a const
// std::string.
class TUpperString {
 public:
  TUpperString() = default;
  TUpperString(const std::string& s) { Set(s); }  // NOLINT: implicit on purpose
  TUpperString(const char* s) { Set(s ? std::string(s) : std::string()); }  // NOLINT
  TUpperString& operator=(const std::string& s) { Set(s); return *this; }
  TUpperString& operator=(const char* s) { Set(s ? std::string(s) : std::string()); return *this; }

  operator const std::string&() const { return Value; }  // NOLINT
  const std::string& str() const { return Value; }
  const char* c_str() const { return Value.c_str(); }
  bool empty() const { return Value.empty(); }
  std::size_t size() const { return Value.size(); }

  friend bool operator==(const TUpperString& a, const TUpperString& b) { return a.Value == b.Value; }
  friend bool operator==(const TUpperString& a, const std::string& b) { return a.Value == b; }
  friend bool operator==(const TUpperString& a, const char* b) { return a.Value == b; }
  friend std::string operator+(const std::string& a, const TUpperString& b) { return a + b.Value; }
  friend std::string operator+(const TUpperString& a, const std::string& b) { return a.Value + b; }
  friend std::string operator+(const char* a, const TUpperString& b) { return a + b.Value; }
  friend std::string operator+(const TUpperString& a, const char* b) { return a.Value + b; }

 private:
  void Set(const std::string& s);
  std::string Value;
};

// ---------------------------------------------------------------------------
// Connection data a script declares (CONNECT, CREATE DATABASE, USE).

class TConnectionOptions : public TOptionsBase {
 public:
  TConnectionOptions() = default;
  TConnectionOptions(const TConnectionOptions&) = delete;
  TConnectionOptions& operator=(const TConnectionOptions&) = delete;
  const char* ClassName() const override { return "TConnectionOptions"; }

  // Every string empty, Port 0, no Windows authentication, Protocol ptLocal
  // (a new object starts with ptTCP).
  void Clear();
  void Assign(const TConnectionOptions& src);

  std::string DatabaseName;
  std::string UserName;
  std::string Password;
  std::string RoleName;
  // Kept for hosts; copied and cleared, never read by the library.
  std::string Extra1;
  std::string Extra2;
  std::string Extra3;
  int Port = 0;
  std::string HostName;
  TKVTProtocol Protocol = ptTCP;
  bool UseWindowsAuthentication = false;
  std::string ConnectionString;
  std::string ClientLibrary;

 protected:
  bool AssignCompatible(const TOptionsBase& src) override;
};

// ---------------------------------------------------------------------------
// InterBase / Firebird / Yaffil

class TIBCompareOptions : public TOptionsBase {
 public:
  TIBCompareOptions() = default;
  TIBCompareOptions(const TIBCompareOptions&) = delete;
  TIBCompareOptions& operator=(const TIBCompareOptions&) = delete;
  const char* ClassName() const override { return "TIBCompareOptions"; }

  // Restores every switch except ModifySystemTables, GenerateCOMMIT and
  // AllowDataTypeConversion, which keep their values.
  void Clear();
  // Copies every switch except UseRECONNECT.
  void Assign(const TIBCompareOptions& src);

  bool DbCharsetCompare = false;
  bool FldCharsetCompare = false;
  TUpdateDescriptionType UpdateDescriptionMode = udSysTables;
  bool ModifySystemTables = false;
  bool GenerateCOMMIT = false;
  bool UseRECONNECT = true;
  bool AllowDataTypeConversion = false;
  bool UpdateFieldPosition = true;
  bool ExtractOnlyComparedObjects = true;
  bool IgnoreIBEObjects = true;

 protected:
  bool AssignCompatible(const TOptionsBase& src) override;
};

// What is known about an InterBase/Firebird database itself.
class TIBDatabaseOptions : public TOptionsBase {
 public:
  TIBDatabaseOptions() = default;
  TIBDatabaseOptions(const TIBDatabaseOptions&) = delete;
  TIBDatabaseOptions& operator=(const TIBDatabaseOptions&) = delete;
  const char* ClassName() const override { return "TIBDatabaseOptions"; }

  void Clear();
  void Assign(const TIBDatabaseOptions& src);

  std::string ServerVersionText;
  std::string ExtraText;  // kept for hosts
  int ODSMajor = 0;
  int ODSMinor = 0;
  int PageSize = 0;
  int ForcedWrites = 0;  // non-zero: on
  int SweepInterval = 0;
  int ReadOnly = 0;      // non-zero: read-only
  int CachePages = 0;
  int ExtraInt1 = 0;     // kept for hosts
  int ExtraInt2 = 0;     // kept for hosts
  int DatabaseDialect = 0;

 protected:
  bool AssignCompatible(const TOptionsBase& src) override;
};

class TIBServerOptions : public TOptionsBase {
 public:
  TIBServerOptions();
  ~TIBServerOptions() override;
  TIBServerOptions(const TIBServerOptions&) = delete;
  TIBServerOptions& operator=(const TIBServerOptions&) = delete;
  const char* ClassName() const override { return "TIBServerOptions"; }

  // Dialect 3, no character set, database options cleared, compare options
  // reset; SQLServerVersion keeps its value.
  void Clear();
  // Copies version, dialect, character set and both sub-objects.
  void Assign(const TIBServerOptions& src);

  void SetIBCompareOptions(const TIBCompareOptions& v) { IBCompareOptions->Assign(v); }
  void SetIBDatabaseOptions(const TIBDatabaseOptions& v) { IBDatabaseOptions->Assign(v); }

  // "SET NAMES " + DBCharSet when set and not "NONE"; else empty.
  std::string GetSetNamesText() const;
  // "SET SQL DIALECT 3" in dialect 3; else empty.
  std::string GetDialectText() const;
  // CONNECT statement for the connection's database; empty without a name.
  std::string GetConnectText(const TConnectionOptions& conn) const;
  // Comment block describing the database options; empty when nothing is known.
  std::string GetDatabaseInfoText() const;
  // Whether 64-bit integers are available (later than InterBase 5 or ODS 10+).
  bool SupportsInt64() const;

  TIBSQLServerVersionType SQLServerVersion = st_Firebird_25;
  TIBSQLDialectType SQLDialect = 3;
  TUpperString DBCharSet;  // stored upper-cased
  const std::unique_ptr<TIBCompareOptions> IBCompareOptions;
  const std::unique_ptr<TIBDatabaseOptions> IBDatabaseOptions;

 protected:
  bool AssignCompatible(const TOptionsBase& src) override;
};

// The InterBase/Firebird options a statement list holds.
class TIBSQLExecOptions : public TIBServerOptions {
 public:
  const char* ClassName() const override { return "TIBSQLExecOptions"; }
};

// ---------------------------------------------------------------------------
// MS SQL Server

class TMSSQLCompareOptions : public TOptionsBase {
 public:
  TMSSQLCompareOptions() = default;
  TMSSQLCompareOptions(const TMSSQLCompareOptions&) = delete;
  TMSSQLCompareOptions& operator=(const TMSSQLCompareOptions&) = delete;
  const char* ClassName() const override { return "TMSSQLCompareOptions"; }

  // Restores the first three switches; UpdateColumnPosition keeps its value.
  void Clear();
  void Assign(const TMSSQLCompareOptions& src);

  bool IgnoreFileGroup = false;
  bool IgnoreSysName = true;
  // When false, names and schemas are stored upper-cased.
  bool CaseSensitiveIdentifiers = false;
  bool UpdateColumnPosition = false;

 protected:
  bool AssignCompatible(const TOptionsBase& src) override;
};

class TMSSQLDatabaseOptions : public TOptionsBase {
 public:
  TMSSQLDatabaseOptions() = default;
  TMSSQLDatabaseOptions(const TMSSQLDatabaseOptions&) = delete;
  TMSSQLDatabaseOptions& operator=(const TMSSQLDatabaseOptions&) = delete;
  const char* ClassName() const override { return "TMSSQLDatabaseOptions"; }

  // Clears everything except CompatibilityLevel.
  void Clear();
  void Assign(const TMSSQLDatabaseOptions& src);

  std::string Collation;
  bool Flag1 = false;  // kept for hosts
  bool Flag2 = false;  // kept for hosts
  bool Flag3 = false;  // kept for hosts
  bool RecursiveTriggers = false;
  int ExtraInt = 0;    // kept for hosts
  int CompatibilityLevel = 0;

 protected:
  bool AssignCompatible(const TOptionsBase& src) override;
};

class TMSSQLServerOptions : public TOptionsBase {
 public:
  TMSSQLServerOptions();
  ~TMSSQLServerOptions() override;
  TMSSQLServerOptions(const TMSSQLServerOptions&) = delete;
  TMSSQLServerOptions& operator=(const TMSSQLServerOptions&) = delete;
  const char* ClassName() const override { return "TMSSQLServerOptions"; }

  // Version st_MSSQL2000, strings empty, both sub-objects reset.
  void Clear();
  void Assign(const TMSSQLServerOptions& src);

  void SetMSSQLCompareOptions(const TMSSQLCompareOptions& v) { MSSQLCompareOptions->Assign(v); }
  void SetMSSQLDatabaseOptions(const TMSSQLDatabaseOptions& v) { MSSQLDatabaseOptions->Assign(v); }

  std::string DBCharSet;
  std::string Collation;
  TMSSQLServerVersionType SQLServerVersion = st_MSSQL2000;
  const std::unique_ptr<TMSSQLCompareOptions> MSSQLCompareOptions;
  const std::unique_ptr<TMSSQLDatabaseOptions> MSSQLDatabaseOptions;

 protected:
  bool AssignCompatible(const TOptionsBase& src) override;
};

// ---------------------------------------------------------------------------
// MySQL / MariaDB

class TMySQLCompareOptions : public TOptionsBase {
 public:
  TMySQLCompareOptions() = default;
  TMySQLCompareOptions(const TMySQLCompareOptions&) = delete;
  TMySQLCompareOptions& operator=(const TMySQLCompareOptions&) = delete;
  const char* ClassName() const override { return "TMySQLCompareOptions"; }

  void Clear();
  void Assign(const TMySQLCompareOptions& src);

  bool CaseSensitiveIdentifiers = true;

 protected:
  bool AssignCompatible(const TOptionsBase& src) override;
};

class TMySQLServerOptions : public TOptionsBase {
 public:
  TMySQLServerOptions();
  ~TMySQLServerOptions() override;
  TMySQLServerOptions(const TMySQLServerOptions&) = delete;
  TMySQLServerOptions& operator=(const TMySQLServerOptions&) = delete;
  const char* ClassName() const override { return "TMySQLServerOptions"; }

  void Clear();
  void Assign(const TMySQLServerOptions& src);

  void SetMySQLCompareOptions(const TMySQLCompareOptions& v) { MySQLCompareOptions->Assign(v); }

  TMySQLServerVersionType SQLServerVersion = st_MySQL_5x;
  std::string CharSet;
  std::string Names;
  const std::unique_ptr<TMySQLCompareOptions> MySQLCompareOptions;

 protected:
  bool AssignCompatible(const TOptionsBase& src) override;
};

// Table options of one MySQL table. Plain data: no reset and no checked
// assignment (AssignFrom always fails); copy it with = when needed.
class TMySQLTableOptions : public TOptionsBase {
 public:
  const char* ClassName() const override { return "TMySQLTableOptions"; }

  void SetDefaultCharset(const std::string& text) { DefaultCharset = text; }
  // The table-options clause: each set option on a line of its own, so the
  // result begins with CR LF whenever it is not empty.
  std::string GetOptionsText() const;

  std::string DefaultCharset;
  std::string Engine;
  int AutoIncrementStart = 0;  // not part of GetOptionsText
  int AvgRowLength = 0;
  int Checksum = 0;
  std::string DefaultCollate;
  std::string Comment;
  std::string Connection;
  std::string DataDirectory;
  int DelayKeyWrite = 0;
  std::string IndexDirectory;
  std::string InsertMethod;
  int KeyBlockSize = 0;
  int MaxRows = 0;
  int MinRows = 0;
  std::string PackKeys;
  std::string Password;
  std::string RowFormat;
};

// ---------------------------------------------------------------------------
// SQL Anywhere

class TASACompareOptions : public TOptionsBase {
 public:
  TASACompareOptions() = default;
  TASACompareOptions(const TASACompareOptions&) = delete;
  TASACompareOptions& operator=(const TASACompareOptions&) = delete;
  const char* ClassName() const override { return "TASACompareOptions"; }

  void Clear();
  void Assign(const TASACompareOptions& src);

  bool CaseSensitiveIdentifiers = false;

 protected:
  bool AssignCompatible(const TOptionsBase& src) override;
};

class TASADatabaseOptions : public TOptionsBase {
 public:
  TASADatabaseOptions() = default;
  TASADatabaseOptions(const TASADatabaseOptions&) = delete;
  TASADatabaseOptions& operator=(const TASADatabaseOptions&) = delete;
  const char* ClassName() const override { return "TASADatabaseOptions"; }

  void Clear();
  void Assign(const TASADatabaseOptions& src);

  bool Flag1 = true;      // kept for hosts
  bool Flag2 = true;      // kept for hosts
  std::string ExtraText;  // kept for hosts
  int Statistics = 0;
  std::string DateOrder;

 protected:
  bool AssignCompatible(const TOptionsBase& src) override;
};

class TASAServerOptions : public TOptionsBase {
 public:
  TASAServerOptions();
  ~TASAServerOptions() override;
  TASAServerOptions(const TASAServerOptions&) = delete;
  TASAServerOptions& operator=(const TASAServerOptions&) = delete;
  const char* ClassName() const override { return "TASAServerOptions"; }

  void Clear();
  void Assign(const TASAServerOptions& src);

  void SetASACompareOptions(const TASACompareOptions& v) { ASACompareOptions->Assign(v); }
  void SetASADatabaseOptions(const TASADatabaseOptions& v) { ASADatabaseOptions->Assign(v); }

  TASAServerVersionType SQLServerVersion = st_ASA9;
  const std::unique_ptr<TASACompareOptions> ASACompareOptions;
  const std::unique_ptr<TASADatabaseOptions> ASADatabaseOptions;

 protected:
  bool AssignCompatible(const TOptionsBase& src) override;
};

// ---------------------------------------------------------------------------
// Oracle, PostgreSQL, DB2: compare options without switches yet.

class TOracleCompareOptions : public TOptionsBase {
 public:
  TOracleCompareOptions() = default;
  TOracleCompareOptions(const TOracleCompareOptions&) = delete;
  TOracleCompareOptions& operator=(const TOracleCompareOptions&) = delete;
  const char* ClassName() const override { return "TOracleCompareOptions"; }
  void Clear() {}
  void Assign(const TOracleCompareOptions&) {}

 protected:
  bool AssignCompatible(const TOptionsBase& src) override;
};

class TOracleServerOptions : public TOptionsBase {
 public:
  TOracleServerOptions();
  ~TOracleServerOptions() override;
  TOracleServerOptions(const TOracleServerOptions&) = delete;
  TOracleServerOptions& operator=(const TOracleServerOptions&) = delete;
  const char* ClassName() const override { return "TOracleServerOptions"; }

  void Clear();
  void Assign(const TOracleServerOptions& src);
  void SetOracleCompareOptions(const TOracleCompareOptions& v) { OracleCompareOptions->Assign(v); }

  TOracleServerVersionType SQLServerVersion = st_Oracle_10x;
  const std::unique_ptr<TOracleCompareOptions> OracleCompareOptions;

 protected:
  bool AssignCompatible(const TOptionsBase& src) override;
};

class TPgSQLCompareOptions : public TOptionsBase {
 public:
  TPgSQLCompareOptions() = default;
  TPgSQLCompareOptions(const TPgSQLCompareOptions&) = delete;
  TPgSQLCompareOptions& operator=(const TPgSQLCompareOptions&) = delete;
  const char* ClassName() const override { return "TPgSQLCompareOptions"; }
  void Clear() {}
  void Assign(const TPgSQLCompareOptions&) {}

 protected:
  bool AssignCompatible(const TOptionsBase& src) override;
};

class TPGSQLServerOptions : public TOptionsBase {
 public:
  TPGSQLServerOptions();
  ~TPGSQLServerOptions() override;
  TPGSQLServerOptions(const TPGSQLServerOptions&) = delete;
  TPGSQLServerOptions& operator=(const TPGSQLServerOptions&) = delete;
  const char* ClassName() const override { return "TPGSQLServerOptions"; }

  void Clear();
  void Assign(const TPGSQLServerOptions& src);
  void SetPGSQLCompareOptions(const TPgSQLCompareOptions& v) { PGSQLCompareOptions->Assign(v); }

  TPGSQLServerVersionType SQLServerVersion = st_PostgreSQL_8x;
  const std::unique_ptr<TPgSQLCompareOptions> PGSQLCompareOptions;

 protected:
  bool AssignCompatible(const TOptionsBase& src) override;
};

class TDB2CompareOptions : public TOptionsBase {
 public:
  TDB2CompareOptions() = default;
  TDB2CompareOptions(const TDB2CompareOptions&) = delete;
  TDB2CompareOptions& operator=(const TDB2CompareOptions&) = delete;
  const char* ClassName() const override { return "TDB2CompareOptions"; }
  void Clear() {}
  void Assign(const TDB2CompareOptions&) {}

 protected:
  bool AssignCompatible(const TOptionsBase& src) override;
};

class TDB2ServerOptions : public TOptionsBase {
 public:
  TDB2ServerOptions();
  ~TDB2ServerOptions() override;
  TDB2ServerOptions(const TDB2ServerOptions&) = delete;
  TDB2ServerOptions& operator=(const TDB2ServerOptions&) = delete;
  const char* ClassName() const override { return "TDB2ServerOptions"; }

  void Clear();
  void Assign(const TDB2ServerOptions& src);
  void SetDB2CompareOptions(const TDB2CompareOptions& v) { DB2CompareOptions->Assign(v); }

  TDB2ServerVersionType SQLServerVersion = st_DB2_8x;
  const std::unique_ptr<TDB2CompareOptions> DB2CompareOptions;

 protected:
  bool AssignCompatible(const TOptionsBase& src) override;
};

// ---------------------------------------------------------------------------
// Sybase ASE

class TASECompareOptions : public TOptionsBase {
 public:
  TASECompareOptions() = default;
  TASECompareOptions(const TASECompareOptions&) = delete;
  TASECompareOptions& operator=(const TASECompareOptions&) = delete;
  const char* ClassName() const override { return "TASECompareOptions"; }

  // Restores all four switches.
  void Clear();
  // Copies all but CompareDBOptions.
  void Assign(const TASECompareOptions& src);

  bool IgnoreFileGroup = false;
  bool IgnoreSysName = true;
  bool CaseSensitiveIdentifiers = false;
  bool CompareDBOptions = true;

 protected:
  bool AssignCompatible(const TOptionsBase& src) override;
};

// Number of ASE database options (bits of TASEDatabaseOptions::DBOptions).
inline constexpr int ASEDBOptionCount = 15;
// "abort tran on log full" ... "unique auto_identity index" by bit number;
// empty for any other number.
const char* GetASEDBOptionName(int bit);

class TASEDatabaseOptions : public TOptionsBase {
 public:
  TASEDatabaseOptions() = default;
  TASEDatabaseOptions(const TASEDatabaseOptions&) = delete;
  TASEDatabaseOptions& operator=(const TASEDatabaseOptions&) = delete;
  const char* ClassName() const override { return "TASEDatabaseOptions"; }

  // Clear and Assign cover every field except DBOptions.
  void Clear();
  void Assign(const TASEDatabaseOptions& src);

  bool HasDBOption(int bit) const;
  void SetDBOption(int bit, bool on);

  std::string DeviceText;    // heading of the script header
  int ExtraInt1 = 0;         // kept for hosts
  int ExtraInt2 = 0;         // kept for hosts
  std::string OptionsText;
  std::string SizeText;
  std::string OwnerText;
  std::string CreatedText;
  std::string ExtraText;     // kept for hosts
  uint8_t Flag1 = 0;         // kept for hosts
  uint8_t Flag2 = 0;
  uint8_t Flag3 = 0;
  uint8_t Flag4 = 0;
  int ExtraInt3 = 0;         // kept for hosts
  uint16_t DBOptions = 0;    // bit i: option GetASEDBOptionName(i)

 protected:
  bool AssignCompatible(const TOptionsBase& src) override;
};

class TASEServerOptions : public TOptionsBase {
 public:
  TASEServerOptions();
  ~TASEServerOptions() override;
  TASEServerOptions(const TASEServerOptions&) = delete;
  TASEServerOptions& operator=(const TASEServerOptions&) = delete;
  const char* ClassName() const override { return "TASEServerOptions"; }

  void Clear();
  void Assign(const TASEServerOptions& src);

  void SetASECompareOptions(const TASECompareOptions& v) { ASECompareOptions->Assign(v); }
  void SetASEDatabaseOptions(const TASEDatabaseOptions& v) { ASEDatabaseOptions->Assign(v); }

  TASEServerVersionType SQLServerVersion = st_ASE12;
  const std::unique_ptr<TASECompareOptions> ASECompareOptions;
  const std::unique_ptr<TASEDatabaseOptions> ASEDatabaseOptions;

 protected:
  bool AssignCompatible(const TOptionsBase& src) override;
};
