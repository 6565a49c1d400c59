// The MySQL/MariaDB parser: column types and attributes, keys and the names
// the server gives them, scripts as users and as mariadb-dump write them,
// statements passed over, DROP, the corpus, and bad input.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "core/kvtDBOptions.h"
#include "core/kvtDBStructure.h"
#include "core/kvtMsgMngr.h"
#include "extract/kvtMySQLScriptExtract.h"
#include "kinds/kvtCompColumn.h"
#include "kinds/kvtComp_Ctr.h"
#include "kinds/kvtComp_Gnr.h"
#include "kinds/kvtComp_Idx.h"
#include "kinds/kvtComp_Prc.h"
#include "kinds/kvtComp_Tbl.h"
#include "kinds/kvtComp_Trg.h"
#include "kinds/kvtComp_Viw.h"
#include "parse/kvtMySQLParser.h"

namespace fs = std::filesystem;

namespace {

class MyParse : public testing::Test {
 protected:
  std::unique_ptr<TObjs> Objs;
  std::unique_ptr<TMySQLParser> P;

  TMySQLParser& Parse(const std::string& text, bool caseSensitive = true,
                      TMySQLServerVersionType version = st_MariaDB_10x) {
    P.reset();
    Objs = std::make_unique<TObjs>();
    Objs->SetServerType(srvMySQL);
    Objs->MySQLServerOptions->SQLServerVersion = version;
    Objs->MySQLServerOptions->MySQLCompareOptions->CaseSensitiveIdentifiers = caseSensitive;
    P = std::make_unique<TMySQLParser>(nullptr, Objs.get());
    P->OnErrorMessage = [](void*, const std::string&) {};
    P->ScriptName = "s.sql";
    P->SetSource(text);
    P->ParseStatements();
    return *P;
  }
  std::vector<std::string> Errors() const {
    std::vector<std::string> r;
    for (const auto& m : P->Messages->Items)
      if (m->Kind == mkError) r.push_back(m->Text);
    return r;
  }
  TTblData* Table(const std::string& name) const { return Objs->FindTable(name); }
  std::string Column(const std::string& table, const std::string& column) const {
    TTblData* t = Table(table);
    TFldData* f = t ? t->FindField(column) : nullptr;
    return f ? f->GetCreateSQL() : "<missing>";
  }
  // The keys of every index and constraint of the container, in list order.
  std::vector<std::string> Keys(TObjListId id) const {
    std::vector<std::string> r;
    for (const auto& e : Objs->List(id)) r.push_back(e.Key);
    return r;
  }
};

// Each column definition reads into the definition the server would show.
TEST_F(MyParse, ColumnDefinitions) {
  struct Case {
    const char* Definition;
    const char* Expected;
  };
  const Case cases[] = {
      {"id INT(11) NOT NULL AUTO_INCREMENT", "`id` INTEGER(11) NOT NULL AUTO_INCREMENT"},
      {"id INT", "`id` INTEGER(11)"},
      {"id INT UNSIGNED", "`id` INTEGER(10) UNSIGNED"},
      {"z SMALLINT ZEROFILL", "`z` SMALLINT(5) UNSIGNED ZEROFILL"},
      {"b BOOLEAN", "`b` TINYINT(1)"},
      {"b BOOL DEFAULT TRUE", "`b` TINYINT(1) DEFAULT 1"},
      {"big BIGINT DEFAULT '-5'", "`big` BIGINT(20) DEFAULT -5"},
      {"v VARCHAR(64)", "`v` VARCHAR(64)"},
      {"v VARCHAR(64) CHARACTER SET latin1 COLLATE latin1_bin",
       "`v` VARCHAR(64) CHARACTER SET latin1 COLLATE latin1_bin"},
      // A character set's default collation is what it brings anyway.
      {"v VARCHAR(5) CHARACTER SET ascii COLLATE ascii_general_ci", "`v` VARCHAR(5) CHARACTER SET ascii"},
      {"v VARCHAR(5) COLLATE latin1_swedish_ci", "`v` VARCHAR(5) CHARACTER SET latin1"},
      {"v VARCHAR(5) CHARACTER SET latin1 COLLATE latin1_general_ci",
       "`v` VARCHAR(5) CHARACTER SET latin1 COLLATE latin1_general_ci"},
      {"c CHAR", "`c` CHAR(1)"},
      // BINARY is the binary collation of the column's set, else of the table's.
      {"v VARCHAR(5) BINARY", "`v` VARCHAR(5) CHARACTER SET utf8mb4 COLLATE utf8mb4_bin"},
      {"v VARCHAR(5) CHARACTER SET latin1 BINARY", "`v` VARCHAR(5) CHARACTER SET latin1 COLLATE latin1_bin"},
      {"t TINYTEXT BINARY", "`t` TINYTEXT CHARACTER SET utf8mb4 COLLATE utf8mb4_bin"},
      {"e ENUM('a') BINARY", "`e` ENUM('a') CHARACTER SET utf8mb4 COLLATE utf8mb4_bin"},
      {"d DECIMAL(10,2) DEFAULT 0", "`d` DECIMAL(10,2) DEFAULT 0.00"},
      {"d NUMERIC", "`d` DECIMAL(10)"},
      {"f DOUBLE PRECISION", "`f` DOUBLE"},
      {"ts TIMESTAMP NOT NULL DEFAULT CURRENT_TIMESTAMP ON UPDATE CURRENT_TIMESTAMP",
       "`ts` TIMESTAMP NOT NULL DEFAULT current_timestamp() ON UPDATE current_timestamp()"},
      {"ts TIMESTAMP(3) NULL DEFAULT NOW(3)", "`ts` TIMESTAMP(3) DEFAULT current_timestamp(3)"},
      {"ts DATETIME ON UPDATE CURRENT_TIMESTAMP",
       "`ts` DATETIME DEFAULT NULL ON UPDATE current_timestamp()"},
      {"n INT DEFAULT NULL", "`n` INTEGER(11)"},
      {"s VARCHAR(5) DEFAULT 7", "`s` VARCHAR(5) DEFAULT '7'"},
      {"s VARCHAR(5) DEFAULT _utf8mb4'it''s'", "`s` VARCHAR(5) DEFAULT 'it\\'s'"},
      {"e ENUM('a','b') NOT NULL DEFAULT 'a'", "`e` ENUM('a', 'b') NOT NULL DEFAULT 'a'"},
      {"s SET('x', 'y')", "`s` SET('x', 'y')"},
      {"bt BIT(3) DEFAULT b'101'", "`bt` BIT(3) DEFAULT b'101'"},
      {"y YEAR", "`y` YEAR(4)"},
      {"t TEXT", "`t` TEXT"},
      {"t LONGBLOB", "`t` LONGBLOB"},
      {"g INT AS (a*2) STORED", "`g` INTEGER(11) GENERATED ALWAYS AS (`a` * 2) STORED"},
      {"g INT GENERATED ALWAYS AS (a + 1) VIRTUAL",
       "`g` INTEGER(11) GENERATED ALWAYS AS (`a` + 1) VIRTUAL"},
      {"i INT INVISIBLE", "`i` INTEGER(11) INVISIBLE"},
      {"c INT CHECK (c > 0)", "`c` INTEGER(11) CHECK (`c` > 0)"},
      {"j JSON", "`j` LONGTEXT CHARACTER SET utf8mb4 COLLATE utf8mb4_bin CHECK (json_valid(`j`))"},
      {"p POINT NOT NULL", "`p` Point NOT NULL"},
      {"`order` INT UNSIGNED DEFAULT '3' COMMENT 'n'", "`order` INTEGER(10) UNSIGNED DEFAULT 3 COMMENT 'n'"},
      {"`date` DATE DEFAULT '2020-01-01'", "`date` DATE DEFAULT '2020-01-01'"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Definition);
    Parse(std::string("CREATE TABLE t (a INT, ") + c.Definition + ");");
    EXPECT_TRUE(Errors().empty()) << Errors().front();
    TTblData* t = Table("t");
    ASSERT_TRUE(t);
    ASSERT_EQ(t->Fields.Count(), 2);
    EXPECT_EQ(t->Fields[1]->GetCreateSQL(), c.Expected);
  }
}

// A column of its table's character set keeps it when its collation is not
// the table's: a set named alone brings its own default collation. BINARY
// without a set is the binary collation of the table's set, named after the
// column; CONVERT TO gives every column with a set the table's.
TEST_F(MyParse, ColumnCharsetAgainstTheTableDefault) {
  Parse(
      "CREATE TABLE t (a VARCHAR(5) CHARACTER SET utf8mb4 COLLATE utf8mb4_general_ci,\n"
      "  b VARCHAR(5) COLLATE utf8mb4_unicode_ci, c VARCHAR(5) CHARACTER SET utf8mb4)\n"
      "  DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_ci;\n"
      "CREATE TABLE u (a VARCHAR(5) BINARY, b TEXT BINARY) DEFAULT CHARSET=utf8;\n"
      "CREATE TABLE v (a TEXT CHARACTER SET utf8mb4, b SET('x') CHARACTER SET utf8mb4)\n"
      "  DEFAULT CHARSET=utf8mb4;\n"
      "ALTER TABLE v CONVERT TO CHARACTER SET latin1;\n");
  ASSERT_TRUE(Errors().empty()) << Errors().front();
  TTblData* t = Table("t");
  ASSERT_TRUE(t);
  EXPECT_EQ(t->Fields[0]->GetCreateSQL(), "`a` VARCHAR(5) CHARACTER SET utf8mb4");
  EXPECT_EQ(t->Fields[1]->GetCreateSQL(), "`b` VARCHAR(5)");
  EXPECT_EQ(t->Fields[2]->GetCreateSQL(), "`c` VARCHAR(5) CHARACTER SET utf8mb4");
  EXPECT_EQ(Column("u", "a"), "`a` VARCHAR(5) CHARACTER SET utf8mb3 COLLATE utf8mb3_bin");
  EXPECT_EQ(Column("u", "b"), "`b` TEXT CHARACTER SET utf8mb3 COLLATE utf8mb3_bin");
  EXPECT_EQ(Column("v", "a"), "`a` TEXT");
  EXPECT_EQ(Column("v", "b"), "`b` SET('x')");
}

// Keys: unnamed ones get the server's names, a foreign key gets the index it
// needs, a column PRIMARY KEY is the table's key.
TEST_F(MyParse, KeysAndTheirNames) {
  Parse(
      "CREATE TABLE c (id INT NOT NULL AUTO_INCREMENT PRIMARY KEY, email VARCHAR(80) UNIQUE,\n"
      "  name VARCHAR(60), KEY (name), UNIQUE (name, email), INDEX ix2 (name(10) DESC) USING BTREE,\n"
      "  FULLTEXT (email), CHECK (id < 100), CONSTRAINT chk2 CHECK (name <> 'b'));\n"
      "CREATE TABLE o (id INT PRIMARY KEY, cid INT, cid2 INT, KEY k (cid2),\n"
      "  FOREIGN KEY (cid) REFERENCES c (id) ON DELETE CASCADE ON UPDATE SET NULL,\n"
      "  CONSTRAINT fkn FOREIGN KEY (cid2) REFERENCES c);\n");
  ASSERT_TRUE(Errors().empty()) << Errors().front();
  EXPECT_EQ(Keys(olIdx), (std::vector<std::string>{"c.email", "c.email_2", "c.ix2", "c.name",
                                                    "c.name_2", "o.cid", "o.k"}));
  TIdxData* ix2 = Objs->FindIndex("c.ix2");
  ASSERT_TRUE(ix2);
  EXPECT_EQ(ix2->MySQLOptions->Method, "BTREE");
  EXPECT_EQ(ix2->Fields[0]->Length, 10);
  EXPECT_EQ(ix2->Fields[0]->SortOrder, 2);
  EXPECT_TRUE(Objs->FindIndex("c.email_2")->Fulltext);
  EXPECT_TRUE(Objs->FindIndex("c.name_2")->Unique);

  TCtrData* fk = Objs->FindConstraint("o.o_ibfk_1");
  ASSERT_TRUE(fk);
  EXPECT_EQ(fk->OnDelete, raCascade);
  EXPECT_EQ(fk->OnUpdate, raSetNull);
  TCtrData* fkn = Objs->FindConstraint("o.fkn");
  ASSERT_TRUE(fkn);
  ASSERT_EQ(fkn->RefFields.Count(), 1);  // the primary key of c
  EXPECT_EQ(fkn->RefFields.Names(0), "id");
  EXPECT_EQ(Objs->FindConstraint("c.CONSTRAINT_1")->Body, "(`id` < 100)");
  EXPECT_EQ(Objs->FindConstraint("c.chk2")->Body, "(`name` <> 'b')");
  EXPECT_FALSE(Table("c")->FindField("id")->Nullable);
}

// What a user writes and what mariadb-dump writes for it read alike.
TEST_F(MyParse, ScriptAndItsDumpReadAlike) {
  const std::string user =
      "CREATE TABLE customer (id INT NOT NULL AUTO_INCREMENT PRIMARY KEY, email VARCHAR(80) UNIQUE,\n"
      "  name VARCHAR(60) NOT NULL DEFAULT 'x', d DECIMAL(10,2) CHECK (d >= 0), KEY (name))\n"
      "  ENGINE=InnoDB DEFAULT CHARSET=utf8mb4;\n"
      "CREATE TABLE orders (id INT PRIMARY KEY, cid INT,\n"
      "  FOREIGN KEY (cid) REFERENCES customer(id) ON DELETE CASCADE);\n"
      "DELIMITER $$\n"
      "CREATE TRIGGER t1 BEFORE INSERT ON orders FOR EACH ROW SET NEW.cid = NEW.cid$$\n"
      "DELIMITER ;\n";
  const std::string dump =
      "/*M!999999\\- enable the sandbox mode */ \n"
      "/*!40101 SET NAMES utf8mb4 */;\n"
      "DROP TABLE IF EXISTS `customer`;\n"
      "CREATE TABLE `customer` (\n"
      "  `id` int(11) NOT NULL AUTO_INCREMENT,\n"
      "  `email` varchar(80) DEFAULT NULL,\n"
      "  `name` varchar(60) NOT NULL DEFAULT 'x',\n"
      "  `d` decimal(10,2) DEFAULT NULL CHECK (`d` >= 0),\n"
      "  PRIMARY KEY (`id`),\n"
      "  UNIQUE KEY `email` (`email`),\n"
      "  KEY `name` (`name`)\n"
      ") ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_general_ci;\n"
      "DROP TABLE IF EXISTS `orders`;\n"
      "CREATE TABLE `orders` (\n"
      "  `id` int(11) NOT NULL,\n"
      "  `cid` int(11) DEFAULT NULL,\n"
      "  PRIMARY KEY (`id`),\n"
      "  KEY `cid` (`cid`),\n"
      "  CONSTRAINT `orders_ibfk_1` FOREIGN KEY (`cid`) REFERENCES `customer` (`id`) ON DELETE CASCADE\n"
      ") ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_general_ci;\n"
      "DELIMITER ;;\n"
      "/*!50003 CREATE*/ /*!50017 DEFINER=`root`@`localhost`*/ /*!50003 TRIGGER t1 BEFORE INSERT ON "
      "orders FOR EACH ROW SET NEW.cid = NEW.cid */;;\n"
      "DELIMITER ;\n";
  struct TModel {
    std::vector<std::string> Tables, Indexes, Constraints;
    std::string Trigger;
  };
  auto model = [&](const std::string& text) {
    Parse(text);
    EXPECT_TRUE(Errors().empty()) << Errors().front();
    TModel m;
    for (const auto& e : Objs->TblList) {
      auto* t = e.Obj->As<TTblData>();
      std::string cols;
      for (const auto& f : t->Fields) cols += f.Obj->GetCreateSQL() + "|";
      m.Tables.push_back(e.Key + ":" + cols);
    }
    for (const auto& e : Objs->IdxList) m.Indexes.push_back(e.Obj->GetCreateSQL());
    for (const auto& e : Objs->CtrList) m.Constraints.push_back(e.Key + ":" + e.Obj->GetCreateSQL());
    TTrgData* trg = Objs->FindTrigger("t1");
    m.Trigger = trg ? trg->GetCreateSQL() : "<missing>";
    return m;
  };
  const TModel a = model(user);
  const TModel b = model(dump);
  EXPECT_EQ(a.Tables, b.Tables);
  EXPECT_EQ(a.Indexes, b.Indexes);
  EXPECT_EQ(a.Constraints, b.Constraints);
  EXPECT_EQ(a.Trigger, b.Trigger);
  EXPECT_EQ(b.Trigger.find("*/"), std::string::npos);
}

// Routine bodies run to the delimiter; with ";" a BEGIN ... END block is
// taken whole.
TEST_F(MyParse, RoutinesAndTriggers) {
  Parse(
      "DELIMITER $$\n"
      "CREATE DEFINER=`root`@`%` PROCEDURE p1(IN a INT, OUT b VARCHAR(10), c INT)\n"
      "  COMMENT 'proc' READS SQL DATA\n"
      "BEGIN\n  SELECT a INTO b; -- note\n  IF a > 1 THEN SET b = 'x'; END IF;\nEND$$\n"
      "CREATE FUNCTION f1(a INT) RETURNS INT DETERMINISTIC RETURN a + 1$$\n"
      "DELIMITER ;\n"
      "CREATE TRIGGER tr AFTER UPDATE ON t FOR EACH ROW BEGIN\n"
      "  CASE WHEN NEW.a = 1 THEN SET @x = 1; ELSE BEGIN END; END CASE;\nEND;\n"
      "CREATE TABLE after_them (id INT);\n");
  ASSERT_TRUE(Errors().empty()) << Errors().front();
  TPrcData* p1 = Objs->FindProcedure("p1");
  ASSERT_TRUE(p1);
  EXPECT_FALSE(p1->IsFunction);
  EXPECT_EQ(p1->Description, "proc");
  EXPECT_TRUE(p1->Characteristics.test(pcReadsSqlData));
  ASSERT_EQ(p1->Params.Count(), 3);
  EXPECT_EQ(p1->Params[1]->Direction, pdOut);
  EXPECT_EQ(p1->Params[2]->Direction, pdIn);
  EXPECT_EQ(p1->Body.substr(0, 5), "BEGIN");
  EXPECT_EQ(p1->Body.substr(p1->Body.size() - 3), "END");
  TPrcData* f1 = Objs->FindProcedure("f1");
  ASSERT_TRUE(f1);
  EXPECT_TRUE(f1->IsFunction);
  EXPECT_EQ(f1->Results[0]->GetTypeText(), "INTEGER(11)");
  EXPECT_EQ(f1->Body, "RETURN a + 1");
  TTrgData* tr = Objs->FindTrigger("tr");
  ASSERT_TRUE(tr);
  EXPECT_EQ(tr->TriggerTime, ttAfter);
  EXPECT_EQ(tr->Events, teUpdate);
  EXPECT_EQ(tr->Body.substr(tr->Body.size() - 3), "END");
  EXPECT_TRUE(Table("after_them"));
}

// A sequence reads into every option with the server's defaults filled in,
// so that a script and the dump the server writes of it say the same; ALTER
// changes it, DROP removes it, and the dump's SETVAL is passed over.
TEST_F(MyParse, Sequences) {
  struct TCase {
    const char* Script;
    const char* Options;
  };
  const TCase cases[] = {
      {"CREATE SEQUENCE s",
       "start with 1 minvalue 1 maxvalue 9223372036854775806 increment by 1 cache 1000 nocycle"},
      {"CREATE SEQUENCE IF NOT EXISTS s START WITH 1000 INCREMENT BY 10 MINVALUE 1000 MAXVALUE 999999 "
       "CACHE 20",
       "start with 1000 minvalue 1000 maxvalue 999999 increment by 10 cache 20 nocycle"},
      {"CREATE SEQUENCE s INCREMENT BY -1 NOCACHE CYCLE",
       "start with -1 minvalue -9223372036854775807 maxvalue -1 increment by -1 nocache cycle"},
      {"CREATE SEQUENCE s START = -5 INCREMENT = -1 MINVALUE = -100 MAXVALUE -1 CACHE 0",
       "start with -5 minvalue -100 maxvalue -1 increment by -1 nocache nocycle"},
      {"CREATE SEQUENCE `s` start with 7 minvalue 1 maxvalue 9223372036854775806 increment by 1 cache "
       "1000 nocycle ENGINE=InnoDB;\nDO SETVAL(`s`, 7, 0)",
       "start with 7 minvalue 1 maxvalue 9223372036854775806 increment by 1 cache 1000 nocycle"},
      {"CREATE SEQUENCE s MAXVALUE 50 CYCLE;\nALTER SEQUENCE s INCREMENT BY 5 NO MAXVALUE NOCYCLE RESTART WITH 3",
       "start with 1 minvalue 1 maxvalue 9223372036854775806 increment by 5 cache 1000 nocycle"},
  };
  for (const TCase& c : cases) {
    Parse(std::string(c.Script) + ";\n");
    ASSERT_TRUE(Errors().empty()) << c.Script << ": " << Errors().front();
    TGnrData* g = Objs->FindGenerator("s");
    ASSERT_TRUE(g) << c.Script;
    EXPECT_EQ(g->MySQLOptionsText(), c.Options) << c.Script;
  }
  Parse("CREATE SEQUENCE a;\nCREATE SEQUENCE b;\nCREATE SEQUENCE c;\nDROP SEQUENCE IF EXISTS a, c, x;\n");
  ASSERT_TRUE(Errors().empty()) << Errors().front();
  EXPECT_EQ(Keys(olGnr), (std::vector<std::string>{"b"}));
}

// Triggers keep their header as written (the server keeps it so) without the
// FOLLOWS / PRECEDES clause, which becomes the firing order among the
// triggers of the same table, time and event.
TEST_F(MyParse, TriggerHeadersAndFiringOrder) {
  Parse(
      "CREATE TRIGGER a BEFORE UPDATE ON t FOR EACH ROW SET @x = 1;\n"
      "CREATE TRIGGER `b` BEFORE  UPDATE ON t FOR EACH ROW\n  PRECEDES a\n  SET @x = 2;\n"
      "CREATE TRIGGER c BEFORE UPDATE ON t FOR EACH ROW FOLLOWS b SET @x = 3;\n"
      "CREATE TRIGGER d AFTER UPDATE ON t FOR EACH ROW SET @x = 4;\n"
      "CREATE TRIGGER e BEFORE UPDATE ON t FOR EACH ROW PRECEDES nothere SET @x = 5;\n");
  ASSERT_TRUE(Errors().empty()) << Errors().front();
  P->FinishParse();
  TTrgData* b = Objs->FindTrigger("b");
  ASSERT_TRUE(b);
  EXPECT_EQ(b->HeaderText, "`b` BEFORE  UPDATE ON t FOR EACH ROW");
  EXPECT_EQ(b->BodySeparator, "\r\n  ");
  EXPECT_EQ(b->GetCreateSQL(), "CREATE TRIGGER `b` BEFORE  UPDATE ON t FOR EACH ROW\r\n  SET @x = 2");
  EXPECT_EQ(Objs->FindTrigger("a")->BodySeparator, " ");
  // Firing order b, c, a, e; d fires alone after the update.
  std::vector<std::string> order;
  for (TTrgData* t = b; t; t = t->OrderNext) order.push_back(t->Name + std::to_string(t->Position));
  EXPECT_EQ(order, (std::vector<std::string>{"b1", "c2", "a3", "e4"}));
  EXPECT_FALSE(b->OrderPrev);
  EXPECT_EQ(Objs->FindTrigger("d")->Position, 1);
  EXPECT_FALSE(Objs->FindTrigger("d")->OrderNext);
}

TEST_F(MyParse, Views) {
  Parse(
      "CREATE TABLE t (a INT, b INT);\n"
      "CREATE OR REPLACE ALGORITHM=MERGE DEFINER=CURRENT_USER SQL SECURITY INVOKER VIEW v (x, y)\n"
      "  AS SELECT a, b FROM t WITH CASCADED CHECK OPTION;\n"
      "CREATE VIEW w AS SELECT x FROM v;\n"
      "CREATE OR REPLACE VIEW w AS SELECT y FROM v;\n");
  ASSERT_TRUE(Errors().empty()) << Errors().front();
  TViwData* v = Objs->FindView("v");
  ASSERT_TRUE(v);
  EXPECT_EQ(v->Algorithm, "MERGE");
  EXPECT_EQ(v->SqlSecurity, "INVOKER");
  EXPECT_EQ(v->Columns.Count(), 2);
  EXPECT_EQ(v->Body, "SELECT a, b FROM t WITH CASCADED CHECK OPTION");
  EXPECT_EQ(Objs->FindView("w")->Body, "SELECT y FROM v");
}

// A view as the user wrote it and as the server writes it back compare equal;
// another column does not.
TEST(MyViewText, CompareForm) {
  const std::string user =
      "SELECT c.id, name AS nm, COUNT(*) cnt FROM customer c JOIN orders o ON o.cid = c.id "
      "WHERE c.id > 1 AND (name = 'x' OR name = 'y') GROUP BY c.id, name";
  const std::string dump =
      "select `c`.`id` AS `id`,`c`.`name` AS `nm`,count(0) AS `cnt` from (`customer` `c` join "
      "`orders` `o` on(`o`.`cid` = `c`.`id`)) where `c`.`id` > 1 and (`c`.`name` = 'x' or "
      "`c`.`name` = 'y') group by `c`.`id`,`c`.`name`";
  EXPECT_EQ(MySQLViewCompareForm(user), MySQLViewCompareForm(dump));
  EXPECT_NE(MySQLViewCompareForm(user), MySQLViewCompareForm("SELECT c.id, mail AS nm, COUNT(*) cnt "
                                                             "FROM customer c JOIN orders o ON "
                                                             "o.cid = c.id WHERE c.id > 1 AND "
                                                             "(name = 'x' OR name = 'y') GROUP BY "
                                                             "c.id, name"));
  EXPECT_NE(MySQLViewCompareForm("SELECT 'a' AS x"), MySQLViewCompareForm("SELECT 'b' AS x"));
  // The server names the expression of an ORDER BY alias, writes ASC and
  // LENGTH as OCTET_LENGTH.
  EXPECT_EQ(MySQLViewCompareForm("SELECT c.name AS category, SUM(p.amount) AS total FROM p GROUP BY c.name "
                                 "ORDER BY total DESC, category"),
            MySQLViewCompareForm("select `c`.`name` AS `category`,sum(`p`.`amount`) AS `total` from `p` "
                                 "group by `c`.`name` order by sum(`p`.`amount`) desc,`c`.`name` ASC"));
  EXPECT_EQ(MySQLViewCompareForm("SELECT GROUP_CONCAT(a ORDER BY a SEPARATOR ';') AS g, LENGTH(b) AS n FROM t"),
            MySQLViewCompareForm("select group_concat(`a` order by `a` ASC separator ';') AS `g`,"
                                 "octet_length(`b`) AS `n` from `t`"));
  // An ORDER BY name that is no alias, and an alias inside a subquery, stay.
  EXPECT_NE(MySQLViewCompareForm("SELECT a AS x, b FROM t ORDER BY b"),
            MySQLViewCompareForm("SELECT a AS x, b FROM t ORDER BY a"));
}

// A dump drops each table before creating it; a script that creates and then
// drops a table has none; ALTER TABLE changes what CREATE made.
TEST_F(MyParse, DropAndAlter) {
  Parse(
      "DROP TABLE IF EXISTS `a`;\nCREATE TABLE a (id INT, x INT, KEY (x));\n"
      "CREATE TABLE gone (id INT);\nCREATE INDEX ig ON gone (id);\nDROP TABLE gone, nothere;\n"
      "ALTER TABLE a ADD COLUMN y INT AFTER id, MODIFY x BIGINT NOT NULL, ADD PRIMARY KEY (id),\n"
      "  ADD CONSTRAINT fk FOREIGN KEY (y) REFERENCES a (id), DROP INDEX x, ENGINE=MyISAM,\n"
      "  AUTO_INCREMENT=5;\n"
      "ALTER TABLE a CHANGE COLUMN y yy INT, ALTER COLUMN x SET DEFAULT 3;\n"
      "CREATE VIEW v AS SELECT 1;\nDROP VIEW IF EXISTS v;\n");
  ASSERT_TRUE(Errors().empty()) << Errors().front();
  EXPECT_FALSE(Table("gone"));
  EXPECT_FALSE(Objs->FindIndex("gone.ig"));
  EXPECT_FALSE(Objs->FindView("v"));
  TTblData* a = Table("a");
  ASSERT_TRUE(a);
  ASSERT_EQ(a->Fields.Count(), 3);
  EXPECT_EQ(a->Fields.Names(1), "yy");
  EXPECT_EQ(Column("a", "x"), "`x` BIGINT(20) NOT NULL DEFAULT 3");
  EXPECT_EQ(a->MySQLOptions->Engine, "MyISAM");
  EXPECT_EQ(Keys(olIdx), (std::vector<std::string>{"a.fk"}));  // the foreign key's own index
  EXPECT_TRUE(Objs->FindConstraint("a.fk"));
}

// Statements a dump or a user script holds besides DDL are passed over.
TEST_F(MyParse, StatementsPassedOver) {
  Parse(
      "# a comment\n-- another\nUSE shop;\nSET NAMES utf8mb4;\nSET @OLD = @@SQL_MODE, SQL_MODE = '';\n"
      "LOCK TABLES `t` WRITE;\nINSERT INTO t VALUES (1, 'a;b'), (2, 'c');\nUNLOCK TABLES;\n"
      "SELECT 'LOADING' AS 'INFO';\nsource load_departments.dump ;\nCOMMIT;\n"
      "CREATE DATABASE IF NOT EXISTS shop DEFAULT CHARACTER SET utf8mb4 COLLATE utf8mb4_bin;\n"
      "CREATE TABLE t (id INT, s VARCHAR(3)) ENGINE=InnoDB AUTO_INCREMENT=17 DEFAULT CHARSET=latin1;\n");
  ASSERT_TRUE(Errors().empty()) << Errors().front();
  EXPECT_EQ(P->Options->DatabaseName, "shop");
  EXPECT_EQ(Objs->MySQLServerOptions->Names, "utf8mb4");
  ASSERT_TRUE(Table("t"));
  EXPECT_EQ(Table("t")->MySQLOptions->DefaultCharset, "latin1");
  EXPECT_EQ(Table("t")->MySQLOptions->AutoIncrementStart, 17);
  // utf8 is the server's utf8mb3, as a dump writes it.
  Parse("CREATE TABLE u (s VARCHAR(3) CHARACTER SET utf8 COLLATE utf8_bin) DEFAULT CHARSET=utf8;\n");
  ASSERT_TRUE(Table("u"));
  EXPECT_EQ(Table("u")->MySQLOptions->DefaultCharset, "utf8mb3");
  EXPECT_EQ(Table("u")->FindField("s")->Collation, "utf8mb3_bin");
}

TEST_F(MyParse, IdentifierCase) {
  Parse("CREATE TABLE `Orders` (id INT);\nCREATE TABLE orders (id INT);\n", true);
  EXPECT_EQ(Objs->TblList.Count(), 2);
  Parse("CREATE TABLE `Orders` (id INT);\nCREATE TABLE orders (ID INT);\n", false);
  EXPECT_EQ(Objs->TblList.Count(), 1);
  EXPECT_TRUE(Table("ORDERS"));
}

// Errors carry script, line and column; the parse goes on with the next
// statement.
TEST_F(MyParse, ErrorsAndRecovery) {
  Parse("CREATE TABLE a (id INT);\nCREATE TABLE b (id FOO);\nBOGUS STATEMENT here;\n"
        "CREATE TABLE c (id INT);\n");
  const auto& items = P->Messages->Items;
  ASSERT_EQ(Errors().size(), 2u);
  EXPECT_NE(Errors()[0].find("Invalid field-type"), std::string::npos);
  EXPECT_EQ(items[0]->ScriptName, "s.sql");
  EXPECT_EQ(items[0]->Line, 2);
  EXPECT_EQ(items[1]->Line, 3);
  EXPECT_TRUE(Table("a"));
  EXPECT_FALSE(Table("b"));
  EXPECT_TRUE(Table("c"));
}

// Garbage, truncated statements and random bytes end with errors, never with
// a crash or a hang.
TEST_F(MyParse, GarbageAndTruncatedInput) {
  const std::string full =
      "CREATE TABLE t (id INT NOT NULL DEFAULT '1', s ENUM('a','b'), KEY k (s(3)),\n"
      " CONSTRAINT f FOREIGN KEY (id) REFERENCES u (id) ON DELETE SET NULL) ENGINE=InnoDB;\n"
      "DELIMITER $$\nCREATE PROCEDURE p() BEGIN SELECT 'x'; END$$\nDELIMITER ;\n"
      "/*!50001 CREATE VIEW v AS SELECT 1 */;\n";
  for (size_t n = 0; n <= full.size(); ++n) Parse(full.substr(0, n));
  std::mt19937 rng(7);
  const std::string alphabet = "CREATE TABLE ( ) , ; ' \" ` /* */ -- # @ _ DELIMITER $ \\ x1\n";
  for (int round = 0; round < 200; ++round) {
    std::string text;
    for (int i = 0; i < 200; ++i) text += alphabet[rng() % alphabet.size()];
    Parse(text);
  }
  Parse(std::string("CREATE TABLE t (\x01\xff\x80 INT);\n\0\0", 24));
  SUCCEED();
}

// The MySQL corpus reads without error into the objects its statements make.
TEST(MyExtract, CorpusScripts) {
  struct Case {
    const char* File;
    int Tables, Views, Routines, Triggers, Indexes, Constraints;
  };
  const Case cases[] = {
      {"sakila-schema.sql", 16, 7, 6, 3, 25, 38},
      {"employees-schema.sql", 6, 2, 0, 0, 3, 12},
      {"employees-objects.sql", 0, 2, 7, 0, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.File);
    TDBStructure db;
    TMySQLScriptExtract x;
    x.SetDBStructure(&db);
    x.OnErrorMessage = [](void*, const std::string&) {};
    x.ScriptFiles.push_back((fs::path(ORVALIS_TEST_DATA) / "corpus" / "mysql" / c.File).string());
    EXPECT_TRUE(x.Extract()) << x.GetMessages()->GetErrorText();
    TObjs& o = *db.Objs;
    EXPECT_EQ(o.TblList.Count(), c.Tables);
    EXPECT_EQ(o.ViwList.Count(), c.Views);
    EXPECT_EQ(o.PrcList.Count(), c.Routines);
    EXPECT_EQ(o.TrgList.Count(), c.Triggers);
    EXPECT_EQ(o.IdxList.Count(), c.Indexes);
    EXPECT_EQ(o.CtrList.Count(), c.Constraints);
  }
}

}  // namespace
