// A whole run on generated scripts as users have them: per table eleven
// columns, a primary key, a foreign key to the table before it, a CHECK
// constraint, an index, a view, a selectable procedure and a trigger with
// PSQL bodies, and a description; about 15 MB for 10 000 tables. The master differs from the
// target in a few percent of the tables (a retyped column, a new column, a
// changed procedure body).
//
// The MySQL pair is a dump as mariadb-dump writes it: version comments, per
// table ten columns, a primary key, an index, a unique key, a foreign key,
// table options, and per table a view, a trigger and a procedure between
// DELIMITER lines; about 18 MB for 10 000 tables, with the same kind of
// differences.
//
// BM_Extract... reads one script (bytes per second is the parser's
// throughput); BM_Run... extracts both sides and compares, reporting the
// time of each step (target extract, master extract, compare with the
// rendering of the script) and the process's peak memory.
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "compare/kvtVeltrane.h"
#include "core/kvtDBStructure.h"
#include "extract/kvtIBScriptExtract.h"
#include "extract/kvtMySQLScriptExtract.h"
#include "script/kvtSQL_Exec.h"

namespace {

std::string FirebirdScript(int tables, bool master) {
  std::string s;
  s.reserve(static_cast<size_t>(tables) * 1700);
  s += "SET SQL DIALECT 3;\r\n\r\nCREATE GENERATOR G_ORDERS;\r\n\r\n";
  char n[16];
  for (int t = 0; t < tables; ++t) {
    std::snprintf(n, sizeof n, "%05d", t);
    const std::string tbl = std::string("ORDERS_") + n;
    const bool retyped = master && t % 20 == 7;
    const bool added = master && t % 50 == 11;
    s += "CREATE TABLE " + tbl + " (\r\n";
    s += "  ID INTEGER NOT NULL,\r\n";
    s += "  CUSTOMER_ID INTEGER NOT NULL,\r\n";
    s += "  NAME VARCHAR(80) CHARACTER SET UTF8,\r\n";
    s += std::string("  AMOUNT ") + (retyped ? "NUMERIC(18, 4)" : "NUMERIC(15, 2)") + " DEFAULT 0,\r\n";
    s += "  CREATED TIMESTAMP,\r\n";
    s += "  STATUS CHAR(1) DEFAULT 'N' NOT NULL,\r\n";
    s += "  NOTE VARCHAR(250),\r\n";
    s += "  WEIGHT DOUBLE PRECISION,\r\n";
    s += "  SHIPPED DATE,\r\n";
    if (added) s += "  PRIORITY SMALLINT,\r\n";
    s += "  REMARKS BLOB SUB_TYPE 1,\r\n";
    s += "  CONSTRAINT PK_" + tbl + " PRIMARY KEY (ID)\r\n);\r\n";
    s += "CREATE INDEX IX_" + tbl + " ON " + tbl + " (CUSTOMER_ID, CREATED);\r\n";
    if (t > 0) {
      std::snprintf(n, sizeof n, "%05d", t - 1);
      s += "ALTER TABLE " + tbl + " ADD CONSTRAINT FK_" + tbl + " FOREIGN KEY (CUSTOMER_ID) REFERENCES ORDERS_" +
           n + " (ID) ON DELETE CASCADE;\r\n";
    }
    s += "ALTER TABLE " + tbl + " ADD CONSTRAINT CHK_" + tbl + " CHECK (AMOUNT >= 0 AND STATUS IN ('N', 'S', 'X'));\r\n";
    s += "COMMENT ON TABLE " + tbl + " IS 'Orders of the customers of region " + tbl.substr(7) + "';\r\n";
    s += "CREATE VIEW V_" + tbl + " (ID, NAME, AMOUNT) AS\r\n  SELECT ID, NAME, AMOUNT FROM " + tbl +
         " WHERE STATUS = 'N';\r\n";
    s += "SET TERM ^ ;\r\n";
    s += "CREATE PROCEDURE P_" + tbl + " (A_CUSTOMER INTEGER)\r\nRETURNS (O_ID INTEGER, O_AMOUNT NUMERIC(15, 2))\r\nAS\r\n"
         "DECLARE VARIABLE V_TOTAL NUMERIC(18, 2) = 0;\r\nBEGIN\r\n";
    s += "  FOR SELECT ID, AMOUNT FROM " + tbl + " WHERE CUSTOMER_ID = :A_CUSTOMER";
    s += master && t % 25 == 3 ? " AND STATUS <> 'X'" : "";
    s += " ORDER BY CREATED\r\n    INTO :O_ID, :O_AMOUNT\r\n  DO\r\n  BEGIN\r\n"
         "    V_TOTAL = V_TOTAL + COALESCE(:O_AMOUNT, 0);\r\n"
         "    IF (V_TOTAL > 100000) THEN EXIT;\r\n    SUSPEND;\r\n  END\r\nEND^\r\n";
    s += "CREATE TRIGGER TR_" + tbl + " FOR " + tbl +
         " ACTIVE BEFORE INSERT OR UPDATE POSITION 0 AS\r\nBEGIN\r\n"
         "  IF (NEW.ID IS NULL) THEN NEW.ID = GEN_ID(G_ORDERS, 1);\r\n"
         "  IF (NEW.CREATED IS NULL) THEN NEW.CREATED = CURRENT_TIMESTAMP;\r\n"
         "  NEW.STATUS = UPPER(COALESCE(NEW.STATUS, 'N'));\r\nEND^\r\n";
    s += "SET TERM ; ^\r\n\r\n";
  }
  return s;
}

std::string MySQLScript(int tables, bool master) {
  std::string s;
  s.reserve(static_cast<size_t>(tables) * 1900);
  s += "/*!40101 SET @OLD_CHARACTER_SET_CLIENT=@@CHARACTER_SET_CLIENT */;\r\n"
       "/*!40101 SET NAMES utf8mb4 */;\r\n"
       "/*!40014 SET @OLD_FOREIGN_KEY_CHECKS=@@FOREIGN_KEY_CHECKS, FOREIGN_KEY_CHECKS=0 */;\r\n\r\n";
  char n[16];
  for (int t = 0; t < tables; ++t) {
    std::snprintf(n, sizeof n, "%05d", t);
    const std::string tbl = std::string("orders_") + n;
    const bool retyped = master && t % 20 == 7;
    const bool added = master && t % 50 == 11;
    s += "DROP TABLE IF EXISTS `" + tbl + "`;\r\n";
    s += "/*!40101 SET @saved_cs_client     = @@character_set_client */;\r\n";
    s += "CREATE TABLE `" + tbl + "` (\r\n";
    s += "  `id` int(11) NOT NULL AUTO_INCREMENT,\r\n";
    s += "  `customer_id` int(11) NOT NULL,\r\n";
    s += "  `name` varchar(80) CHARACTER SET utf8mb4 COLLATE utf8mb4_unicode_ci DEFAULT NULL,\r\n";
    s += std::string("  `amount` ") + (retyped ? "decimal(18,4)" : "decimal(15,2)") + " NOT NULL DEFAULT 0.00,\r\n";
    s += "  `created` timestamp NOT NULL DEFAULT current_timestamp() ON UPDATE current_timestamp(),\r\n";
    s += "  `status` enum('N','S','X') NOT NULL DEFAULT 'N',\r\n";
    s += "  `note` varchar(250) DEFAULT NULL COMMENT 'free text',\r\n";
    s += "  `weight` double DEFAULT NULL,\r\n";
    if (added) s += "  `priority` smallint(6) DEFAULT NULL,\r\n";
    s += "  `code` char(12) NOT NULL,\r\n";
    s += "  `remarks` text DEFAULT NULL,\r\n";
    s += "  PRIMARY KEY (`id`),\r\n";
    s += "  UNIQUE KEY `uq_" + tbl + "` (`code`),\r\n";
    s += "  KEY `ix_" + tbl + "` (`customer_id`,`created`)";
    if (t > 0) {
      std::snprintf(n, sizeof n, "%05d", t - 1);
      s += ",\r\n  CONSTRAINT `fk_" + tbl + "` FOREIGN KEY (`customer_id`) REFERENCES `orders_" + n +
           "` (`id`) ON DELETE CASCADE";
    }
    s += "\r\n) ENGINE=InnoDB AUTO_INCREMENT=17 DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_general_ci"
         " COMMENT='Orders of region " + tbl.substr(7) + "';\r\n";
    s += "/*!40101 SET character_set_client = @saved_cs_client */;\r\n\r\n";
    s += "/*!50001 CREATE ALGORITHM=UNDEFINED */\r\n/*!50013 DEFINER=`root`@`localhost` SQL SECURITY DEFINER */\r\n"
         "/*!50001 VIEW `v_" + tbl + "` AS select `" + tbl + "`.`id` AS `id`,`" + tbl + "`.`name` AS `name`,`" + tbl +
         "`.`amount` AS `amount` from `" + tbl + "` where `" + tbl + "`.`status` = 'N' */;\r\n\r\n";
    s += "DELIMITER ;;\r\n";
    s += "/*!50003 CREATE*/ /*!50017 DEFINER=`root`@`localhost`*/ /*!50003 TRIGGER `tr_" + tbl +
         "` BEFORE INSERT ON `" + tbl + "` FOR EACH ROW BEGIN\r\n"
         "  IF NEW.created IS NULL THEN SET NEW.created = CURRENT_TIMESTAMP; END IF;\r\n"
         "  SET NEW.status = UPPER(COALESCE(NEW.status, 'N'));\r\nEND */;;\r\n";
    s += "CREATE DEFINER=`root`@`localhost` PROCEDURE `p_" + tbl + "`(IN a_customer INT, OUT o_total DECIMAL(18,2))\r\n"
         "BEGIN\r\n  SELECT COALESCE(SUM(amount), 0) INTO o_total FROM `" + tbl + "` WHERE customer_id = a_customer";
    s += master && t % 25 == 3 ? " AND status <> 'X'" : "";
    s += ";\r\nEND ;;\r\nDELIMITER ;\r\n\r\n";
  }
  s += "/*!40014 SET FOREIGN_KEY_CHECKS=@OLD_FOREIGN_KEY_CHECKS */;\r\n";
  return s;
}

// A script file in a scratch directory, removed with the object.
struct TScriptFile {
  std::filesystem::path Path;
  size_t Size = 0;
  explicit TScriptFile(const std::string& name, const std::string& text) {
    Path = std::filesystem::temp_directory_path() /
           ("orvalis-bench-" + std::to_string(::getpid()) + "-" + name);
    std::ofstream(Path, std::ios::binary) << text;
    Size = text.size();
  }
  ~TScriptFile() {
    std::error_code ec;
    std::filesystem::remove(Path, ec);
  }
};

double PeakMegabytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

using TScriptMaker = std::string (*)(int tables, bool master);

template <class TExtract>
void Extract(benchmark::State& state, TScriptMaker make) {
  const TScriptFile file("target.sql", make(static_cast<int>(state.range(0)), false));
  for (auto _ : state) {
    TDBStructure db;
    TExtract extract;
    extract.SetDBStructure(&db);
    extract.ScriptFiles = {file.Path.string()};
    if (!extract.Extract()) state.SkipWithError("the script did not parse");
    benchmark::DoNotOptimize(db.Objs->TblList.Count());
    state.PauseTiming();
    extract.SetDBStructure(nullptr);
    state.ResumeTiming();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * file.Size));
}

template <class TExtract>
void Run(benchmark::State& state, TScriptMaker make) {
  const int tables = static_cast<int>(state.range(0));
  const TScriptFile master("master.sql", make(tables, true));
  const TScriptFile target("target.sql", make(tables, false));
  using TClock = std::chrono::steady_clock;
  double targetSeconds = 0, masterSeconds = 0, compareSeconds = 0;
  for (auto _ : state) {
    TClock::time_point targetDone;
    TDBStructure m, t;
    TExtract extract;
    TVeltrane veltrane;
    veltrane.SetDBStructureMaster(&m);
    veltrane.SetDBStructureTarget(&t);
    veltrane.OnBeforeExtract = [&](void*) {
      veltrane.ExtractorMaster = &extract;
      veltrane.ExtractorTarget = &extract;
    };
    veltrane.OnBeforeExtractMaster = [&](void*) {
      targetDone = TClock::now();  // the target side is read first
      extract.SetDBStructure(&m);
      extract.ScriptFiles = {master.Path.string()};
    };
    veltrane.OnBeforeExtractTarget = [&](void*) {
      extract.SetDBStructure(&t);
      extract.ScriptFiles = {target.Path.string()};
    };
    const auto start = TClock::now();
    if (!veltrane.Extract()) state.SkipWithError("the scripts did not parse");
    const auto extracted = TClock::now();
    veltrane.Compare();
    TStringList lines;
    veltrane.GetSQLExec()->RenderScript(lines, false);
    if (lines.empty()) state.SkipWithError("the comparison found no difference");
    benchmark::DoNotOptimize(lines.data());
    const auto compared = TClock::now();
    targetSeconds += std::chrono::duration<double>(targetDone - start).count();
    masterSeconds += std::chrono::duration<double>(extracted - targetDone).count();
    compareSeconds += std::chrono::duration<double>(compared - extracted).count();
    state.PauseTiming();
    extract.SetDBStructure(nullptr);
    veltrane.SetDBStructureMaster(nullptr);
    veltrane.SetDBStructureTarget(nullptr);
    state.ResumeTiming();
  }
  const double n = static_cast<double>(state.iterations());
  state.counters["extract_target_s"] = targetSeconds / n;
  state.counters["extract_master_s"] = masterSeconds / n;
  state.counters["compare_s"] = compareSeconds / n;
  state.counters["peak_MB"] = PeakMegabytes();
  state.counters["script_MB"] = static_cast<double>(master.Size) / (1024.0 * 1024.0);
}

void BM_ExtractFirebird(benchmark::State& state) { Extract<TIBScriptExtract>(state, FirebirdScript); }
BENCHMARK(BM_ExtractFirebird)->Arg(500)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_RunFirebird(benchmark::State& state) { Run<TIBScriptExtract>(state, FirebirdScript); }
BENCHMARK(BM_RunFirebird)->Arg(10000)->Unit(benchmark::kMillisecond)->Iterations(2);

void BM_ExtractMySQL(benchmark::State& state) { Extract<TMySQLScriptExtract>(state, MySQLScript); }
BENCHMARK(BM_ExtractMySQL)->Arg(500)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_RunMySQL(benchmark::State& state) { Run<TMySQLScriptExtract>(state, MySQLScript); }
BENCHMARK(BM_RunMySQL)->Arg(10000)->Unit(benchmark::kMillisecond)->Iterations(2);

}  // namespace
