#pragma once

#include <QDateTime>
#include <QMetaType>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <optional>

// How recordsets compare, show, index and convert field values. The rules
// follow the classic engines: numbers compare as numbers (also against text
// that holds a number), text compares without regard to case, a yes/no value
// equals any non-zero number, dates compare as dates.
namespace qalvoro::values {

enum class Kind { Null, Bool, Number, Text, Date };
Kind kindOf(const QVariant& value);

std::optional<double> numberOf(const QVariant& value);
std::optional<QDateTime> dateTimeOf(const QVariant& value);

// A field value against a criterion value; nullopt when either is Null (no
// comparison holds then).
std::optional<int> compareToLiteral(const QVariant& field, const QVariant& literal);

// Order of two field values. Binary text order is the engines' default
// collation; CaseInsensitive is the order of the recordset's own sort.
enum class TextOrder { Binary, CaseInsensitive };
int compareForOrder(const QVariant& a, const QVariant& b, TextOrder textOrder, bool nullsFirst);

// Keys under which an equality index files a field value, and the keys to
// look a criterion value up under: a field equals a value exactly when they
// share a key. Null, yes/no and date values have no keys (indexable() is
// false for them) and are found by comparing row by row.
QStringList fieldKeys(const QVariant& field);
QStringList lookupKeys(const QVariant& literal);
bool indexable(const QVariant& value);

// A value as text: Null is empty, yes/no is True/False, dates yyyy/mm/dd.
QString display(const QVariant& value);

// A value converted for a column of the given type, as assigning to a field
// converts it; raises DbError kTypeMismatch when it cannot be.
QVariant convertForColumn(const QVariant& value, QMetaType columnType);

}  // namespace qalvoro::values
