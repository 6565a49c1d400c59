#include "IniFile.h"
#include "OrvalisForm.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSplitter>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>
#include <QToolButton>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

class FormFixture : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(FDir.isValid()); }

  QString SettingsPath() const { return FDir.filePath(QStringLiteral("Tessaly.Ini")); }

  void WriteSettings(const std::string& bytes) const {
    QFile f(SettingsPath());
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes.data(), static_cast<qint64>(bytes.size()));
  }

  std::string ReadSettings() const {
    QFile f(SettingsPath());
    if (!f.open(QIODevice::ReadOnly)) return "<missing>";
    return f.readAll().toStdString();
  }

  std::unique_ptr<TForm1> MakeForm() const { return std::make_unique<TForm1>(nullptr, SettingsPath()); }

  QTemporaryDir FDir;
};

using WindowTest = FormFixture;
using SettingsTest = FormFixture;
using FormTest = FormFixture;

// Text colour of the first character of every block of the log.
std::vector<std::pair<QString, QColor>> LogLines(const TForm1& form) {
  std::vector<std::pair<QString, QColor>> lines;
  for (QTextBlock b = form.MemoLog->document()->begin(); b.isValid(); b = b.next()) {
    QColor c;
    if (b.begin() != b.end()) c = b.begin().fragment().charFormat().foreground().color();
    lines.emplace_back(b.text(), c);
  }
  return lines;
}

TEST_F(WindowTest, ControlsCaptionsHintsAndInitialState) {
  const auto form = MakeForm();
  EXPECT_EQ(form->windowTitle(), QStringLiteral("Orvalis (Demo)"));
  EXPECT_EQ(form->size(), QSize(640, 400));

  struct Named {
    const char* name;
    const char* text;  // caption, or hint for the picture buttons
  };
  const Named controls[] = {
      {"Label1", "Master database script..."}, {"BtnSelM", "Select master database"},
      {"Label2", "Target database script..."}, {"BtnSelT", "Select target database"},
      {"rbIB", "InterBase / FB"},              {"rbSAW", "Sybase"},
      {"rbMy", "MySQL"},                       {"rbOra", "Oracle"},
      {"rbMS", "MS SQL"},                      {"BtnExtract", "Extract"},
      {"BtnCompare", "Compare"},
  };
  for (const Named& n : controls) {
    const auto* w = form->findChild<QWidget*>(QString::fromLatin1(n.name));
    ASSERT_NE(w, nullptr) << n.name;
    QString text;
    if (const auto* l = qobject_cast<const QLabel*>(w)) text = l->text();
    else if (const auto* t = qobject_cast<const QToolButton*>(w)) text = t->toolTip();
    else if (const auto* b = qobject_cast<const QAbstractButton*>(w)) text = b->text();
    EXPECT_EQ(text, QString::fromLatin1(n.text)) << n.name;
  }
  for (const char* name : {"fnScriptM", "FnScriptT", "ProgressBar", "MemoLog", "MemoScript"})
    EXPECT_NE(form->findChild<QWidget*>(QString::fromLatin1(name)), nullptr) << name;
  EXPECT_FALSE(form->BtnSelM->icon().isNull());

  EXPECT_TRUE(form->rbIB->isChecked());
  EXPECT_EQ(form->ProgressBar->value(), 0);
  EXPECT_EQ(form->MemoLog->toPlainText(), QStringLiteral("< Log >"));
  EXPECT_EQ(form->MemoScript->toPlainText(), QStringLiteral("< Result script >"));
  for (const QTextEdit* pane : {form->MemoLog, form->MemoScript}) {
    EXPECT_TRUE(pane->isReadOnly());
    EXPECT_EQ(pane->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_EQ(pane->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
  }
  EXPECT_EQ(form->MemoScript->lineWrapMode(), QTextEdit::NoWrap);
}

TEST_F(WindowTest, LogPaneTakesAThirdAboveTheScriptPane) {
  const auto form = MakeForm();
  form->show();
  QApplication::processEvents();
  const QList<int> sizes = form->Splitter->sizes();
  ASSERT_EQ(sizes.size(), 2);
  const double share = double(sizes[0]) / double(sizes[0] + sizes[1]);
  EXPECT_GT(share, 0.25);
  EXPECT_LT(share, 0.42);
  EXPECT_LT(form->MemoLog->geometry().bottom(), form->MemoScript->geometry().top());
  // The log keeps its height; the script pane takes what the window gains.
  const int logHeight = form->MemoLog->height();
  form->resize(800, 600);
  QApplication::processEvents();
  EXPECT_EQ(form->MemoLog->height(), logHeight);

  if (qEnvironmentVariableIsSet("ORVALIS_SCREENSHOT")) {
    form->resize(640, 400);
    QApplication::processEvents();
    form->grab().save(qEnvironmentVariable("ORVALIS_SCREENSHOT"));
  }
}

TEST_F(SettingsTest, FileNamesAndDialectRoundTrip) {
  const QString master = QStringLiteral("C:\\Scripts\\new.sql");
  const QString target = QStringLiteral("/home/me/My Scripts/old schema.ddl");
  {
    auto form = MakeForm();
    EXPECT_FALSE(form->SettingsFileExisted());
    EXPECT_TRUE(form->fnScriptM->text().isEmpty());
    EXPECT_TRUE(form->FnScriptT->text().isEmpty());
    form->fnScriptM->setText(master);
    form->FnScriptT->setText(target);
    form->rbOra->setChecked(true);
  }
  EXPECT_EQ(ReadSettings(),
            "[Databases]\r\nMasterScript=C:\\Scripts\\new.sql\r\n"
            "TargetScript=/home/me/My Scripts/old schema.ddl\r\nDatabaseType=4\r\n");
  const auto again = MakeForm();
  EXPECT_TRUE(again->SettingsFileExisted());
  EXPECT_EQ(again->fnScriptM->text(), master);
  EXPECT_EQ(again->FnScriptT->text(), target);
  EXPECT_EQ(again->GetDatabaseType(), 4);
  EXPECT_TRUE(again->rbOra->isChecked());
}

TEST_F(SettingsTest, DatabaseTypeOutsideTheOfferedDialectsSelectsInterBase) {
  struct Case {
    const char* line;
    int expected;
  };
  const Case cases[] = {{"DatabaseType=0", 1},   {"DatabaseType=6", 1},  {"DatabaseType=abc", 1},
                        {"DatabaseType=", 1},    {"DatabaseType=-3", 1}, {"", 1},
                        {"DatabaseType=2", 2},   {"databasetype=3", 3},  {"DatabaseType = 5 ", 5}};
  for (const Case& c : cases) {
    WriteSettings(std::string("[Databases]\r\n") + c.line + "\r\n");
    const auto form = MakeForm();
    EXPECT_EQ(form->GetDatabaseType(), c.expected) << c.line;
    EXPECT_EQ(form->rbIB->isChecked(), c.expected == 1) << c.line;
  }
}

TEST_F(SettingsTest, MalformedFileGivesEmptyNamesAndInterBase) {
  static const char kGarbage[] = "\x00\xFF[Databases\nMasterScript\n=x\n\x7F\x80";
  WriteSettings(std::string(kGarbage, sizeof kGarbage - 1));
  const auto form = MakeForm();
  EXPECT_TRUE(form->fnScriptM->text().isEmpty());
  EXPECT_TRUE(form->FnScriptT->text().isEmpty());
  EXPECT_EQ(form->GetDatabaseType(), 1);
}

TEST_F(SettingsTest, OtherSectionsAndKeysSurvive) {
  WriteSettings(
      "[Window]\r\nTop=5\r\n\r\n[DATABASES]\r\nmasterscript=old.sql\r\nHistory=a;b\r\n"
      "DatabaseType=2\r\n\r\n[Tail]\r\nX=1\r\n");
  {
    auto form = MakeForm();
    EXPECT_EQ(form->fnScriptM->text(), QStringLiteral("old.sql"));
    EXPECT_EQ(form->GetDatabaseType(), 2);
    form->fnScriptM->setText(QStringLiteral("new.sql"));
  }
  EXPECT_EQ(ReadSettings(),
            "[Window]\r\nTop=5\r\n\r\n[DATABASES]\r\nmasterscript=new.sql\r\nHistory=a;b\r\n"
            "DatabaseType=2\r\nTargetScript=\r\n\r\n[Tail]\r\nX=1\r\n");
}

TEST_F(SettingsTest, ClosingTheWindowStoresNamesOnce) {
  auto form = MakeForm();
  form->show();
  form->fnScriptM->setText(QStringLiteral("never used.sql"));
  form->FnScriptT->setText(QStringLiteral("D:\\t.sql"));
  form->rbMS->setChecked(true);
  ASSERT_TRUE(form->close());
  const std::string written =
      "[Databases]\r\nMasterScript=never used.sql\r\nTargetScript=D:\\t.sql\r\nDatabaseType=5\r\n";
  EXPECT_EQ(ReadSettings(), written);
  // Destroying the closed window does not write a second time.
  form->fnScriptM->setText(QStringLiteral("changed later"));
  form.reset();
  EXPECT_EQ(ReadSettings(), written);
}

TEST_F(SettingsTest, StartupNamesApplyOnlyWithoutASettingsFile) {
  {
    auto first = MakeForm();
    first->ApplyStartupDefaults(QStringLiteral("m.sql"), QStringLiteral("t.sql"));
    EXPECT_EQ(first->fnScriptM->text(), QStringLiteral("m.sql"));
    EXPECT_EQ(first->FnScriptT->text(), QStringLiteral("t.sql"));
    first->fnScriptM->setText(QStringLiteral("chosen.sql"));
  }
  const auto second = MakeForm();
  second->ApplyStartupDefaults(QStringLiteral("m.sql"), QStringLiteral("t.sql"));
  EXPECT_EQ(second->fnScriptM->text(), QStringLiteral("chosen.sql"));
  EXPECT_EQ(second->FnScriptT->text(), QStringLiteral("t.sql"));
}

TEST_F(FormTest, DatabaseTypeSetterAndGetter) {
  const auto form = MakeForm();
  const QRadioButton* buttons[] = {form->rbIB, form->rbSAW, form->rbMy, form->rbOra, form->rbMS};
  for (int value = -1; value <= 8; ++value) {
    form->SetDatabaseType(value);
    const int expected = (value >= 2 && value <= 5) ? value : 1;
    EXPECT_EQ(form->GetDatabaseType(), expected) << value;
    for (int code = 1; code <= 5; ++code)
      EXPECT_EQ(buttons[code - 1]->isChecked(), code == expected) << value << " " << code;
  }
}

TEST_F(FormTest, SelectButtonsFillOnlyTheirOwnField) {
  const auto form = MakeForm();
  form->fnScriptM->setText(QStringLiteral("master.sql"));
  form->FnScriptT->setText(QStringLiteral("target.sql"));
  QStringList filters;
  std::optional<QString> answer = QStringLiteral("/data/new target.ddl");
  form->OpenDialog1 = [&](const QString& filter) {
    filters << filter;
    return answer;
  };

  form->BtnSelT->click();
  EXPECT_EQ(form->FnScriptT->text(), QStringLiteral("/data/new target.ddl"));
  EXPECT_EQ(form->fnScriptM->text(), QStringLiteral("master.sql"));
  ASSERT_EQ(filters.size(), 1);
  EXPECT_EQ(filters[0], QStringLiteral("SQL script (*.SQL) (*.sql);;SQL script (*.DDL) (*.ddl);;"
                                       "All files (*.*) (*)"));

  answer = std::nullopt;  // cancelled
  form->BtnSelM->click();
  EXPECT_EQ(form->fnScriptM->text(), QStringLiteral("master.sql"));

  answer = QStringLiteral("C:\\m.sql");
  form->BtnSelM->click();
  EXPECT_EQ(form->fnScriptM->text(), QStringLiteral("C:\\m.sql"));
  EXPECT_EQ(form->FnScriptT->text(), QStringLiteral("/data/new target.ddl"));
}

TEST_F(FormTest, ErrorIsRedEvenDuringHotLightAndLeavesWindowText) {
  const auto form = MakeForm();
  const QColor link = form->palette().color(QPalette::Link);
  const QColor text = form->palette().color(QPalette::WindowText);
  ASSERT_NE(link, QColor(Qt::red));

  form->SelectHotLight();
  form->AddLogLine(QStringLiteral("< Extracting finished... >"));
  form->VeltraneErrorMessage(nullptr, "Unknown token at line 3");
  EXPECT_EQ(form->LogColor(), text);
  form->VeltraneLogNextLine(nullptr, "next line");

  const auto lines = LogLines(*form);
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[0].first, QStringLiteral("< Log >"));
  EXPECT_EQ(lines[1], std::make_pair(QStringLiteral("< Extracting finished... >"), link));
  EXPECT_EQ(lines[2], std::make_pair(QStringLiteral("Unknown token at line 3"), QColor(Qt::red)));
  EXPECT_EQ(lines[3], std::make_pair(QStringLiteral("next line"), text));
}

TEST_F(FormTest, LogLinesSplitAtLineBreaksAndScrollIntoView) {
  const auto form = MakeForm();
  form->show();
  form->SelectError();
  form->AddLogLine(std::string("Errors:\r\nfirst\r\nsecond\nthird\rfourth"));
  auto lines = LogLines(*form);
  ASSERT_EQ(lines.size(), 6u);
  EXPECT_EQ(lines[1].first, QStringLiteral("Errors:"));
  EXPECT_EQ(lines[2].first, QStringLiteral("first"));
  EXPECT_EQ(lines[5].first, QStringLiteral("fourth"));
  EXPECT_EQ(lines[5].second, QColor(Qt::red));

  for (int i = 0; i < 200; ++i) form->AddLogLine(QStringLiteral("line %1").arg(i));
  QApplication::processEvents();
  EXPECT_GT(form->MemoLog->verticalScrollBar()->value(), 0);
  EXPECT_TRUE(form->MemoLog->textCursor().atEnd());
  EXPECT_TRUE(form->MemoLog->viewport()->rect().contains(form->MemoLog->cursorRect()));

  // Library text that is not UTF-8 is shown byte for byte as Latin-1.
  form->VeltraneLogNextLine(nullptr, "caf\xE9 / caf\xC3\xA9");
  EXPECT_EQ(LogLines(*form).back().first, QString::fromUtf8("caf\xC3\xA9 / caf\xC3\x83\xC2\xA9"));
  form->VeltraneLogNextLine(nullptr, "caf\xC3\xA9");
  EXPECT_EQ(LogLines(*form).back().first, QString::fromUtf8("caf\xC3\xA9"));
}

TEST_F(FormTest, ProgressFollowsValueAndMaximum) {
  const auto form = MakeForm();
  struct Case {
    int value, max, shownValue, shownMax;
  };
  const Case cases[] = {{5, 10, 5, 10}, {10, 10, 10, 10}, {15, 10, 10, 10},
                        {-3, 10, 0, 10}, {0, 0, 0, 1},    {3, -4, 0, 1}};
  for (const Case& c : cases) {
    form->VeltraneProgressUpdate(nullptr, c.value, c.max);
    EXPECT_EQ(form->ProgressBar->value(), c.shownValue) << c.value << "/" << c.max;
    EXPECT_EQ(form->ProgressBar->maximum(), c.shownMax) << c.value << "/" << c.max;
    EXPECT_EQ(form->ProgressBar->minimum(), 0);
  }
}

}  // namespace
