#include <QStringList>

#include "tools/mdbwriter/V1Generator.h"

namespace qalvoro::mdbwriter::v1 {
namespace {

// The columns whose texts are numbers other rows refer to.
bool linksRows(const QString& column) {
  static const QStringList kKeys = {QStringLiteral("رقم_الحساب"), QStringLiteral("ffather"),
                                    QStringLiteral("رقم_الصنف")};
  return kKeys.contains(column);
}

const QStringList& hostileValues() {
  static const QStringList values = {
      QStringLiteral("O'Neil's \"quoted\" back\\slash"),
      QStringLiteral("'; DROP TABLE Customer; --"),
      QStringLiteral("100% _under_ %_"),
      QStringLiteral("مُحَمَّــــد الـعـربـيّ"),
      QStringLiteral("شركة ABC للتجارة (Ltd.) 123"),
      QStringLiteral("𝔘𝔫𝔦 😀 𐎀"),
      QStringLiteral("  فراغات حول الاسم  "),
      QStringLiteral("صنف *مميز* **"),
  };
  return values;
}

// text cut to at most length UTF-16 units without splitting a pair.
QString fitted(const QString& text, int length) {
  if (text.size() <= length) return text;
  QString cut = text.left(length);
  if (cut.back().isHighSurrogate()) cut.chop(1);
  return cut;
}

QString fullLength(int length) {
  return fitted(QStringLiteral("نص بطول العمود كاملا 'x' ").repeated(length), length);
}

}  // namespace

TextRewrite hostileTexts() {
  return [](const QString&, const Column& column, quint32 row, const Value& value) {
    if (value.isNull() || linksRows(column.name)) return value;
    if (column.type == ColumnType::Memo) {
      return Value::text(QStringLiteral("ملاحظة 'طويلة' 😀 ").repeated(2048).left(32 * 1024));
    }
    const QStringList& values = hostileValues();
    const int slot = static_cast<int>((row + static_cast<quint32>(column.name.size())) %
                                      static_cast<quint32>(values.size() + 1));
    return Value::text(slot == values.size() ? fullLength(column.maxLength)
                                             : fitted(values[slot], column.maxLength));
  };
}

}  // namespace qalvoro::mdbwriter::v1
