// lock_probe: a second writer for the lock tests. Opens a version-2 database
// as MainConnection, asks for one table lock and prints how many
// milliseconds the wait took; with HOLD, keeps the lock that many
// milliseconds before freeing it.
//
//   lock_probe [--scripted-clock] CONNECTION NAME [HOLD]

#include <QApplication>
#include <QThread>
#include <iostream>
#include <memory>

#include "host/Globals.h"
#include "host/db/DbError.h"
#include "host/helpers/DbHelpers.h"
#include "host/platform/ScriptedUser.h"

int main(int argc, char* argv[]) {
  using namespace qalvoro;
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  const QApplication application(argc, argv);  // the desktop mouse pointer needs it
  QStringList arguments = QApplication::arguments().mid(1);
  std::unique_ptr<ScopedPlatform> scripted;
  if (arguments.value(0) == QLatin1String("--scripted-clock")) {
    scripted = std::make_unique<ScopedPlatform>(std::make_unique<ScriptedUser>());
    arguments.removeFirst();
  }
  if (arguments.size() < 2) {
    std::cerr << "usage: lock_probe [--scripted-clock] CONNECTION NAME [HOLD]" << std::endl;
    return 2;
  }
  try {
    globals().MainConnection = std::make_unique<Connection>();
    MainConnection().open(arguments[0], QStringLiteral("sa"), DbPassword);
    const auto started = platform().monotonicNow();
    SetTableLock(QStringLiteral("Lock"), arguments[1]);
    std::cout << (platform().monotonicNow() - started).count() << std::endl;
    if (arguments.size() > 2) {
      QThread::msleep(arguments[2].toULong());
      SetTableLock(QStringLiteral("UnLock"), arguments[1]);
    }
    globals().MainConnection.reset();
  } catch (const DbError& error) {
    std::cerr << "Err:" << error.number() << '\n' << error.description().toStdString() << std::endl;
    return 1;
  }
  return 0;
}
