#include "host/helpers/ComboHelpers.h"

#include <QComboBox>

#include "host/helpers/DbHelpers.h"
#include "host/language/Language.h"

namespace qalvoro {

void FillComboFromTable(QComboBox& combo, const QString& table, const QString& condition,
                        const QVariantList& params) {
  const int chosen = SelectedItemData(combo);
  const QString typed = chosen == -1 ? combo.currentText() : QString();
  const auto entries = CodeTableEntries(table, GetLanguage(), condition, params);
  combo.clear();
  for (const auto& [name, id] : entries) combo.addItem(name, id);
  SelectComboByData(combo, chosen);
  if (chosen == -1 && combo.isEditable()) combo.setEditText(typed);
}

int SelectedItemData(const QComboBox& combo) {
  return combo.currentIndex() < 0 ? -1 : combo.currentData().toInt();
}

void SelectComboByData(QComboBox& combo, int value) {
  combo.setCurrentIndex(-1);
  const int found = combo.findData(value);
  if (found >= 0) combo.setCurrentIndex(found);
}

}  // namespace qalvoro
