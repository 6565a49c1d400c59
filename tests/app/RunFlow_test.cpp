// Extract and Compare as the window drives them: markers and their colours,
// the collected errors, the result pane, and the guard against a second run.
#include "OrvalisForm.h"

#include "compare/kvtVeltrane.h"
#include "core/kvtDBStructure.h"
#include "script/kvtSQL_Exec.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMetaObject>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr char kMasterSql[] =
    "CREATE TABLE CUSTOMER (\r\n"
    "  ID INTEGER NOT NULL,\r\n"
    "  PHONE VARCHAR(20)\r\n"
    ");\r\n";
constexpr char kTargetSql[] =
    "CREATE TABLE CUSTOMER (\r\n"
    "  ID INTEGER NOT NULL\r\n"
    ");\r\n";

const QString kExtractFinished = QStringLiteral("< Extracting finished... >");
const QString kCompareFinished = QStringLiteral("< Comparing finished. Loading script... >");
const QString kProcessFinished = QStringLiteral("< Process finished. >");

using TLogLine = std::pair<QString, QColor>;

// Every block of the log with the colour of its first character.
std::vector<TLogLine> LogLines(const TForm1& form) {
  std::vector<TLogLine> lines;
  for (QTextBlock b = form.MemoLog->document()->begin(); b.isValid(); b = b.next()) {
    QColor c;
    if (b.begin() != b.end()) c = b.begin().fragment().charFormat().foreground().color();
    lines.emplace_back(b.text(), c);
  }
  return lines;
}

int CountLines(const TForm1& form, const QString& text) {
  int n = 0;
  for (const TLogLine& l : LogLines(form)) n += l.first == text ? 1 : 0;
  return n;
}

class RunFlowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(FDir.isValid());
    MasterFile = WriteFile("master.sql", kMasterSql);
    TargetFile = WriteFile("target.sql", kTargetSql);
  }

  QString WriteFile(const char* name, const std::string& bytes) const {
    const QString path = FDir.filePath(QString::fromLatin1(name));
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes.data(), static_cast<qint64>(bytes.size()));
    return path;
  }

  std::unique_ptr<TForm1> MakeForm(const QString& master, const QString& target) const {
    auto form = std::make_unique<TForm1>(nullptr, FDir.filePath(QStringLiteral("Tessaly.Ini")));
    form->fnScriptM->setText(master);
    form->FnScriptT->setText(target);
    return form;
  }

  QTemporaryDir FDir;
  QString MasterFile;
  QString TargetFile;
};

TEST_F(RunFlowTest, ExtractFailuresAreReportedThenMarkedAndCollected) {
  const QString missing = FDir.filePath(QStringLiteral("absent.sql"));
  struct Case {
    const char* what;
    QString master, target;
    QString error;  // raised during the run and collected under "Errors:"
  };
  const Case cases[] = {
      {"empty master field", QString(), TargetFile,
       QStringLiteral("ScriptFileName(s) is empty. (TIBScriptExtract) IBScriptExtract")},
      {"missing master file", missing, TargetFile, QStringLiteral("File not found: ") + missing},
      // The target side runs first; its failure leaves the master side alone.
      {"missing target file", MasterFile, missing, QStringLiteral("File not found: ") + missing},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const auto form = MakeForm(c.master, c.target);
    const QColor link = form->palette().color(QPalette::Link);
    const QColor red(Qt::red);
    form->BtnExtractClick();

    const auto lines = LogLines(*form);
    ASSERT_GE(lines.size(), 5u);
    const size_t n = lines.size();
    EXPECT_EQ(lines[n - 4], TLogLine(c.error, red));
    EXPECT_EQ(lines[n - 3], TLogLine(kExtractFinished, link));
    EXPECT_EQ(lines[n - 2], TLogLine(QStringLiteral("Errors:"), red));
    EXPECT_EQ(lines[n - 1], TLogLine(c.error, red));
    EXPECT_EQ(CountLines(*form, c.error), 2) << "reported once during the run, once collected";
    EXPECT_EQ(form->LogColor(), form->palette().color(QPalette::WindowText));
    EXPECT_FALSE(form->Running());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
  }
}

TEST_F(RunFlowTest, CompareRendersTheScriptAndReplacesTheEarlierOne) {
  const auto form = MakeForm(MasterFile, TargetFile);
  form->BtnExtractClick();
  EXPECT_EQ(CountLines(*form, QStringLiteral("Errors:")), 0);
  EXPECT_EQ(LogLines(*form).back(), TLogLine(kExtractFinished, form->palette().color(QPalette::Link)));

  form->BtnCompareClick();
  const QString first = form->MemoScript->toPlainText();
  EXPECT_FALSE(first.contains(QStringLiteral("< Result script >")));
  // The pane shows exactly the rendered statement list, one line per line.
  TStringList rendered;
  form->Veltrane->GetSQLExec()->RenderScript(rendered, false);
  ASSERT_FALSE(rendered.empty());
  EXPECT_EQ(form->MemoScript->document()->blockCount(), static_cast<int>(rendered.size()));
  EXPECT_EQ(form->MemoScript->document()->firstBlock().text(), QString::fromStdString(rendered.front()));

  const auto lines = LogLines(*form);
  const QColor link = form->palette().color(QPalette::Link);
  ASSERT_GE(lines.size(), 2u);
  EXPECT_EQ(lines.back(), TLogLine(kProcessFinished, link));
  EXPECT_EQ(CountLines(*form, kCompareFinished), 1);

  form->BtnCompareClick();
  EXPECT_EQ(form->MemoScript->toPlainText(), first) << "the script is replaced, not appended";
  EXPECT_EQ(CountLines(*form, kProcessFinished), 2);
}

TEST_F(RunFlowTest, DialectChangeAfterExtractLeavesTheStructuresAlone) {
  const auto reference = MakeForm(MasterFile, TargetFile);
  reference->BtnExtractClick();
  reference->BtnCompareClick();

  const auto form = MakeForm(MasterFile, TargetFile);
  form->BtnExtractClick();
  form->rbMS->setChecked(true);
  form->BtnCompareClick();
  EXPECT_EQ(form->DBStructureMaster->Objs->ServerType, srvInterBase);
  EXPECT_EQ(form->DBStructureTarget->Objs->ServerType, srvInterBase);
  EXPECT_EQ(form->DBStructureMaster->Objs->TblList.Count(),
            reference->DBStructureMaster->Objs->TblList.Count());
  EXPECT_EQ(form->MemoScript->toPlainText(), reference->MemoScript->toPlainText());

  // The next Extract takes the new dialect's extractor for both sides.
  form->BtnExtractClick();
  EXPECT_EQ(form->DBStructureMaster->Objs->ServerType, srvMSSQL);
  EXPECT_EQ(form->DBStructureTarget->Objs->ServerType, srvMSSQL);
}

TEST_F(RunFlowTest, CompareAfterAFailedExtractKeepsTheLastScript) {
  const auto form = MakeForm(MasterFile, TargetFile);
  form->BtnExtractClick();
  form->BtnCompareClick();
  const QString script = form->MemoScript->toPlainText();

  form->fnScriptM->clear();
  form->BtnExtractClick();
  form->BtnCompareClick();
  EXPECT_EQ(form->MemoScript->toPlainText(), script);
  EXPECT_EQ(CountLines(*form, kCompareFinished), 1);
  EXPECT_EQ(LogLines(*form).back().second, QColor(Qt::red));
}

TEST_F(RunFlowTest, CompareWithoutExtractWorksOnEmptyStructures) {
  const auto form = MakeForm(QString(), QString());
  form->BtnCompareClick();
  EXPECT_EQ(CountLines(*form, kProcessFinished), 1);
  EXPECT_FALSE(form->MemoScript->toPlainText().contains(QStringLiteral("< Result script >")));
}

TEST_F(RunFlowTest, ClicksDuringARunAreIgnored) {
  const auto form = MakeForm(MasterFile, TargetFile);
  form->show();
  // Pending events are let through at every progress report.
  form->PaintIntervalMs = 0;
  bool runningSeen = false;
  bool closedDuringRun = true;
  bool queuedDelivered = false;
  form->Veltrane->OnAfterExtractTarget = [&](void*) {
    runningSeen = form->Running();
    form->BtnExtractClick();
    form->BtnCompareClick();
    closedDuringRun = form->close();
    // Delivered while the master side is parsed, still inside the run.
    QMetaObject::invokeMethod(
        form.get(),
        [&] {
          queuedDelivered = form->Running();
          form->BtnCompareClick();
        },
        Qt::QueuedConnection);
  };
  form->BtnExtractClick();
  QApplication::processEvents();

  EXPECT_TRUE(runningSeen);
  EXPECT_TRUE(queuedDelivered);
  EXPECT_FALSE(closedDuringRun);
  EXPECT_FALSE(form->isVisible()) << "the close request is carried out after the run";
  EXPECT_EQ(CountLines(*form, kExtractFinished), 1);
  EXPECT_EQ(CountLines(*form, kCompareFinished), 0);
  EXPECT_EQ(form->MemoScript->toPlainText(), QStringLiteral("< Result script >"));
  EXPECT_FALSE(form->Running());
  EXPECT_TRUE(QFile::exists(FDir.filePath(QStringLiteral("Tessaly.Ini"))));

  form->Veltrane->OnAfterExtractTarget = nullptr;
  form->BtnExtractClick();
  EXPECT_EQ(CountLines(*form, kExtractFinished), 2) << "a run after the first one starts normally";
}

}  // namespace
