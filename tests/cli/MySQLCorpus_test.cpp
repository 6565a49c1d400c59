// The MySQL corpus through the command-line tool: each script compared with
// itself finds nothing to do, and compared with an empty script creates every
// object it holds.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "OrvalisCli.h"
#include "core/kvtDBStructure.h"
#include "core/kvtMsgMngr.h"
#include "extract/kvtMySQLScriptExtract.h"

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

const char* const CorpusFiles[] = {"sakila-schema.sql", "employees-schema.sql",
                                   "employees-objects.sql"};

std::string CorpusPath(const char* file) {
  return (fs::path(ORVALIS_TEST_DATA) / "corpus" / "mysql" / file).string();
}

TEST(MySQLCorpus, ComparedWithItselfFindsNothing) {
  for (const char* file : CorpusFiles) {
    SCOPED_TRACE(file);
    const TRun r = RunTool({"--dialect", "mysql", CorpusPath(file), CorpusPath(file)});
    EXPECT_EQ(r.Status, 0) << r.Err;
    EXPECT_EQ(r.Out.find("CREATE "), std::string::npos) << r.Out;
    EXPECT_EQ(r.Out.find("DROP "), std::string::npos) << r.Out;
    EXPECT_EQ(r.Out.find("ALTER "), std::string::npos) << r.Out;
  }
}

TEST(MySQLCorpus, ComparedWithAnEmptyScriptCreatesEveryObject) {
  const fs::path empty = fs::temp_directory_path() / "orvalis-mysql-empty.sql";
  std::ofstream(empty, std::ios::binary).flush();
  for (const char* file : CorpusFiles) {
    SCOPED_TRACE(file);
    const TRun r = RunTool({"--dialect", "mysql", CorpusPath(file), empty.string()});
    ASSERT_EQ(r.Status, 1) << r.Err;
    // The objects the script holds, as the extractor reads them.
    TDBStructure db;
    TMySQLScriptExtract x;
    x.SetDBStructure(&db);
    x.OnErrorMessage = [](void*, const std::string&) {};
    x.ScriptFiles.push_back(CorpusPath(file));
    ASSERT_TRUE(x.Extract()) << x.GetMessages()->GetErrorText();
    auto expectCreate = [&](const std::string& head, const std::string& name) {
      EXPECT_NE(r.Out.find(head + " `" + name + "`"), std::string::npos) << head << " " << name;
    };
    for (const auto& e : db.Objs->TblList) expectCreate("CREATE TABLE", e.Obj->Name);
    for (const auto& e : db.Objs->ViwList) expectCreate("VIEW", e.Obj->Name);
    for (const auto& e : db.Objs->TrgList) expectCreate("CREATE TRIGGER", e.Obj->Name);
    for (const auto& e : db.Objs->PrcList) {
      const bool fn = r.Out.find("CREATE FUNCTION `" + e.Obj->Name + "`") != std::string::npos;
      const bool pr = r.Out.find("CREATE PROCEDURE `" + e.Obj->Name + "`") != std::string::npos;
      EXPECT_TRUE(fn || pr) << e.Obj->Name;
    }
    for (const auto& e : db.Objs->CtrList)
      if (!e.Obj->Name.empty()) expectCreate("ADD CONSTRAINT", e.Obj->Name);
  }
  fs::remove(empty);
}

}  // namespace
