// lock_probe: a second writer for the lock tests. Opens a version-2 database
// as MainConnection, asks for one table lock and prints how many
// milliseconds the wait took on the clock it used.
//
//   lock_probe [--scripted-clock] CONNECTION NAME

#include <QApplication>
#include <QCommandLineParser>
#include <iostream>
#include <memory>

#include "host/helpers/DbHelpers.h"
#include "host/Globals.h"
#include "host/platform/ScriptedUser.h"
#include "host/db/DbError.h"

namespace {

using qalvoro::globals;
using qalvoro::platform;

// MainConnection for the life of this object.
class MainConnectionScope {
 public:
  explicit MainConnectionScope(const QString& connectionString) {
    auto connection = std::make_unique<qalvoro::Connection>();
    connection->open(connectionString, QStringLiteral("sa"), qalvoro::DbPassword);
    globals().MainConnection = std::move(connection);
  }
  ~MainConnectionScope() { globals().MainConnection.reset(); }
  MainConnectionScope(const MainConnectionScope&) = delete;
  MainConnectionScope& operator=(const MainConnectionScope&) = delete;
};

void takeLock(const QString& connectionString, const QString& name) {
  const MainConnectionScope scope(connectionString);
  const auto started = platform().monotonicNow();
  qalvoro::SetTableLock(QStringLiteral("Lock"), name);
  std::cout << (platform().monotonicNow() - started).count() << std::endl;
}

}  // namespace

int main(int argc, char* argv[]) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  const QApplication application(argc, argv);  // the desktop mouse pointer needs it

  QCommandLineParser parser;
  parser.setApplicationDescription(
      QStringLiteral("Asks for a table lock and prints the wait in milliseconds."));
  parser.addHelpOption();
  const QCommandLineOption scriptedClock(
      QStringLiteral("scripted-clock"),
      QStringLiteral("Use a clock that moves only by the pauses of the wait."));
  parser.addOption(scriptedClock);
  parser.addPositionalArgument(QStringLiteral("connection"),
                               QStringLiteral("SQLite file or postgresql:// URL"));
  parser.addPositionalArgument(QStringLiteral("name"), QStringLiteral("lock name"));
  parser.process(application);
  const QStringList arguments = parser.positionalArguments();
  if (arguments.size() != 2) parser.showHelp(2);

  std::unique_ptr<qalvoro::ScopedPlatform> scripted;
  if (parser.isSet(scriptedClock)) {
    scripted = std::make_unique<qalvoro::ScopedPlatform>(std::make_unique<qalvoro::ScriptedUser>());
  }
  try {
    takeLock(arguments.at(0), arguments.at(1));
  } catch (const qalvoro::DbError& error) {
    std::cerr << "Err:" << error.number() << '\n' << error.description().toStdString() << std::endl;
    return 1;
  }
  return 0;
}
