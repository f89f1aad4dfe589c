#include "tests/support/TestDatabases.h"

#include <QCoreApplication>
#include <QFile>
#include <QRandomGenerator>
#include <QUrl>
#include <atomic>
#include <stdexcept>

#include "host/Version2Database.h"
#include "host/db/DbError.h"

namespace qalvoro::test {
namespace {

void runOnServer(const QString& sql) {
  Connection server;
  server.open(TestDatabase::serverUrl());
  server.execute(sql);
}

}  // namespace

std::string engineName(Engine engine) { return engine == Engine::SQLite ? "SQLite" : "PostgreSQL"; }

QString TestDatabase::serverUrl() {
  const QString url = qEnvironmentVariable("QALVORO_PG_URL");
  if (!url.isEmpty()) return url;
  QFile file(QStringLiteral(QALVORO_PG_URL_FILE));
  if (!file.open(QIODevice::ReadOnly)) {
    throw std::runtime_error(
        "No PostgreSQL test server: run the tests through ctest or set "
        "QALVORO_PG_URL (missing " +
        file.fileName().toStdString() + ")");
  }
  return QString::fromUtf8(file.readAll()).trimmed();
}

TestDatabase::TestDatabase(Engine engine, Content content) : engine_(engine) {
  try {
    if (engine == Engine::SQLite) {
      folder_ = std::make_unique<QTemporaryDir>();
      connectionString_ = folder_->filePath(QStringLiteral("test.db"));
      QFile file(connectionString_);
      if (content == Content::Empty && !file.open(QIODevice::WriteOnly)) {
        throw std::runtime_error("cannot create test.db");
      }
    } else {
      static std::atomic<int> counter{0};
      databaseName_ = QStringLiteral("qalvoro_test_%1_%2_%3")
                          .arg(QCoreApplication::applicationPid())
                          .arg(++counter)
                          .arg(QRandomGenerator::global()->generate() % 1000000);
      runOnServer(QStringLiteral("CREATE DATABASE ") + databaseName_);
      const ConnectionTarget server = ConnectionTarget::parse(serverUrl());
      connectionString_ = QStringLiteral("postgresql://%1:%2@%3:%4/%5")
                              .arg(QString::fromLatin1(QUrl::toPercentEncoding(server.user)),
                                   QString::fromLatin1(QUrl::toPercentEncoding(server.password)),
                                   server.host, QString::number(server.port), databaseName_);
    }
    if (content != Content::Empty) {
      createVersion2Database(connectionString_, content == Content::Version2Demo);
    }
  } catch (const DbError& error) {
    throw std::runtime_error("Cannot create a test database: " + error.description().toStdString());
  }
}

TestDatabase::~TestDatabase() {
  if (databaseName_.isEmpty()) return;
  try {
    runOnServer(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(databaseName_));
  } catch (const DbError&) {
    // The server is gone: the fixture deletes the whole cluster anyway.
  }
}

void TestDatabase::open(Connection& connection) const { connection.open(connectionString_); }

long errorOf(const std::function<void()>& call) {
  try {
    call();
  } catch (const DbError& error) {
    return error.number();
  }
  return 0;
}

}  // namespace qalvoro::test
