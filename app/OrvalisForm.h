// The application's main window: two script file fields, the dialect choice,
// the Extract and Compare buttons, a progress bar, the coloured log pane and
// the result script pane. The window remembers the file names and the dialect
// in the settings file "Tessaly.Ini" beside the executable.
#pragma once

#include <QColor>
#include <QElapsedTimer>
#include <QString>
#include <QWidget>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QButtonGroup;
class QCloseEvent;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QShowEvent;
class QSplitter;
class QTextEdit;
class QToolButton;

class TASAScriptExtract;
class TCustomScriptExtract;
class TDBStructure;
class TIBScriptExtract;
class TMSSQLScriptExtract;
class TMySQLScriptExtract;
class TOracleScriptExtract;
class TVeltrane;

// Library text (8-bit) to display text: UTF-8 when the bytes are valid UTF-8,
// Latin-1 otherwise, so that no byte of a legacy script is lost or replaced.
QString LibTextToQString(const std::string& text);
// Display text to library text (UTF-8).
std::string QStringToLibText(const QString& text);

// Shows a library error in a modal message box; the program installs it as
// the library's ShowErrorText handler.
void ShowErrorTextInMessageBox(const std::string& text);

// Shows the busy cursor for its lifetime.
class TBusyCursor {
 public:
  TBusyCursor();
  ~TBusyCursor();
  TBusyCursor(const TBusyCursor&) = delete;
  TBusyCursor& operator=(const TBusyCursor&) = delete;
};

class TForm1 : public QWidget {
  Q_OBJECT

 public:
  // Settings path used when none is given: "Tessaly.Ini" in the directory of
  // the executable.
  static QString DefaultSettingsPath();
  // "SQL script (*.SQL)|*.sql|..." (description|pattern pairs) to Qt's
  // "SQL script (*.SQL) (*.sql);;..." form. Descriptions are kept as they
  // are; the pattern "*.*" becomes "*", since it means every file.
  static QString DialogFilterToQt(const QString& pairs);
  // The filter of the script file dialog, as description|pattern pairs.
  static constexpr char ScriptFileFilter[] =
      "SQL script (*.SQL)|*.sql|SQL script (*.DDL)|*.ddl|All files (*.*)|*.*";

  // Builds the window and reads the settings file (FormCreate). An empty
  // settingsPath means DefaultSettingsPath().
  explicit TForm1(QWidget* parent = nullptr, const QString& settingsPath = QString());
  // Writes the settings file unless closing the window already did.
  ~TForm1() override;

  const QString& SettingsPath() const { return FSettingsPath; }
  // True when the settings file existed when the window was created.
  bool SettingsFileExisted() const { return FSettingsFileExisted; }
  // Start-up file names (for instance from the command line): they fill the
  // fields only when there was no settings file yet, so a user's remembered
  // choice always wins. An empty name leaves its field alone.
  void ApplyStartupDefaults(const QString& master, const QString& target);

  // Dialect code 1..5 of the radio group (also the server type of these five
  // dialects): rbSAW, rbMy, rbOra, rbMS are tested in that order, 1 when none
  // of them is checked.
  int GetDatabaseType() const;
  // Checks the button of code 2..5; any other value checks rbIB.
  void SetDatabaseType(int value);

  // Appends text as a new line at the end of the log in the current colour
  // and scrolls to it. Line breaks inside text start further lines.
  void AddLogLine(const QString& text);
  void AddLogLine(const std::string& text) { AddLogLine(LibTextToQString(text)); }
  // Colour of the lines added next: run markers, errors, ordinary text.
  void SelectHotLight();
  void SelectError();
  void SelectWindowText();
  const QColor& LogColor() const { return FLogColor; }

  // Handlers of the library's progress, log and error events. During a run
  // the progress handler also lets pending paint work through (at most once
  // per PaintIntervalMs), so the bar and the log move during long runs.
  void VeltraneProgressUpdate(void* Sender, int Value, int MaxValue);
  void VeltraneLogNextLine(void* Sender, const std::string& LogText);
  void VeltraneErrorMessage(void* Sender, const std::string& ErrText);

  // Handlers of the comparer's before-extract events: the extractor of the
  // current dialect serves both sides; before each side it is bound to that
  // side's structure and given that side's file name.
  void VeltraneBeforeExtract(void* Sender);
  void VeltraneBeforeExtractMaster(void* Sender);
  void VeltraneBeforeExtractTarget(void* Sender);

  // The extractor of a dialect code 1..5; any other code gives the
  // InterBase / FB one, as the radio group does.
  TCustomScriptExtract* ExtractorOfDialect(int code) const;
  // The text of a file-name field as the extractor's list of script files:
  // one name per line, used exactly as typed; an empty field gives no name.
  static std::vector<std::string> FieldToScriptFiles(const QString& text);

  // True while Extract or Compare runs; clicks on either are then ignored.
  bool Running() const { return FRunning; }
  // Shortest time between two rounds of pending paint work during a run.
  int PaintIntervalMs = 150;

  // The file-open dialog: given a Qt filter it returns the chosen file name,
  // or nothing when the user cancels. Replaceable, e.g. by tests.
  std::function<std::optional<QString>(const QString& filter)> OpenDialog1;

  // Controls, owned by the window through Qt's parent links.
  QLabel* Label1 = nullptr;
  QLineEdit* fnScriptM = nullptr;
  QToolButton* BtnSelM = nullptr;
  QLabel* Label2 = nullptr;
  QLineEdit* FnScriptT = nullptr;
  QToolButton* BtnSelT = nullptr;
  QRadioButton* rbIB = nullptr;
  QRadioButton* rbSAW = nullptr;
  QRadioButton* rbMy = nullptr;
  QRadioButton* rbOra = nullptr;
  QRadioButton* rbMS = nullptr;
  QPushButton* BtnExtract = nullptr;
  QPushButton* BtnCompare = nullptr;
  QProgressBar* ProgressBar = nullptr;
  QSplitter* Splitter = nullptr;
  QTextEdit* MemoLog = nullptr;
  QTextEdit* MemoScript = nullptr;

  // Non-visual components. Declared so that they go away in a safe order
  // (the destructor also releases them explicitly): the comparer first, then
  // the extractors, which detach from the structures, then the structures.
  std::unique_ptr<TDBStructure> DBStructureMaster;
  std::unique_ptr<TDBStructure> DBStructureTarget;
  std::unique_ptr<TIBScriptExtract> IBScriptExtract;
  std::unique_ptr<TASAScriptExtract> SAWScriptExtract;
  std::unique_ptr<TMySQLScriptExtract> MySQLScriptExtract;
  std::unique_ptr<TOracleScriptExtract> OracleScriptExtract;
  std::unique_ptr<TMSSQLScriptExtract> MSSQLScriptExtract;
  std::unique_ptr<TVeltrane> Veltrane;

 public slots:
  // Opens the file dialog for the field of the button that sent the click.
  void BtnSelClick(QObject* Sender);
  // Extract: fills both structures, then prints the finished marker and the
  // collected errors. Compare: writes the update script into the result
  // pane. Both show the busy cursor and are ignored while a run is going on.
  void BtnExtractClick();
  void BtnCompareClick();

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void BuildControls();
  void FormCreate();
  void FormDestroy();
  void ScrollLogToCaret();
  void CreateComponents();
  void ReleaseComponents();
  // Runs one Extract or Compare step: busy cursor, re-entry guard, and no
  // exception leaves the slot. A close request that arrived meanwhile is
  // carried out afterwards.
  void RunStep(const std::function<void()>& step);
  void DoExtract();
  void DoCompare();
  // Binds the comparer's extractor of one side to that side's structure and
  // file name.
  void BindExtractor(bool master);

  QString FSettingsPath;
  bool FSettingsFileExisted = false;
  bool FSettingsWritten = false;
  bool FPanesDivided = false;
  QColor FLogColor;
  QButtonGroup* FDialectGroup = nullptr;
  bool FRunning = false;
  bool FCloseRequested = false;
  QElapsedTimer FPaintTimer;
};
