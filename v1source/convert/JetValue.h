#pragma once

#include <QByteArray>
#include <QString>
#include <span>
#include <variant>

#include "v1source/convert/JetText.h"
#include "v1source/convert/LongValueReader.h"
#include "v1source/convert/MdbTools.h"

namespace qalvoro::v1 {

// One value as it goes into the working copy: Null, an integer, a real, a
// text or bytes.
using Value = std::variant<std::monostate, qint64, double, QString, QByteArray>;

// A column of a Jet table: its name and its Jet type (MDB_TEXT, MDB_LONGINT...).
struct JetColumn {
  QString name;
  int type;
};

// The type declared for a Jet column in the working copy. Its first word names
// the Jet type (TEXT, MEMO, BYTE, INTEGER, LONG, SINGLE, DOUBLE, CURRENCY,
// DATETIME, YESNO, BINARY, OLE, GUID); where that word alone would give SQLite
// the wrong affinity, a second word fixes it ("MEMO TEXT", "SINGLE REAL",
// "CURRENCY REAL"), so that a memo of digits stays text and amounts stay real.
// Throws ReadError (3343) for a type that is not converted.
QString declaredType(const JetColumn& column);

// The size of a fixed-size type in a row, or 0 for Yes/No and variable types.
int fixedSize(int jetType);

// A Date/Time value (days since 1899-12-30, the fraction being the time of
// day, also for days before it) as "yyyy-mm-dd HH:MM:SS", rounded to the
// second. Throws ReadError when the value is outside the years 100 to 9999.
QString formatJetDate(double value);

// A Single as the double of the shortest decimal that reads back as the same
// Single, so that the decimal the user typed is kept: 1234.56 stays 1234.56
// instead of widening to 1234.56005859375.
double singleToDouble(float value);

// Decodes the bytes of one field of a cracked row.
class ValueDecoder {
 public:
  ValueDecoder(JetFile& file, const TextDecoder& text);

  // page: the page holding the row; field: as mdb_crack_row filled it.
  Value decode(const JetColumn& column, std::span<const uint8_t> page, const MdbField& field);

 private:
  const TextDecoder& text_;
  LongValueReader longValues_;
};

}  // namespace qalvoro::v1
