#include "OrvalisForm.h"

#include "IniFile.h"
#include "compare/kvtVeltrane.h"
#include "core/kvtDBStructure.h"
#include "core/kvtMsgMngr.h"
#include "core/kvtTypes.h"
#include "extract/kvtASAScriptExtract.h"
#include "extract/kvtIBScriptExtract.h"
#include "extract/kvtMSSQLScriptExtract.h"
#include "extract/kvtMySQLScriptExtract.h"
#include "extract/kvtOracleScriptExtract.h"
#include "script/kvtSQL_Exec.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFileDialog>
#include <QFontDatabase>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QShowEvent>
#include <QScrollBar>
#include <QSplitter>
#include <QStringDecoder>
#include <QStyle>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QToolButton>
#include <QVBoxLayout>
#include <QtGlobal>

#include <algorithm>
#include <cstdio>
#include <exception>

namespace {

constexpr char kSettingsFileName[] = "Tessaly.Ini";
constexpr char kSection[] = "Databases";
constexpr char kMasterKey[] = "MasterScript";
constexpr char kTargetKey[] = "TargetScript";
constexpr char kTypeKey[] = "DatabaseType";

constexpr char kExtractFinished[] = "< Extracting finished... >";
constexpr char kErrorsHeader[] = "Errors:";
constexpr char kCompareFinished[] = "< Comparing finished. Loading script... >";
constexpr char kProcessFinished[] = "< Process finished. >";

QTextEdit* MakePane(QWidget* parent, const char* name, const QString& firstLine) {
  auto* pane = new QTextEdit(parent);
  pane->setObjectName(QString::fromLatin1(name));
  pane->setReadOnly(true);
  pane->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  pane->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  pane->setPlainText(firstLine);
  return pane;
}

}  // namespace

QString LibTextToQString(const std::string& text) {
  QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  QString s = decoder.decode(QByteArrayView(text.data(), static_cast<qsizetype>(text.size())));
  if (decoder.hasError()) return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
  return s;
}

std::string QStringToLibText(const QString& text) { return text.toUtf8().toStdString(); }

void ShowErrorTextInMessageBox(const std::string& text) {
  // Without a running widget application there is nothing to show a box on.
  if (qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr) {
    std::fprintf(stderr, "%s\n", text.c_str());
    return;
  }
  QMessageBox::critical(QApplication::activeWindow(), QStringLiteral("Orvalis (Demo)"),
                        LibTextToQString(text));
}

TBusyCursor::TBusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
TBusyCursor::~TBusyCursor() { QApplication::restoreOverrideCursor(); }

QString TForm1::DefaultSettingsPath() {
  return QDir(QCoreApplication::applicationDirPath()).filePath(QString::fromLatin1(kSettingsFileName));
}

QString TForm1::DialogFilterToQt(const QString& pairs) {
  const QStringList parts = pairs.split(QLatin1Char('|'));
  QStringList entries;
  // A trailing description without a pattern is dropped.
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    QStringList patterns = parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts);
    for (QString& p : patterns) {
      p = p.trimmed();
      if (p == QLatin1String("*.*")) p = QStringLiteral("*");
    }
    entries << parts[i] + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) + QLatin1Char(')');
  }
  return entries.join(QStringLiteral(";;"));
}

TForm1::TForm1(QWidget* parent, const QString& settingsPath)
    : QWidget(parent), FSettingsPath(settingsPath.isEmpty() ? DefaultSettingsPath() : settingsPath) {
  BuildControls();
  CreateComponents();
  FLogColor = palette().color(QPalette::WindowText);
  OpenDialog1 = [this](const QString& filter) -> std::optional<QString> {
    const QString name = QFileDialog::getOpenFileName(this, QString(), QString(), filter);
    if (name.isEmpty()) return std::nullopt;
    return name;
  };
  FormCreate();
}

TForm1::~TForm1() {
  FormDestroy();
  ReleaseComponents();
}

void TForm1::CreateComponents() {
  DBStructureMaster = std::make_unique<TDBStructure>();
  DBStructureTarget = std::make_unique<TDBStructure>();
  IBScriptExtract = std::make_unique<TIBScriptExtract>();
  SAWScriptExtract = std::make_unique<TASAScriptExtract>();
  MySQLScriptExtract = std::make_unique<TMySQLScriptExtract>();
  OracleScriptExtract = std::make_unique<TOracleScriptExtract>();
  MSSQLScriptExtract = std::make_unique<TMSSQLScriptExtract>();
  Veltrane = std::make_unique<TVeltrane>();
  Veltrane->Name = "Veltrane";
  Veltrane->SetDBStructureMaster(DBStructureMaster.get());
  Veltrane->SetDBStructureTarget(DBStructureTarget.get());

  const TProgressUpdateEvent progress = [this](void* sender, int value, int maxValue) {
    VeltraneProgressUpdate(sender, value, maxValue);
  };
  const TLogNextLineEvent log = [this](void* sender, const std::string& text) {
    VeltraneLogNextLine(sender, text);
  };
  const TErrorMessageEvent error = [this](void* sender, const std::string& text) {
    VeltraneErrorMessage(sender, text);
  };
  Veltrane->OnProgressUpdate = progress;
  Veltrane->OnLogNextLine = log;
  Veltrane->OnErrorMessage = error;
  // Through the setters, so that the extractors' parsers get them as well.
  for (int code = srvInterBase; code <= srvMSSQL; ++code) {
    TCustomScriptExtract* ex = ExtractorOfDialect(code);
    ex->SetOnProgressUpdate(progress);
    ex->SetOnLogNextLine(log);
    ex->SetOnErrorMessage(error);
  }
  Veltrane->OnBeforeExtract = [this](void* sender) { VeltraneBeforeExtract(sender); };
  Veltrane->OnBeforeExtractMaster = [this](void* sender) { VeltraneBeforeExtractMaster(sender); };
  Veltrane->OnBeforeExtractTarget = [this](void* sender) { VeltraneBeforeExtractTarget(sender); };
}

void TForm1::ReleaseComponents() {
  // The comparer clears its links into the structures' containers as it
  // goes; each extractor then detaches from the structure it is bound to,
  // which must still exist; the structures go last.
  Veltrane.reset();
  IBScriptExtract.reset();
  SAWScriptExtract.reset();
  MySQLScriptExtract.reset();
  OracleScriptExtract.reset();
  MSSQLScriptExtract.reset();
  DBStructureMaster.reset();
  DBStructureTarget.reset();
}

void TForm1::BuildControls() {
  setObjectName(QStringLiteral("Form1"));
  setWindowTitle(QStringLiteral("Orvalis (Demo)"));

  const QIcon openIcon = style()->standardIcon(QStyle::SP_DirOpenIcon);
  auto makeSelButton = [&](const char* name, const char* hint) {
    auto* b = new QToolButton(this);
    b->setObjectName(QString::fromLatin1(name));
    b->setIcon(openIcon);
    b->setToolTip(QString::fromLatin1(hint));
    b->setAccessibleName(QString::fromLatin1(hint));
    return b;
  };
  auto makeEdit = [&](const char* name) {
    auto* e = new QLineEdit(this);
    e->setObjectName(QString::fromLatin1(name));
    return e;
  };
  auto makeLabel = [&](const char* name, const char* text, QWidget* buddy) {
    auto* l = new QLabel(QString::fromLatin1(text), this);
    l->setObjectName(QString::fromLatin1(name));
    l->setBuddy(buddy);
    return l;
  };

  fnScriptM = makeEdit("fnScriptM");
  BtnSelM = makeSelButton("BtnSelM", "Select master database");
  Label1 = makeLabel("Label1", "Master database script...", fnScriptM);
  FnScriptT = makeEdit("FnScriptT");
  BtnSelT = makeSelButton("BtnSelT", "Select target database");
  Label2 = makeLabel("Label2", "Target database script...", FnScriptT);

  FDialectGroup = new QButtonGroup(this);
  auto makeRadio = [&](const char* name, const char* caption, int code) {
    auto* r = new QRadioButton(QString::fromLatin1(caption), this);
    r->setObjectName(QString::fromLatin1(name));
    FDialectGroup->addButton(r, code);
    return r;
  };
  rbIB = makeRadio("rbIB", "InterBase / FB", srvInterBase);
  rbSAW = makeRadio("rbSAW", "Sybase", srvASA);
  rbMy = makeRadio("rbMy", "MySQL", srvMySQL);
  rbOra = makeRadio("rbOra", "Oracle", srvOracle);
  rbMS = makeRadio("rbMS", "MS SQL", srvMSSQL);
  rbIB->setChecked(true);

  BtnExtract = new QPushButton(QStringLiteral("Extract"), this);
  BtnExtract->setObjectName(QStringLiteral("BtnExtract"));
  BtnCompare = new QPushButton(QStringLiteral("Compare"), this);
  BtnCompare->setObjectName(QStringLiteral("BtnCompare"));

  ProgressBar = new QProgressBar(this);
  ProgressBar->setObjectName(QStringLiteral("ProgressBar"));
  ProgressBar->setOrientation(Qt::Horizontal);
  ProgressBar->setRange(0, 100);
  ProgressBar->setValue(0);
  ProgressBar->setTextVisible(false);

  // The log pane keeps its height when the window grows; the script pane
  // takes the rest.
  Splitter = new QSplitter(Qt::Vertical, this);
  Splitter->setObjectName(QStringLiteral("Splitter"));
  Splitter->setChildrenCollapsible(false);
  MemoLog = MakePane(Splitter, "MemoLog", QStringLiteral("< Log >"));
  MemoScript = MakePane(Splitter, "MemoScript", QStringLiteral("< Result script >"));
  MemoScript->setLineWrapMode(QTextEdit::NoWrap);
  MemoScript->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  Splitter->addWidget(MemoLog);
  Splitter->addWidget(MemoScript);
  Splitter->setStretchFactor(0, 0);
  Splitter->setStretchFactor(1, 1);

  auto* files = new QGridLayout;
  files->addWidget(Label1, 0, 0, 1, 2);
  files->addWidget(fnScriptM, 1, 0);
  files->addWidget(BtnSelM, 1, 1);
  files->addWidget(Label2, 0, 2, 1, 2);
  files->addWidget(FnScriptT, 1, 2);
  files->addWidget(BtnSelT, 1, 3);
  files->setColumnStretch(0, 1);
  files->setColumnStretch(2, 1);
  files->setColumnMinimumWidth(1, 0);
  files->setHorizontalSpacing(4);

  auto* actions = new QHBoxLayout;
  for (QRadioButton* r : {rbIB, rbSAW, rbMy, rbOra, rbMS}) actions->addWidget(r);
  actions->addStretch(1);
  actions->addWidget(BtnExtract);
  actions->addWidget(BtnCompare);

  auto* root = new QVBoxLayout(this);
  root->setContentsMargins(6, 6, 6, 6);
  root->setSpacing(4);
  root->addLayout(files);
  root->addLayout(actions);
  root->addWidget(ProgressBar);
  root->addWidget(Splitter, 1);

  connect(BtnSelM, &QToolButton::clicked, this, [this] { BtnSelClick(BtnSelM); });
  connect(BtnSelT, &QToolButton::clicked, this, [this] { BtnSelClick(BtnSelT); });
  connect(BtnExtract, &QPushButton::clicked, this, &TForm1::BtnExtractClick);
  connect(BtnCompare, &QPushButton::clicked, this, &TForm1::BtnCompareClick);

  // 640 by 400, centred on the screen.
  resize(640, 400);
  if (const QScreen* scr = screen()) {
    const QRect avail = scr->availableGeometry();
    move(avail.center() - QPoint(width() / 2, height() / 2));
  }
}

void TForm1::FormCreate() {
  const TIniFile ini(FSettingsPath);
  FSettingsFileExisted = ini.Existed();
  fnScriptM->setText(LibTextToQString(ini.ReadString(kSection, kMasterKey, std::string())));
  FnScriptT->setText(LibTextToQString(ini.ReadString(kSection, kTargetKey, std::string())));
  // A missing or unreadable number keeps InterBase / FB.
  SetDatabaseType(ini.ReadInteger(kSection, kTypeKey, srvInterBase));
}

void TForm1::FormDestroy() {
  // Settings are written once: when the window closes or, if it never was
  // closed, when it is destroyed.
  if (FSettingsWritten) return;
  FSettingsWritten = true;
  TIniFile ini(FSettingsPath);
  bool ok = ini.WriteString(kSection, kMasterKey, QStringToLibText(fnScriptM->text()));
  ok = ini.WriteString(kSection, kTargetKey, QStringToLibText(FnScriptT->text())) && ok;
  ini.WriteInteger(kSection, kTypeKey, GetDatabaseType());
  if (!ok) qWarning("A script file name holds a line break and was not stored in the settings file");
  // There is no window left to show a failure on; the previous settings stay.
  if (!ini.UpdateFile()) qWarning("%s", qUtf8Printable(ini.ErrorString()));
}

void TForm1::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  // The panes can only be divided once the splitter has its real height:
  // a third for the log, the rest for the script.
  if (FPanesDivided) return;
  FPanesDivided = true;
  if (QLayout* l = layout()) l->activate();
  const int total = Splitter->height() - Splitter->handleWidth();
  Splitter->setSizes({total / 3, total - total / 3});
}

void TForm1::closeEvent(QCloseEvent* event) {
  // A run in progress lets window-system events through while it paints; the
  // window closes once the run is over.
  if (FRunning) {
    FCloseRequested = true;
    event->ignore();
    return;
  }
  FormDestroy();
  event->accept();
}

void TForm1::ApplyStartupDefaults(const QString& master, const QString& target) {
  if (FSettingsFileExisted) return;
  if (!master.isEmpty()) fnScriptM->setText(master);
  if (!target.isEmpty()) FnScriptT->setText(target);
}

int TForm1::GetDatabaseType() const {
  if (rbSAW->isChecked()) return srvASA;
  if (rbMy->isChecked()) return srvMySQL;
  if (rbOra->isChecked()) return srvOracle;
  if (rbMS->isChecked()) return srvMSSQL;
  return srvInterBase;
}

void TForm1::SetDatabaseType(int value) {
  switch (value) {
    case srvASA: rbSAW->setChecked(true); break;
    case srvMySQL: rbMy->setChecked(true); break;
    case srvOracle: rbOra->setChecked(true); break;
    case srvMSSQL: rbMS->setChecked(true); break;
    default: rbIB->setChecked(true); break;
  }
}

void TForm1::ScrollLogToCaret() { MemoLog->ensureCursorVisible(); }

void TForm1::AddLogLine(const QString& text) {
  QString lines = text;
  lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  lines.replace(QLatin1Char('\r'), QLatin1Char('\n'));

  QTextCharFormat format;
  format.setForeground(FLogColor);
  QTextCursor cursor(MemoLog->document());
  cursor.movePosition(QTextCursor::End);
  cursor.beginEditBlock();
  bool first = true;
  for (const QString& line : lines.split(QLatin1Char('\n'))) {
    // The first line goes into the empty block of an empty pane.
    if (!first || !MemoLog->document()->isEmpty()) cursor.insertBlock(QTextBlockFormat(), format);
    cursor.insertText(line, format);
    first = false;
  }
  cursor.endEditBlock();
  MemoLog->setTextCursor(cursor);
  ScrollLogToCaret();
}

void TForm1::SelectHotLight() { FLogColor = palette().color(QPalette::Link); }
void TForm1::SelectError() { FLogColor = QColor(Qt::red); }
void TForm1::SelectWindowText() { FLogColor = palette().color(QPalette::WindowText); }

void TForm1::VeltraneProgressUpdate(void* /*Sender*/, int Value, int MaxValue) {
  // Qt shows a busy animation for an empty range and ignores positions outside
  // the range; an empty range shows an empty bar instead and the position is
  // kept within the range.
  const int max = std::max(MaxValue, 0);
  ProgressBar->setRange(0, max > 0 ? max : 1);
  ProgressBar->setValue(std::clamp(Value, 0, max));
  // A run blocks the event loop. Now and then let pending paint work (and
  // other non-input events) through so the bar and the log move; user input
  // stays queued, so no second run can start and the dialect cannot change.
  if (FRunning && FPaintTimer.elapsed() >= PaintIntervalMs) {
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    FPaintTimer.restart();
  }
}

void TForm1::VeltraneLogNextLine(void* /*Sender*/, const std::string& LogText) { AddLogLine(LogText); }

void TForm1::VeltraneErrorMessage(void* /*Sender*/, const std::string& ErrText) {
  ScrollLogToCaret();
  SelectError();
  AddLogLine(ErrText);
  SelectWindowText();
}

void TForm1::BtnSelClick(QObject* Sender) {
  QLineEdit* field = Sender == BtnSelM ? fnScriptM : Sender == BtnSelT ? FnScriptT : nullptr;
  if (field == nullptr || !OpenDialog1) return;
  const std::optional<QString> chosen = OpenDialog1(DialogFilterToQt(QString::fromLatin1(ScriptFileFilter)));
  if (chosen && !chosen->isEmpty()) field->setText(*chosen);
}

TCustomScriptExtract* TForm1::ExtractorOfDialect(int code) const {
  switch (code) {
    case srvASA: return SAWScriptExtract.get();
    case srvMySQL: return MySQLScriptExtract.get();
    case srvOracle: return OracleScriptExtract.get();
    case srvMSSQL: return MSSQLScriptExtract.get();
    default: return IBScriptExtract.get();
  }
}

std::vector<std::string> TForm1::FieldToScriptFiles(const QString& text) {
  std::vector<std::string> files;
  if (text.isEmpty()) return files;
  QString lines = text;
  lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  lines.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  // A final line break ends the last line rather than starting an empty one.
  if (lines.endsWith(QLatin1Char('\n'))) lines.chop(1);
  for (const QString& line : lines.split(QLatin1Char('\n'))) files.push_back(QStringToLibText(line));
  return files;
}

void TForm1::VeltraneBeforeExtract(void* /*Sender*/) {
  TCustomScriptExtract* ex = ExtractorOfDialect(GetDatabaseType());
  Veltrane->ExtractorMaster = ex;
  Veltrane->ExtractorTarget = ex;
}

void TForm1::VeltraneBeforeExtractMaster(void* /*Sender*/) { BindExtractor(true); }

void TForm1::VeltraneBeforeExtractTarget(void* /*Sender*/) { BindExtractor(false); }

void TForm1::BindExtractor(bool master) {
  auto* ex = dynamic_cast<TCustomScriptExtract*>(master ? Veltrane->ExtractorMaster
                                                        : Veltrane->ExtractorTarget);
  if (ex == nullptr) return;
  ex->SetDBStructure(master ? DBStructureMaster.get() : DBStructureTarget.get());
  ex->ScriptFiles = FieldToScriptFiles(master ? fnScriptM->text() : FnScriptT->text());
}

void TForm1::RunStep(const std::function<void()>& step) {
  if (FRunning) return;
  FRunning = true;
  FPaintTimer.start();
  {
    const TBusyCursor busy;
    try {
      step();
    } catch (const std::exception& e) {
      try {
        VeltraneErrorMessage(this, std::string("Run failed: ") + e.what());
      } catch (...) {
      }
    } catch (...) {
      try {
        VeltraneErrorMessage(this, "Run failed.");
      } catch (...) {
      }
    }
    SelectWindowText();
  }
  FRunning = false;
  if (FCloseRequested) {
    FCloseRequested = false;
    close();
  }
}

void TForm1::BtnExtractClick() {
  RunStep([this] { DoExtract(); });
}

void TForm1::BtnCompareClick() {
  RunStep([this] { DoCompare(); });
}

void TForm1::DoExtract() {
  Veltrane->Extract();
  SelectHotLight();
  AddLogLine(QString::fromLatin1(kExtractFinished));
  if (Veltrane->MsgManager.HasErrors()) {
    SelectError();
    AddLogLine(QString::fromLatin1(kErrorsHeader));
    AddLogLine(Veltrane->MsgManager.GetErrorText());
  }
  SelectWindowText();
}

void TForm1::DoCompare() {
  // After a failed extraction the comparer does nothing; re-showing the
  // previous script as if it were this comparison's would mislead.
  if (!Veltrane->CanCompare) {
    VeltraneErrorMessage(this, "Nothing compared: the last extraction reported errors.");
    return;
  }
  Veltrane->Compare();
  TCustomSQLExec* exec = Veltrane->GetSQLExec();
  if (exec == nullptr) return;
  SelectHotLight();
  AddLogLine(QString::fromLatin1(kCompareFinished));
  MemoScript->clear();
  std::vector<std::string> lines;
  exec->RenderScript(lines, true);
  std::string text;
  size_t size = 0;
  for (const std::string& line : lines) size += line.size() + 1;
  text.reserve(size);
  for (size_t i = 0; i < lines.size(); ++i) {
    if (i > 0) text += '\n';
    text += lines[i];
  }
  QString shown = LibTextToQString(text);
  shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  MemoScript->setPlainText(shown);
  AddLogLine(QString::fromLatin1(kProcessFinished));
  SelectWindowText();
}
