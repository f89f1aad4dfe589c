#pragma once

// What the stock benchmarks share: a run's own folder with its settings,
// working copy, generated stock file and fresh version-2 database, and the
// catalogue window opened on that file.

#include <QComboBox>
#include <QCoreApplication>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <functional>

#include "catalogue/FrmCat_Restore.h"
#include "host/Version2Database.h"
#include "host/forms/Windows.h"
#include "host/helpers/ComboHelpers.h"
#include "host/platform/Platform.h"
#include "tools/mdbwriter/V1Generator.h"

namespace qalvoro::bench {

// The folder of one run of size n: per-user settings and the working copy
// inside it, Stock001.mdb written from options (one branch), the language
// file beside it, and a fresh demo version-2 database: a file of the folder
// on SQLite, BENCH_PG_URL + "_n_pid" on PostgreSQL.
class StockBenchFolder {
 public:
  StockBenchFolder(const QString& engine, int n, mdbwriter::v1::V1Options options)
      : StockBenchFolder(engine, n, [&options](const QString& folder) {
          options.sizes.branches = 1;
          mdbwriter::v1::writeStockFolder(folder, options);
        }) {}

  // The same folder with Stock001.mdb written by writeStock(folder).
  StockBenchFolder(const QString& engine, int n,
                   const std::function<void(const QString& folder)>& writeStock) {
    Platform::useSettingsFolder(work_.filePath("config"));
    qputenv("QALVORO_WORKING_COPY", work_.filePath("tmp_44d2.tmp").toLocal8Bit());
    writeStock(work_.path());
    target_ = engine == QLatin1String("postgresql")
                  ? qEnvironmentVariable("BENCH_PG_URL") +
                        QStringLiteral("_%1_%2").arg(n).arg(QCoreApplication::applicationPid())
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

// The catalogue window loaded on the stock file of the folder, version-1
// branch 1 chosen, the demo chart's parent accounts of the customers (1203)
// and providers (21) given on every tab.
inline FrmCat_Restore& OpenStockFile(const QString& folder) {
  auto& window = windows().get<FrmCat_Restore>();
  window.load();
  window.txtOldDBFile->setText(folder + QStringLiteral("/STOCK001.MDB"));
  window.CmdOpenOldDB->click();
  SelectComboByData(*window.CboOldBranch, 1);
  for (QLineEdit* parent : window.txtAccCustomer) parent->setText(QStringLiteral("1203"));
  for (QLineEdit* parent : window.txtAccProvider) parent->setText(QStringLiteral("21"));
  return window;
}

}  // namespace qalvoro::bench
