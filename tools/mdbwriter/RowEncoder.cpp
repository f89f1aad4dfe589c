#include "tools/mdbwriter/RowEncoder.h"

#include <limits>
#include <stdexcept>

#include "tools/mdbwriter/Bytes.h"

namespace qalvoro::mdbwriter {
namespace {

[[noreturn]] void unsuitable(const PlacedColumn& column, const char* why) {
  throw std::invalid_argument("column " + column.column.name.toStdString() + ": " + why);
}

qint64 integerIn(const PlacedColumn& column, const Value& value, qint64 low, qint64 high) {
  const qint64* i = value.asInteger();
  if (!i) unsuitable(column, "expects a whole number");
  if (*i < low || *i > high) unsuitable(column, "number out of range");
  return *i;
}

double realOf(const PlacedColumn& column, const Value& value) {
  if (const double* d = value.asReal()) return *d;
  if (const qint64* i = value.asInteger()) return static_cast<double>(*i);
  unsuitable(column, "expects a number");
}

QByteArray fixedBytes(const PlacedColumn& column, const Value& value) {
  QByteArray bytes;
  switch (column.column.type) {
    case ColumnType::Byte:
      appendLE(bytes, static_cast<quint8>(integerIn(column, value, 0, 255)));
      break;
    case ColumnType::Integer:
      appendLE(bytes, static_cast<qint16>(integerIn(column, value, -32768, 32767)));
      break;
    case ColumnType::Long:
      appendLE(bytes,
               static_cast<qint32>(integerIn(column, value, std::numeric_limits<qint32>::min(),
                                             std::numeric_limits<qint32>::max())));
      break;
    case ColumnType::Single:
      appendFloat(bytes, static_cast<float>(realOf(column, value)));
      break;
    case ColumnType::Double:
      appendDouble(bytes, realOf(column, value));
      break;
    case ColumnType::Currency: {
      const Currency* c = value.asCurrency();
      appendLE(bytes,
               c ? c->tenThousandths : Currency::fromDouble(realOf(column, value)).tenThousandths);
      break;
    }
    case ColumnType::DateTime: {
      const QDateTime* t = value.asDateTime();
      if (!t || !t->isValid()) unsuitable(column, "expects a valid date and time");
      appendDouble(bytes, toJetDate(*t));
      break;
    }
    default:
      unsuitable(column, "has no fixed-size encoding");
  }
  return bytes;
}

}  // namespace

RowEncoder::RowEncoder(const JetFormat& format, const TableLayout& layout, const TextEncoder& text,
                       LongValueStore& longValues)
    : format_(format), layout_(layout), text_(text), longValues_(longValues) {}

QByteArray RowEncoder::encode(const std::vector<Value>& row) const {
  const auto& columns = layout_.columns();
  if (row.size() != columns.size()) {
    throw std::invalid_argument("row has " + std::to_string(row.size()) + " values for " +
                                std::to_string(columns.size()) + " columns");
  }
  Parts parts{QByteArray(layout_.fixedAreaSize(), '\0'),
              std::vector<QByteArray>(static_cast<size_t>(layout_.variableCount())),
              QByteArray((static_cast<qsizetype>(columns.size()) + 7) / 8, '\0')};
  for (size_t i = 0; i < columns.size(); ++i) {
    const PlacedColumn& column = columns[i];
    const Value& value = row[i];
    bool notNull = !value.isNull();
    if (column.column.type == ColumnType::YesNo) {
      const bool* b = value.asBool();
      if (notNull && !b) unsuitable(column, "expects Yes or No");
      notNull = b && *b;
    } else if (notNull && isVariable(column.column.type)) {
      parts.variable[static_cast<size_t>(column.variableIndex)] = encodeVariable(column, value);
    } else if (notNull) {
      encodeFixed(column, value, parts);
    }
    if (notNull) parts.nullMask[column.number / 8] |= static_cast<char>(1 << (column.number % 8));
  }
  return assemble(parts);
}

void RowEncoder::encodeFixed(const PlacedColumn& column, const Value& value, Parts& parts) const {
  const QByteArray bytes = fixedBytes(column, value);
  parts.fixed.replace(column.fixedOffset, bytes.size(), bytes);
}

QByteArray RowEncoder::encodeVariable(const PlacedColumn& column, const Value& value) const {
  const QString* text = value.asText();
  if (!text) unsuitable(column, "expects text");
  switch (column.column.type) {
    case ColumnType::Text:
      if (text->size() > column.column.maxLength) unsuitable(column, "text longer than the column");
      return text_.value(*text);
    case ColumnType::Memo:
      return longValues_.store(text_.value(*text));
    default:
      unsuitable(column, "only Null is written to binary columns");
  }
}

QByteArray RowEncoder::assemble(const Parts& parts) const {
  QByteArray row;
  const auto columnCount = layout_.columns().size();
  if (format_.isJet4()) {
    appendLE(row, static_cast<quint16>(columnCount));
  } else {
    appendLE(row, static_cast<quint8>(columnCount));
  }
  row += parts.fixed;
  if (layout_.variableCount() > 0) {
    std::vector<int> offsets;
    for (const QByteArray& value : parts.variable) {
      offsets.push_back(static_cast<int>(row.size()));
      row += value;
    }
    offsets.push_back(static_cast<int>(row.size()));  // end of data
    row += format_.isJet4() ? trailerJet4(offsets)
                            : trailerJet3(offsets, 1 + static_cast<int>(parts.nullMask.size()));
  }
  return row + parts.nullMask;
}

QByteArray RowEncoder::trailerJet4(const std::vector<int>& offsets) const {
  QByteArray trailer;
  for (auto it = offsets.rbegin(); it != offsets.rend(); ++it) {
    appendLE(trailer, static_cast<quint16>(*it));
  }
  appendLE(trailer, static_cast<quint16>(offsets.size() - 1));
  return trailer;
}

// Jet 3 offsets are single bytes. The jump table lists, for each multiple of
// 256 up to the end of data, the first offset index at or past it; readers
// size it from the record length, so a record one multiple longer than its
// data carries one unused 0xFF entry.
QByteArray RowEncoder::trailerJet3(const std::vector<int>& offsets, int bytesAfterOffsets) const {
  const int endOfData = offsets.back();
  const int realJumps = endOfData / 256;
  const int sizeWithoutJumps = endOfData + static_cast<int>(offsets.size()) + bytesAfterOffsets;
  int jumps = realJumps;
  while ((sizeWithoutJumps + jumps - 1) / 256 > jumps) ++jumps;
  if (jumps - realJumps > 1) throw std::length_error("Jet 3 record too long for its jump table");

  QByteArray trailer;
  for (auto it = offsets.rbegin(); it != offsets.rend(); ++it) {
    appendLE(trailer, static_cast<quint8>(*it & 0xFF));
  }
  if (jumps > realJumps) trailer.append('\xFF');
  for (int k = realJumps; k >= 1; --k) {
    size_t first = 0;
    while (offsets[first] < 256 * k) ++first;
    appendLE(trailer, static_cast<quint8>(first));
  }
  appendLE(trailer, static_cast<quint8>(offsets.size() - 1));
  return trailer;
}

}  // namespace qalvoro::mdbwriter
