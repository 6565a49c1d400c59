#include "IniFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class IniFileTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(FDir.isValid()); }

  QString Path(const char* name = "Tessaly.Ini") const { return FDir.filePath(QString::fromLatin1(name)); }

  void WriteRaw(const std::string& bytes, const char* name = "Tessaly.Ini") const {
    QFile f(Path(name));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    ASSERT_EQ(f.write(bytes.data(), static_cast<qint64>(bytes.size())), static_cast<qint64>(bytes.size()));
  }

  std::string ReadRaw(const char* name = "Tessaly.Ini") const {
    QFile f(Path(name));
    if (!f.open(QIODevice::ReadOnly)) return "<missing>";
    return f.readAll().toStdString();
  }

  QTemporaryDir FDir;
};

TEST_F(IniFileTest, ValuesRoundTripVerbatim) {
  const std::vector<std::string> values = {
      "C:\\Scripts\\new.sql",
      "C:\\Program Files\\My Scripts\\db one.ddl",
      "/home/user/schema scripts/master.sql",
      "\\\\server\\share\\x.sql",
      "  leading and trailing blanks  ",
      "\"quoted\"",
      "'single'",
      "\"only opening quote",
      "a=b;c#d[e]",
      "",
      "caf\xC3\xA9 \xE9",
  };
  {
    TIniFile ini(Path());
    EXPECT_FALSE(ini.Existed());
    for (size_t i = 0; i < values.size(); ++i)
      ASSERT_TRUE(ini.WriteString("Databases", "Key" + std::to_string(i), values[i])) << i;
    ASSERT_TRUE(ini.UpdateFile()) << ini.ErrorString().toStdString();
  }
  const TIniFile back(Path());
  EXPECT_TRUE(back.Existed());
  for (size_t i = 0; i < values.size(); ++i)
    EXPECT_EQ(back.ReadString("Databases", "Key" + std::to_string(i), "<none>"), values[i]) << i;
  // The plain path is stored as typed, not escaped.
  EXPECT_NE(ReadRaw().find("Key0=C:\\Scripts\\new.sql\r\n"), std::string::npos) << ReadRaw();
}

TEST_F(IniFileTest, ReadsHandWrittenFiles) {
  WriteRaw(
      "\xEF\xBB\xBF"
      "Orphan=before any section\n"
      "; comment = not a key\r\n"
      "[ databases ]\r"
      "  masterscript  =   C:\\a b\\m.sql   \n"
      "TargetScript=\"  padded  \"\n"
      "no equals sign here\n"
      "DatabaseType=4\n"
      "[Other]\n"
      "Orphan=other\n"
      "[DATABASES]\n"
      "DatabaseType=5\n"
      "Late=only in the second copy");
  const TIniFile ini(Path());
  EXPECT_EQ(ini.ReadString("Databases", "MasterScript", ""), "C:\\a b\\m.sql");
  EXPECT_EQ(ini.ReadString("Databases", "TARGETSCRIPT", ""), "  padded  ");
  // The first section of a name is the one that counts.
  EXPECT_EQ(ini.ReadInteger("Databases", "DatabaseType", 1), 4);
  EXPECT_EQ(ini.ReadString("Databases", "Late", "def"), "def");
  EXPECT_EQ(ini.ReadString("Databases", "; comment", "def"), "def");
  EXPECT_EQ(ini.ReadString("Other", "Orphan", ""), "other");
  EXPECT_EQ(ini.ReadString("Missing", "Orphan", "def"), "def");
}

TEST_F(IniFileTest, ReadIntegerFallsBackOnAnythingButAWholeNumber) {
  struct Case {
    const char* text;
    int expected;
  };
  const Case cases[] = {{"3", 3},     {"0", 0},          {"-2", -2},        {"6", 6},
                        {"abc", 77},  {"6x", 77},        {"", 77},          {"99999999999", 77},
                        {"0x10", 77}, {"\"5\"", 5}};
  for (const Case& c : cases) {
    WriteRaw(std::string("[Databases]\nDatabaseType=") + c.text + "\n");
    EXPECT_EQ(TIniFile(Path()).ReadInteger("Databases", "DatabaseType", 77), c.expected) << c.text;
  }
  EXPECT_EQ(TIniFile(Path()).ReadInteger("Databases", "Absent", 77), 77);
}

TEST_F(IniFileTest, WritingKeepsEverythingElseInPlace) {
  WriteRaw(
      "; settings\n"
      "[Window]\n"
      "Left=10\n"
      "\n"
      "[databases]\n"
      "masterSCRIPT=old\n"
      "Extra=keep me\n"
      "garbage line\n"
      "\n"
      "[Tail]\n"
      "X=1\n");
  TIniFile ini(Path());
  ASSERT_TRUE(ini.WriteString("Databases", "MasterScript", "C:\\new.sql"));
  ASSERT_TRUE(ini.WriteString("Databases", "TargetScript", "t.sql"));
  ASSERT_TRUE(ini.WriteInteger("Fresh", "DatabaseType", 3));
  ASSERT_TRUE(ini.UpdateFile());
  EXPECT_EQ(ReadRaw(),
            "; settings\r\n"
            "[Window]\r\n"
            "Left=10\r\n"
            "\r\n"
            "[databases]\r\n"
            "masterSCRIPT=C:\\new.sql\r\n"
            "Extra=keep me\r\n"
            "garbage line\r\n"
            "TargetScript=t.sql\r\n"
            "\r\n"
            "[Tail]\r\n"
            "X=1\r\n"
            "\r\n"
            "[Fresh]\r\n"
            "DatabaseType=3\r\n");
}

TEST_F(IniFileTest, RefusesWhatCannotBeStoredOnOneLine) {
  WriteRaw("[Databases]\r\nMasterScript=keep\r\n");
  TIniFile ini(Path());
  EXPECT_FALSE(ini.WriteString("Databases", "MasterScript", "a.sql\r\n[Evil]\r\nX=1"));
  EXPECT_FALSE(ini.WriteString("Databases", "MasterScript", std::string("a\0b", 3)));
  EXPECT_FALSE(ini.WriteString("Databases", "Key=Value", "x"));
  EXPECT_FALSE(ini.WriteString("Data]bases", "Key", "x"));
  EXPECT_FALSE(ini.WriteString("", "Key", "x"));
  EXPECT_FALSE(ini.WriteString("Databases", "", "x"));
  EXPECT_EQ(ini.Text(), "[Databases]\r\nMasterScript=keep\r\n");
}

TEST_F(IniFileTest, MalformedOrMissingFilesGiveDefaults) {
  static const char kGarbage[] = "\x00\xFF\xFE[[[=\n\x01]=]\r\n=\n[Databases\nMasterScript\n";
  WriteRaw(std::string(kGarbage, sizeof kGarbage - 1), "garbage.ini");
  const TIniFile g(Path("garbage.ini"));
  EXPECT_TRUE(g.Existed());
  EXPECT_EQ(g.ReadString("Databases", "MasterScript", "def"), "def");
  EXPECT_EQ(g.ReadInteger("Databases", "DatabaseType", 1), 1);

  const TIniFile missing(Path("nothing.ini"));
  EXPECT_FALSE(missing.Existed());
  EXPECT_EQ(missing.ReadString("Databases", "MasterScript", ""), "");
}

TEST_F(IniFileTest, WriteFailuresAreReportedAndLoseNothing) {
  // A directory in place of the file can be neither read nor replaced.
  ASSERT_TRUE(QDir(FDir.path()).mkdir(QStringLiteral("Tessaly.Ini")));
  TIniFile blocked(Path());
  EXPECT_EQ(blocked.ReadString("Databases", "MasterScript", "def"), "def");
  ASSERT_TRUE(blocked.WriteString("Databases", "MasterScript", "x"));
  EXPECT_FALSE(blocked.UpdateFile());
  EXPECT_FALSE(blocked.ErrorString().isEmpty());
  EXPECT_TRUE(QFileInfo(Path()).isDir());

  TIniFile noDir(FDir.filePath(QStringLiteral("no/such/dir/Tessaly.Ini")));
  ASSERT_TRUE(noDir.WriteString("Databases", "MasterScript", "x"));
  EXPECT_FALSE(noDir.UpdateFile());
  EXPECT_FALSE(noDir.ErrorString().isEmpty());
}

TEST_F(IniFileTest, ReplacingLeavesNoTemporaryFiles) {
  WriteRaw("[Databases]\nMasterScript=old\n");
  for (int i = 0; i < 3; ++i) {
    TIniFile ini(Path());
    ASSERT_TRUE(ini.WriteInteger("Databases", "DatabaseType", i));
    ASSERT_TRUE(ini.UpdateFile());
  }
  EXPECT_EQ(QDir(FDir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System),
            QStringList{QStringLiteral("Tessaly.Ini")});
  EXPECT_EQ(ReadRaw(), "[Databases]\r\nMasterScript=old\r\nDatabaseType=2\r\n");
}

}  // namespace
