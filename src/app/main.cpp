// The desktop program.
#include <QApplication>
#include <unistd.h>

#include "app/Log.h"
#include "app/MainWindow.h"
#include "app/PlatformPaths.h"

int main(int argc, char** argv) {
  // The web engine refuses to start as root with its sandbox on (as in CI).
  if (::geteuid() == 0 && qEnvironmentVariableIsEmpty("QTWEBENGINE_DISABLE_SANDBOX"))
    qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
  QApplication app(argc, argv);
  QApplication::setOrganizationName(QStringLiteral("Folivox"));
  QApplication::setApplicationName(QStringLiteral("Folivox"));
  QApplication::setApplicationVersion(QStringLiteral(FOLIVOX_VERSION));
  Logging::prepaireTheLog(PlatformPaths::current());
  qCInfo(lcApp).noquote() << "version is:" << QApplication::applicationVersion();
  MainWindow window;
  window.show();
  return QApplication::exec();
}
