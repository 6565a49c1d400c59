// One widget application for every window test of this program. The tests
// run headless: without a platform chosen by the caller, the offscreen one
// is used.
#include <QApplication>
#include <QByteArray>

#include <gtest/gtest.h>

#include <memory>

namespace {

class TQtApplicationEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    FApp = std::make_unique<QApplication>(FArgc, FArgv);
  }
  void TearDown() override { FApp.reset(); }

 private:
  int FArgc = 1;
  char FName[9] = "test_app";
  char* FArgv[2] = {FName, nullptr};
  std::unique_ptr<QApplication> FApp;
};

[[maybe_unused]] ::testing::Environment* const QtEnvironment =
    ::testing::AddGlobalTestEnvironment(new TQtApplicationEnvironment);

}  // namespace
