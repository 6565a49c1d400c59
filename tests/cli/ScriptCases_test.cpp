// Runs every folder under tests/cases through the command-line tool and
// compares the update script with the folder's expected.sql.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "JsonReader.h"
#include "OrvalisCli.h"

namespace fs = std::filesystem;

namespace {

const fs::path CasesDir = fs::path(ORVALIS_TEST_DATA) / "cases";

std::string ReadText(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

std::vector<std::string> ReadLines(const fs::path& p) {
  std::vector<std::string> lines;
  std::ifstream in(p);
  for (std::string line; std::getline(in, line);)
    if (!line.empty()) lines.push_back(line);
  return lines;
}

std::vector<std::string> CaseNames() {
  std::vector<std::string> names;
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(CasesDir, ec))
    if (entry.is_directory()) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

class ScriptCase : public testing::TestWithParam<std::string> {};

TEST_P(ScriptCase, ProducesTheExpectedScript) {
  const fs::path dir = CasesDir / GetParam();
  ASSERT_TRUE(fs::exists(dir / "expected.sql")) << dir;
  std::vector<std::string> args;
  if (fs::exists(dir / "args")) args = ReadLines(dir / "args");
  args.push_back((dir / "master.sql").string());
  args.push_back((dir / "target.sql").string());

  std::ostringstream out, err;
  const int status = RunOrvalis(args, out, err);

  if (fs::exists(dir / "exit"))
    EXPECT_EQ(status, std::stoi(ReadText(dir / "exit"))) << err.str();
  else
    EXPECT_NE(status, 2) << err.str();
  EXPECT_EQ(out.str(), ReadText(dir / "expected.sql"));

  // A JSON summary must also be a document a pipeline can read: an array of
  // change objects, each with all of its fields.
  if (std::find(args.begin(), args.end(), "--summary=json") != args.end()) {
    TJsonReader reader(out.str());
    ASSERT_TRUE(reader.Document()) << out.str();
    const auto count = [&](const char* key) { return std::count(reader.Keys.begin(), reader.Keys.end(), key); };
    for (const char* key : {"kind", "name", "reason", "statements"})
      EXPECT_EQ(count(key), count("action")) << key;
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, ScriptCase, testing::ValuesIn(CaseNames()),
                         [](const testing::TestParamInfo<std::string>& info) {
                           std::string name = info.param;
                           for (char& c : name)
                             if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                           return name;
                         });

}  // namespace
