// Extractors: file lists and wildcard expansion, the extraction run with its
// failure reports, name patterns and object acceptance, and the attachment to
// a structure.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "core/kvtDBOptions.h"
#include "core/kvtDBStructure.h"
#include "core/kvtMsgMngr.h"
#include "extract/kvtASAScriptExtract.h"
#include "extract/kvtCustomScriptExtract.h"
#include "extract/kvtIBScriptExtract.h"
#include "extract/kvtMSSQLScriptExtract.h"
#include "extract/kvtMySQLScriptExtract.h"
#include "extract/kvtOracleScriptExtract.h"
#include "kinds/kvtComp_Ctr.h"
#include "kinds/kvtComp_Def.h"
#include "kinds/kvtComp_Dmn.h"
#include "kinds/kvtComp_Exc.h"
#include "kinds/kvtComp_Fnc.h"
#include "kinds/kvtComp_Gnr.h"
#include "kinds/kvtComp_Idx.h"
#include "kinds/kvtComp_Opr.h"
#include "kinds/kvtComp_Pkg.h"
#include "kinds/kvtComp_Prc.h"
#include "kinds/kvtComp_Rol.h"
#include "kinds/kvtComp_Rul.h"
#include "kinds/kvtComp_Tbl.h"
#include "kinds/kvtComp_Trg.h"
#include "kinds/kvtComp_Viw.h"
#include "parse/kvtParser.h"

namespace fs = std::filesystem;

namespace {

// A scratch directory removed after the test.
class TempDir {
 public:
  TempDir() {
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    Path = fs::temp_directory_path() / ("orvalis_extract_" + std::to_string(stamp));
    fs::create_directories(Path);
  }
  ~TempDir() {
    std::error_code ec;
    fs::remove_all(Path, ec);
  }
  std::string Write(const std::string& name, const std::string& text) const {
    const fs::path p = Path / name;
    std::ofstream(p, std::ios::binary) << text;
    return p.string();
  }
  std::string Name(const std::string& name) const { return (Path / name).string(); }
  fs::path Path;
};

// Stand-in for a dialect parser. One object or action per line:
//   TABLE name | VIEW name | DOMAIN name | INDEX name table | CHECK name table | BAD
// Records which scripts it read and how often the closing passes ran.
class TSpyParser : public TCustomSQLParser {
 public:
  using TCustomSQLParser::TCustomSQLParser;
  void ParseStatements() override {
    Parsed.push_back(ScriptName);
    std::istringstream in(Source);
    std::string word, name, table;
    while (in >> word) {
      if (word == "BAD") {
        Error("bad statement");
        continue;
      }
      in >> name;
      std::unique_ptr<TDbObj> obj;
      if (word == "TABLE") {
        obj = std::make_unique<TTblData>(Objs);
      } else if (word == "DOMAIN") {
        obj = std::make_unique<TDmnData>(Objs);
      } else if (word == "INDEX") {
        auto idx = std::make_unique<TIdxData>(Objs);
        in >> idx->TableName;
        obj = std::move(idx);
      } else if (word == "CHECK") {
        auto ctr = std::make_unique<TCtrData>(Objs);
        in >> ctr->TableName;
        obj = std::move(ctr);
      }
      if (!obj) continue;
      obj->Name = name;
      Extract->AddParsedObject(obj);
    }
  }
  void ParseObjectBody(TDbObj* obj) override { BodyPasses.push_back(obj->Name); }
  void FinishParse() override { ++FinishCount; }

  static inline std::vector<std::string> Parsed;
  static inline std::vector<std::string> BodyPasses;
  static inline int FinishCount = 0;
  static void Reset() {
    Parsed.clear();
    BodyPasses.clear();
    FinishCount = 0;
  }
};

class TSpyExtract : public TIBScriptExtract {
 public:
  std::unique_ptr<TCustomParser> CreateParser() override {
    return std::make_unique<TSpyParser>(this, AttachedObjs());
  }
};

// A table that reports when it is freed. The flag is shared, so a table the
// container frees after the test body has returned still writes to live memory.
class TTrackedTable : public TTblData {
 public:
  TTrackedTable(TObjs* objs, const std::string& name, std::shared_ptr<bool> freed)
      : TTblData(objs), Freed(std::move(freed)) {
    Name = name;
  }
  ~TTrackedTable() override { *Freed = true; }
  std::shared_ptr<bool> Freed;
};

class ExtractTest : public ::testing::Test {
 protected:
  void SetUp() override {
    TSpyParser::Reset();
    Ext.SetOnErrorMessage([this](void*, const std::string& t) { Errors.push_back(t); });
    Ext.SetDBStructure(&Db);
  }
  std::vector<std::string> MessageTexts() {
    std::vector<std::string> out;
    for (const auto& m : Ext.GetMessages()->Items) out.push_back(m->Text);
    return out;
  }

  TDBStructure Db;
  TSpyExtract Ext;
  std::vector<std::string> Errors;
  TempDir Dir;
};

// ---------------------------------------------------------------------------
// Extract: failure table

TEST_F(ExtractTest, MissingFileReportsItAndLeavesStructureEmpty) {
  std::unique_ptr<TDbObj> old = std::make_unique<TTblData>(Db.Objs);
  old->Name = "LEFT_OVER";
  Db.Objs->AddObj(old, true);
  const std::string missing = Dir.Name("nope.sql");
  Ext.ScriptFiles = {missing};

  EXPECT_FALSE(Ext.Extract());
  EXPECT_EQ(Errors, std::vector<std::string>{"File not found: " + missing});
  EXPECT_EQ(Db.Objs->TblList.Count(), 0);
  EXPECT_TRUE(TSpyParser::Parsed.empty());
  // The host learns about the failure through the extractor's messages.
  ASSERT_NE(Ext.GetMessages(), nullptr);
  EXPECT_TRUE(Ext.GetMessages()->HasErrors());
  EXPECT_EQ(Ext.GetMessages()->GetErrorText(), "File not found: " + missing);
}

TEST(ExtractSetup, EmptyListAndMissingStructureAreReported) {
  TDBStructure db;
  TIBScriptExtract ib;
  ib.SetDBStructure(&db);
  std::string shown;
  ib.SetOnErrorMessage([&](void*, const std::string& t) { shown = t; });
  EXPECT_FALSE(ib.Extract());
  EXPECT_EQ(shown, "ScriptFileName(s) is empty. (TIBScriptExtract) IBScriptExtract");
  EXPECT_EQ(db.Objs->ServerType, srvInterBase);  // cleared and typed before the check

  TMySQLScriptExtract my;
  my.SetOnErrorMessage([&](void*, const std::string& t) { shown = t; });
  my.ScriptFiles = {"x.sql"};
  EXPECT_FALSE(my.Extract());
  EXPECT_EQ(shown, "DBStructure not assigned. (TMySQLScriptExtract) MySQLScriptExtract");
  ASSERT_NE(my.GetMessages(), nullptr);
  EXPECT_EQ(my.GetMessages()->GetErrorText(), shown);
  // A second run starts with fresh messages.
  EXPECT_FALSE(my.Extract());
  EXPECT_EQ(my.Messages->Count(), 1);
}

TEST_F(ExtractTest, FirstFileFailingStillParsesSecondAndSkipsClosingPasses) {
  const std::string a = Dir.Write("a.sql", "TABLE T1\nBAD\nDOMAIN D1\n");
  const std::string b = Dir.Write("b.sql", "TABLE T2\n");
  Ext.ScriptFiles = {a, b};

  EXPECT_FALSE(Ext.Extract());
  EXPECT_EQ(TSpyParser::Parsed, (std::vector<std::string>{a, b}));
  EXPECT_NE(Db.Objs->FindTable("T2"), nullptr);
  EXPECT_TRUE(TSpyParser::BodyPasses.empty());
  EXPECT_EQ(TSpyParser::FinishCount, 0);
  EXPECT_EQ(MessageTexts(), std::vector<std::string>{"bad statement"});
}

TEST_F(ExtractTest, CleanRunRunsDomainPassesThenFinalPass) {
  const std::string a = Dir.Write("a.sql", "DOMAIN D2\nTABLE T1\nDOMAIN D1\n");
  Ext.ScriptFiles = {a};
  Db.Objs->ConnectionOptions->DatabaseName = "stale";

  EXPECT_TRUE(Ext.Extract());
  EXPECT_EQ(TSpyParser::BodyPasses, (std::vector<std::string>{"D1", "D2"}));  // list order
  EXPECT_EQ(TSpyParser::FinishCount, 1);
  EXPECT_TRUE(Db.Objs->ConnectionOptions->DatabaseName.empty());
  EXPECT_TRUE(Errors.empty());

  // A second run on the same structure refills it instead of adding to it.
  EXPECT_TRUE(Ext.Extract());
  EXPECT_EQ(Db.Objs->TblList.Count(), 1);
  EXPECT_EQ(Db.Objs->DmnList.Count(), 2);
}

TEST_F(ExtractTest, LoadHandlerDecidesWhichFilesAreParsed) {
  const std::string a = Dir.Name("declined.sql");  // need not exist: the handler decides
  const std::string b = Dir.Write("b.sql", "TABLE T2\n");
  Ext.ScriptFiles = {a, b};
  std::vector<std::string> asked;
  Ext.OnLoadScript = [&](void*, const std::string& f, TStringList&, bool& loaded) {
    asked.push_back(f);
    loaded = f == b;
  };

  EXPECT_FALSE(Ext.Extract());
  EXPECT_EQ(asked, (std::vector<std::string>{a, b}));
  EXPECT_EQ(Errors, std::vector<std::string>{"Script not load: " + a});
  EXPECT_EQ(TSpyParser::Parsed, std::vector<std::string>{b});
  EXPECT_EQ(TSpyParser::FinishCount, 0);
}

TEST(ExtractSetup, EachDialectTypesTheStructure) {
  struct Case {
    std::unique_ptr<TCustomScriptExtract> ext;
    const char* cls;
    const char* name;
    TServerType type;
  };
  Case cases[] = {
      {std::make_unique<TIBScriptExtract>(), "TIBScriptExtract", "IBScriptExtract", srvInterBase},
      {std::make_unique<TASAScriptExtract>(), "TASAScriptExtract", "SAWScriptExtract", srvASA},
      {std::make_unique<TMySQLScriptExtract>(), "TMySQLScriptExtract", "MySQLScriptExtract",
       srvMySQL},
      {std::make_unique<TOracleScriptExtract>(), "TOracleScriptExtract", "OracleScriptExtract",
       srvOracle},
      {std::make_unique<TMSSQLScriptExtract>(), "TMSSQLScriptExtract", "MSSQLScriptExtract",
       srvMSSQL},
  };
  TempDir dir;
  const std::string empty = dir.Write("empty.sql", "");
  for (Case& c : cases) {
    SCOPED_TRACE(c.cls);
    TDBStructure db;
    c.ext->SetOnErrorMessage([](void*, const std::string&) {});
    c.ext->SetDBStructure(&db);
    EXPECT_STREQ(c.ext->ClassName(), c.cls);
    EXPECT_EQ(c.ext->Name, c.name);
    ASSERT_NE(c.ext->GetParser(), nullptr);
    EXPECT_EQ(c.ext->GetParser()->ServerType, c.type);
    c.ext->ScriptFiles = {empty};
    EXPECT_TRUE(c.ext->Extract());
    EXPECT_EQ(db.Objs->ServerType, c.type);
  }
}

// ---------------------------------------------------------------------------
// Name patterns and acceptance

TEST(ExtractPatterns, NamePatternRules) {
  struct Case {
    const char* name;
    const char* pattern;
    bool match;
  };
  const Case cases[] = {
      {"ORDERS", "ORD%", true},      {"CUSTOMERS", "ORD%", false},
      {"ORDERS", "ORD*", true},      {"ORDERS", "ORDERS", false},  // no wildcard: nothing
      {"AUDIT_LOG", "%_LOG", true},  {"A_LOG_LOG", "%_LOG", false},  // first occurrence counts
      {"_LOG", "%_LOG", true},       {"ORDERS", "%", false},
      {"ORDERS", "", false},         {"ORDERS", "O%S", false},  // wildcard in the middle
      {"ORDERS", "%RD%", false},     {"orders", "ORD%", false},  // case-sensitive
      {"ORD", "ORD%", true},         {"OR", "ORD%", false},
  };
  for (const Case& c : cases)
    EXPECT_EQ(MatchObjectNamePattern(c.name, c.pattern), c.match) << c.name << " ~ " << c.pattern;
}

TEST(ExtractPatterns, IncludeExcludeAndHostOverride) {
  TIBScriptExtract ext;
  EXPECT_TRUE(ext.IsObjectAccepted("ANY", dboTable));  // no patterns: everything

  ext.IncludeObjsNames = {"ORD%", "CUST%"};
  ext.ExcludeObjsNames = {"%_LOG"};
  EXPECT_TRUE(ext.IsObjectAccepted("CUSTOMERS", dboTable));
  EXPECT_FALSE(ext.IsObjectAccepted("ITEMS", dboTable));
  EXPECT_FALSE(ext.IsObjectAccepted("ORD_LOG", dboTable));  // exclusion wins

  std::vector<std::string> seen;
  ext.OnAcceptObj = [&](void* sender, const std::string& name, TDbObject kind, bool& accept) {
    EXPECT_EQ(sender, static_cast<void*>(&ext));
    EXPECT_EQ(kind, dboView);
    seen.push_back(name + (accept ? "+" : "-"));
    accept = !accept;
  };
  EXPECT_FALSE(ext.IsObjectAccepted("ORDERS", dboView));
  EXPECT_TRUE(ext.IsObjectAccepted("ITEMS", dboView));
  EXPECT_EQ(seen, (std::vector<std::string>{"ORDERS+", "ITEMS-"}));
}

TEST_F(ExtractTest, IndexesAndConstraintsFollowTheirTable) {
  Ext.IncludeObjsNames = {"ORD%"};
  Ext.ExcludeObjsNames = {"%_LOG"};
  const std::string a = Dir.Write("a.sql",
                                  "TABLE ORDERS\nTABLE CUSTOMERS\nTABLE ORD_LOG\n"
                                  "INDEX IX_ORDERS ORDERS\nINDEX ORD_IX CUSTOMERS\n"
                                  "INDEX ORD_IX2 ORD_LOG\n"
                                  "CHECK CK_ORDERS ORDERS\nCHECK ORD_CK CUSTOMERS\n");
  Ext.ScriptFiles = {a};

  EXPECT_TRUE(Ext.Extract());
  EXPECT_NE(Db.Objs->FindTable("ORDERS"), nullptr);
  EXPECT_EQ(Db.Objs->FindTable("CUSTOMERS"), nullptr);
  EXPECT_EQ(Db.Objs->FindTable("ORD_LOG"), nullptr);
  EXPECT_NE(Db.Objs->FindIndex("IX_ORDERS"), nullptr);
  EXPECT_EQ(Db.Objs->FindIndex("ORD_IX"), nullptr);
  EXPECT_EQ(Db.Objs->FindIndex("ORD_IX2"), nullptr);
  EXPECT_NE(Db.Objs->FindConstraint("CK_ORDERS"), nullptr);
  EXPECT_EQ(Db.Objs->FindConstraint("ORD_CK"), nullptr);
}

TEST(ExtractPatterns, AcceptObjectJudgesByClassNotByObjectKind) {
  struct Case {
    std::function<std::unique_ptr<TDbObj>()> make;
    TDbObject kind;  // expected kind; dboUnknown: accepted without the name test
  };
  TDBStructure db;
  TObjs* o = db.Objs;
  auto idx = [o] {
    auto i = std::make_unique<TIdxData>(o);
    i->TableName = "TBL";
    return std::unique_ptr<TDbObj>(std::move(i));
  };
  auto ctr = [o] {
    auto c = std::make_unique<TCtrData>(o);
    c->TableName = "TBL";
    return std::unique_ptr<TDbObj>(std::move(c));
  };
  const Case cases[] = {
      {[o] { return std::make_unique<TDmnData>(o); }, dboDomain},
      {[o] { return std::make_unique<TUdfData>(o); }, dboFunction},
      {[o] { return std::make_unique<TGnrData>(o); }, dboGenerator},
      {[o] { return std::make_unique<TTblData>(o); }, dboTable},
      {[o] { return std::make_unique<TViwData>(o); }, dboView},
      {[o] { return std::make_unique<TTrgData>(o); }, dboTrigger},
      {[o] { return std::make_unique<TPrcData>(o); }, dboProcedure},
      {[o] { return std::make_unique<TExcData>(o); }, dboException},
      {[o] { return std::make_unique<TDefData>(o); }, dboDefault},
      {[o] { return std::make_unique<TRulData>(o); }, dboRule},
      {[o] { return std::make_unique<TPkgData>(o); }, dboPackage},
      {[o] { return std::make_unique<TRolData>(o); }, dboRole},
      {[o] { return std::make_unique<TPblData>(o); }, dboPublication},
      {[o] { return std::make_unique<TSchData>(o); }, dboSchema},
      {[o] { return std::make_unique<TOprData>(o); }, dboOperator},
      {[o] { return std::make_unique<TOpcData>(o); }, dboOperatorClass},
      {[o] { return std::make_unique<TCnvData>(o); }, dboConversion},
      {[o] { return std::make_unique<TEvtData>(o); }, dboEvent},
      {[o] { return std::make_unique<TCltData>(o); }, dboCollation},
      {idx, dboTable},
      {ctr, dboTable},
      {[o] { return std::make_unique<TGntData>(o); }, dboUnknown},
  };
  TIBScriptExtract ext;
  std::string seenName;
  TDbObject seenKind = dboUnknown;
  ext.OnAcceptObj = [&](void*, const std::string& name, TDbObject kind, bool& accept) {
    seenName = name;
    seenKind = kind;
    accept = false;
  };
  for (const Case& c : cases) {
    std::unique_ptr<TDbObj> obj = c.make();
    SCOPED_TRACE(obj->ClassName());
    obj->Name = "OBJ";
    obj->ObjType = dboUnknown;  // the class decides, not the object's kind
    seenName.clear();
    seenKind = dboUnknown;
    const bool accepted = ext.AcceptObject(obj.get());
    EXPECT_EQ(seenKind, c.kind);
    if (c.kind == dboUnknown) {
      EXPECT_TRUE(accepted);
      EXPECT_TRUE(seenName.empty());
    } else {
      EXPECT_FALSE(accepted);
      EXPECT_EQ(seenName, c.kind == dboTable && !obj->As<TTblData>() ? "TBL" : "OBJ");
    }
  }
}

TEST_F(ExtractTest, RejectedObjectIsFreedAndAcceptedOneOwnedByContainer) {
  Ext.ExcludeObjsNames = {"%_TMP"};
  auto rejectedFreed = std::make_shared<bool>(false);
  auto keptFreed = std::make_shared<bool>(false);
  std::unique_ptr<TDbObj> rejected =
      std::make_unique<TTrackedTable>(Db.Objs, "X_TMP", rejectedFreed);
  std::unique_ptr<TDbObj> kept = std::make_unique<TTrackedTable>(Db.Objs, "X", keptFreed);

  EXPECT_FALSE(Ext.AddParsedObject(rejected));
  EXPECT_EQ(rejected, nullptr);
  EXPECT_TRUE(*rejectedFreed);
  EXPECT_TRUE(Ext.AddParsedObject(kept));
  EXPECT_FALSE(*keptFreed);
  EXPECT_NE(Db.Objs->FindTable("X"), nullptr);

  // A duplicate key is not taken and stays with the caller.
  auto dupFreed = std::make_shared<bool>(false);
  std::unique_ptr<TDbObj> dup = std::make_unique<TTrackedTable>(Db.Objs, "X", dupFreed);
  EXPECT_FALSE(Ext.AddParsedObject(dup));
  EXPECT_NE(dup, nullptr);
  dup.reset();
  EXPECT_TRUE(*dupFreed);

  // Without a structure nothing can take the object: it is freed.
  Ext.SetDBStructure(nullptr);
  auto orphanFreed = std::make_shared<bool>(false);
  std::unique_ptr<TDbObj> orphan = std::make_unique<TTrackedTable>(nullptr, "Y", orphanFreed);
  EXPECT_FALSE(Ext.AddParsedObject(orphan));
  EXPECT_TRUE(*orphanFreed);

  // The kept table is the container's: it goes when the structure is cleared.
  Db.Clear();
  EXPECT_TRUE(*keptFreed);
}

TEST_F(ExtractTest, WholeObjectHandlerReplacesNameTest) {
  Ext.IncludeObjsNames = {"NOTHING%"};
  std::vector<std::string> seen;
  Ext.OnAccept_Obj = [&](void*, TDbObj* obj, bool& accept) {
    EXPECT_TRUE(accept);  // starts true
    seen.push_back(obj->Name);
    accept = obj->Name != "T2";
  };
  const std::string a = Dir.Write("a.sql", "TABLE T1\nTABLE T2\n");
  Ext.ScriptFiles = {a};

  EXPECT_TRUE(Ext.Extract());
  EXPECT_EQ(seen, (std::vector<std::string>{"T1", "T2"}));
  EXPECT_NE(Db.Objs->FindTable("T1"), nullptr);
  EXPECT_EQ(Db.Objs->FindTable("T2"), nullptr);
}

// ---------------------------------------------------------------------------
// ScriptFileName

TEST(ExtractScriptFileName, QuotedListsSingleNamesAndWildcards) {
  TempDir dir;
  const std::string a1 = dir.Write("a1.sql", "");
  const std::string a2 = dir.Write("a 2.sql", "");
  const std::string b = dir.Write("b.sql", "");
  dir.Write("a1.txt", "");
  const std::string d = dir.Path.string() + "/";

  struct Case {
    std::string text;
    std::vector<std::string> files;
  };
  const Case cases[] = {
      {"\"" + a2 + "\" \"" + b + "\"", {a2, b}},       // quoted list, names with blanks
      {"\"" + a1 + "\" junk \"" + b, {a1}},            // text outside quotes ignored, open name dropped
      {"\"" + b + "\"", {b}},                          // one quoted name loses its quotes
      {d + "a*.sql", {d + "a 2.sql", d + "a1.sql"}},  // every match, sorted
      {d + "?1.*", {d + "a1.sql", d + "a1.txt"}},
      {d + "z*.sql", {}},                              // matches nothing
      {d + "missing.sql", {}},
      {"", {}},
  };
  TIBScriptExtract ext;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    ext.ScriptFiles = {"stale"};
    ext.SetScriptFileName(c.text);
    EXPECT_EQ(ext.GetScriptFileName(), c.text);
    EXPECT_EQ(ext.ScriptFiles, c.files);
  }
}

TEST(ExtractScriptFileName, WildcardMatcher) {
  EXPECT_TRUE(MatchFileNameWildcard("abc.sql", "*.sql"));
  EXPECT_TRUE(MatchFileNameWildcard("abc.sql", "a?c.*"));
  EXPECT_TRUE(MatchFileNameWildcard("a.b.sql", "*.*.sql"));
  EXPECT_TRUE(MatchFileNameWildcard("x", "***"));
  EXPECT_FALSE(MatchFileNameWildcard("abc.sq", "*.sql"));
  EXPECT_FALSE(MatchFileNameWildcard("ac", "a?c"));
  // Long runs of stars must not explode.
  EXPECT_FALSE(MatchFileNameWildcard(std::string(200, 'a'), std::string(50, '*') + "b"));
}

// ---------------------------------------------------------------------------
// Attachment to a structure

TEST(ExtractAttach, AttachSwitchAndDetach) {
  TDBStructure s1, s2;
  TIBScriptExtract ext;
  ext.SetDBStructure(&s1);
  EXPECT_EQ(s1.Extractor, &ext);
  EXPECT_EQ(s1.Objs->Extractor, &ext);
  EXPECT_TRUE(static_cast<bool>(s1.Objs->OnAcceptObject));
  ASSERT_NE(ext.GetParser(), nullptr);
  EXPECT_EQ(ext.GetParser()->Objs, s1.Objs);

  ext.SetDBStructure(&s2);
  EXPECT_EQ(s1.Extractor, nullptr);
  EXPECT_EQ(s1.Objs->Extractor, nullptr);
  EXPECT_FALSE(static_cast<bool>(s1.Objs->OnAcceptObject));
  EXPECT_EQ(s2.Extractor, &ext);
  EXPECT_EQ(ext.GetParser()->Objs, s2.Objs);

  ext.SetDBStructure(nullptr);
  EXPECT_EQ(s2.Extractor, nullptr);
  EXPECT_EQ(ext.GetParser(), nullptr);
  EXPECT_EQ(ext.GetMessages()->Count(), 0);
}

TEST(ExtractAttach, EitherSideMayGoFirst) {
  TDBStructure kept;
  {
    TMSSQLScriptExtract ext;
    ext.SetDBStructure(&kept);
  }
  EXPECT_EQ(kept.Extractor, nullptr);
  EXPECT_EQ(kept.Objs->Extractor, nullptr);
  EXPECT_FALSE(static_cast<bool>(kept.Objs->OnAcceptObject));

  TOracleScriptExtract ext;
  {
    TDBStructure gone;
    ext.SetDBStructure(&gone);
  }
  EXPECT_EQ(ext.GetDBStructure(), nullptr);
  EXPECT_EQ(ext.GetParser(), nullptr);
  ext.ScriptFiles = {"x.sql"};
  std::string shown;
  ext.SetOnErrorMessage([&](void*, const std::string& t) { shown = t; });
  EXPECT_FALSE(ext.Extract());
  EXPECT_EQ(shown, "DBStructure not assigned. (TOracleScriptExtract) OracleScriptExtract");
}

TEST(ExtractAttach, SecondExtractorTakesTheStructureOver) {
  TDBStructure s;
  TIBScriptExtract first;
  TMySQLScriptExtract second;
  first.SetDBStructure(&s);
  second.SetDBStructure(&s);
  EXPECT_EQ(s.Extractor, &second);
  EXPECT_EQ(first.GetDBStructure(), nullptr);
  first.SetDBStructure(nullptr);  // must not detach the other extractor
  EXPECT_EQ(s.Extractor, &second);
  EXPECT_TRUE(static_cast<bool>(s.Objs->OnAcceptObject));
}

TEST_F(ExtractTest, LaterErrorHandlerReachesTheParser) {
  std::vector<std::string> late;
  Ext.SetOnErrorMessage([&](void*, const std::string& t) { late.push_back(t); });
  Ext.ScriptFiles = {Dir.Write("a.sql", "BAD\n")};
  EXPECT_FALSE(Ext.Extract());
  ASSERT_EQ(late.size(), 1u);
  EXPECT_NE(late[0].find("bad statement"), std::string::npos);
  EXPECT_TRUE(Errors.empty());
}

}  // namespace
