#pragma once

// What the catalogue benchmarks share: the catalogue window on the stock
// file of a run.

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

#include "catalogue/FrmCat_Restore.h"
#include "host/forms/Windows.h"
#include "host/helpers/ComboHelpers.h"

namespace qalvoro::bench {

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
