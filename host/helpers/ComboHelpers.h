#pragma once

#include <QString>
#include <QVariantList>

class QComboBox;

namespace qalvoro {

// Fills a combo box from a version-2 code table (names in the current
// language, IDs as item data, in the order of ID), keeping the entry that
// was chosen, or the text typed when none was. condition (with its values
// in params) limits the rows.
void FillComboFromTable(QComboBox& combo, const QString& table, const QString& condition = {},
                        const QVariantList& params = {});
// The item data of the chosen entry; -1 when none is chosen.
int SelectedItemData(const QComboBox& combo);
// Chooses the first entry with that item data; none when no entry has it.
void SelectComboByData(QComboBox& combo, int value);

}  // namespace qalvoro
