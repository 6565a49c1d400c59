// Program entry of the window.
//
//   OrvalisDemo [MASTER [TARGET]]
//
// MASTER and TARGET are start-up script file names. They fill the two file
// fields only when no settings file exists yet, that is on the very first
// start; afterwards the names remembered in "Tessaly.Ini" win. run.sh passes
// the bundled example scripts this way.
#include "OrvalisForm.h"

#include "core/kvtMsgMngr.h"

#include <QApplication>
#include <QCommandLineParser>

namespace {

// Routes the library's error boxes to the window for the lifetime of the
// application and puts the previous handler back afterwards, before the
// widget application goes away.
class TErrorBoxScope {
 public:
  TErrorBoxScope() : FPrevious(SetShowErrorTextHandler(ShowErrorTextInMessageBox)) {}
  ~TErrorBoxScope() { SetShowErrorTextHandler(FPrevious); }
  TErrorBoxScope(const TErrorBoxScope&) = delete;
  TErrorBoxScope& operator=(const TErrorBoxScope&) = delete;

 private:
  TShowErrorTextHandler FPrevious;
};

}  // namespace

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("OrvalisDemo"));

  QCommandLineParser parser;
  parser.setApplicationDescription(
      QStringLiteral("Compares two SQL DDL scripts and shows the script that updates the target."));
  parser.addHelpOption();
  parser.addPositionalArgument(QStringLiteral("MASTER"),
                               QStringLiteral("Master script file, used when no settings file exists yet."),
                               QStringLiteral("[MASTER]"));
  parser.addPositionalArgument(QStringLiteral("TARGET"),
                               QStringLiteral("Target script file, used when no settings file exists yet."),
                               QStringLiteral("[TARGET]"));
  parser.process(app);
  const QStringList args = parser.positionalArguments();

  const TErrorBoxScope errorBoxes;
  TForm1 form;
  form.ApplyStartupDefaults(args.value(0), args.value(1));
  form.show();
  return app.exec();
}
