#pragma once

#include <QStringList>
#include <ostream>

#include "host/Globals.h"
#include "host/db/Recordset.h"

namespace qalvoro::test {

// The rows of a query (on the version-2 database unless told) as values joined by "|": numbers
// in their shortest form, truth values 1 or 0 on both engines, Null as "null".
inline QStringList RowTexts(const QString& sql, const QVariantList& params = {},
                            Connection& connection = MainConnection()) {
  Recordset rows;
  rows.open(sql, connection, LockType::ReadOnly, params);
  QStringList texts;
  for (; !rows.eof(); rows.moveNext()) {
    QStringList values;
    for (const QString& name : rows.fieldNames()) {
      const QVariant value = rows.value(name);
      values << (rows.isNull(name)                     ? QStringLiteral("null")
                 : value.typeId() == QMetaType::Bool   ? QString::number(value.toBool())
                 : value.typeId() == QMetaType::Double ? QString::number(value.toDouble(), 'g', 15)
                                                       : value.toString());
    }
    texts << values.join(QLatin1Char('|'));
  }
  return texts;
}

}  // namespace qalvoro::test

// Lets failed comparisons show texts.
inline void PrintTo(const QString& text, std::ostream* out) { *out << text.toStdString(); }
