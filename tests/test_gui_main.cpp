// The desktop program's tests, driven offscreen through its real window: the test
// classes share one running program and run in this order.
#include <unistd.h>

#include <QApplication>
#include <QtTest>

#include "GuiFixture.h"

QObject* makeTestGuiWindow();
QObject* makeTestGuiEditor();
QObject* makeTestGuiImport();
QObject* makeTestGuiDialogs();
QObject* makeTestGuiShutdown();

int main(int argc, char** argv) {
  TestEnv env;
  // The web engine refuses to start as root with its sandbox on (as in CI).
  if (::geteuid() == 0) qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
  QApplication qapp(argc, argv);
  env.install();
  QTEST_SET_MAIN_SOURCE_PATH
  int failed = 0;
  for (QObject* (*make)() :
       {makeTestGuiWindow, makeTestGuiEditor, makeTestGuiImport, makeTestGuiDialogs, makeTestGuiShutdown}) {
    std::unique_ptr<QObject> tests(make());
    failed += QTest::qExec(tests.get(), argc, argv);
  }
  gui_test::program().app.reset();  // ends before the application object, also after a failure
  return failed;
}
