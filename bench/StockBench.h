#pragma once

// What the stock benchmarks share: a run's own folder with its settings,
// working copy, generated stock file and fresh version-2 database.

#include <QCoreApplication>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

#include "host/Version2Database.h"
#include "tools/mdbwriter/V1Generator.h"

namespace qalvoro::bench {

// The folder of one run of size n: per-user settings and the working copy
// inside it, Stock001.mdb written from options (one branch), the language
// file beside it, and a fresh demo version-2 database: a file of the folder
// on SQLite, BENCH_PG_URL + "_n" on PostgreSQL.
class StockBenchFolder {
 public:
  StockBenchFolder(const QString& engine, int n, mdbwriter::v1::V1Options options) {
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, work_.filePath("config"));
    qputenv("QALVORO_WORKING_COPY", work_.filePath("tmp_44d2.tmp").toLocal8Bit());
    options.sizes.branches = 1;
    mdbwriter::v1::writeStockFolder(work_.path(), options);
    target_ = engine == QLatin1String("postgresql")
                  ? qEnvironmentVariable("BENCH_PG_URL") + QStringLiteral("_%1").arg(n)
                  : work_.filePath("v2.db");
    createVersion2Database(target_, true);
    QFile::copy(QCoreApplication::applicationDirPath() + "/LTR.DRV", work_.filePath("LTR.DRV"));
  }

  QString path() const { return work_.path(); }
  QString filePath(const QString& name) const { return work_.filePath(name); }
  // The version-2 connection string.
  const QString& target() const { return target_; }

 private:
  QTemporaryDir work_;
  QString target_;
};

}  // namespace qalvoro::bench
