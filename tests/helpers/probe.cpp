// probe: another workstation for the tests, in a process of its own.
//   probe sql CONNECTION STATEMENT...  runs the statements in one transaction
//   probe lock [--scripted-clock] CONNECTION NAME [HOLD]  asks for one table
//     lock, prints the milliseconds it waited and keeps it HOLD milliseconds

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
  const QApplication application(argc, argv);  // SQL drivers and the mouse pointer need it
  QStringList arguments = QApplication::arguments().mid(1);
  const QString mode = arguments.value(0);
  arguments.removeFirst();
  std::unique_ptr<ScopedPlatform> scripted;
  if (arguments.value(0) == QLatin1String("--scripted-clock")) {
    scripted = std::make_unique<ScopedPlatform>(std::make_unique<ScriptedUser>());
    arguments.removeFirst();
  }
  if (arguments.size() < 2 || (mode != "sql" && mode != "lock")) {
    std::cerr << "usage: probe sql|lock [--scripted-clock] CONNECTION ARGUMENT..." << std::endl;
    return 2;
  }
  try {
    globals().MainConnection = std::make_unique<Connection>();
    MainConnection().open(arguments[0], QStringLiteral("sa"), DbPassword);
    if (mode == "sql") {
      Transaction transaction(MainConnection());
      for (const QString& statement : arguments.mid(1)) MainConnection().execute(statement);
      transaction.commit();
    } else {
      const auto started = platform().monotonicNow();
      SetTableLock(QStringLiteral("Lock"), arguments[1]);
      std::cout << (platform().monotonicNow() - started).count() << std::endl;
      if (arguments.size() > 2) {
        QThread::msleep(arguments[2].toULong());
        SetTableLock(QStringLiteral("UnLock"), arguments[1]);
      }
    }
    globals().MainConnection.reset();
  } catch (const DbError& error) {
    std::cerr << "Err:" << error.number() << '\n' << error.description().toStdString() << std::endl;
    return 1;
  }
  return 0;
}
