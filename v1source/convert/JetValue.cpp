#include "v1source/convert/JetValue.h"

#include <QDate>
#include <bit>
#include <charconv>
#include <cmath>
#include <iterator>

#include "v1source/convert/ConversionError.h"

namespace qalvoro::v1 {
namespace {

constexpr double kFirstDay = -657434.0;  // 100-01-01
constexpr double kEndDay = 2958466.0;    // 10000-01-01
constexpr qint64 kSecondsPerDay = 86400;
constexpr double kCurrencyScale = 10000.0;

quint64 readU64(const uint8_t* p) { return readU32(p) | (quint64(readU32(p + 4)) << 32); }

double readDouble(const uint8_t* p) { return std::bit_cast<double>(readU64(p)); }

[[noreturn]] void notConverted(const JetColumn& column) {
  throw ReadError(QStringLiteral("column '%1' has a type that is not converted (%2)")
                      .arg(column.name)
                      .arg(column.type),
                  converr::kUnrecognizedFormat);
}

QString formatGuid(const uint8_t* p) {
  return QString::asprintf("{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}", readU32(p),
                           readU16(p + 4), readU16(p + 6), p[8], p[9], p[10], p[11], p[12], p[13],
                           p[14], p[15]);
}

}  // namespace

QString declaredType(const JetColumn& column) {
  switch (column.type) {
    case MDB_BOOL:
      return QStringLiteral("YESNO");
    case MDB_BYTE:
      return QStringLiteral("BYTE");
    case MDB_INT:
      return QStringLiteral("INTEGER");
    case MDB_LONGINT:
      return QStringLiteral("LONG");
    case MDB_MONEY:
      return QStringLiteral("CURRENCY REAL");
    case MDB_FLOAT:
      return QStringLiteral("SINGLE REAL");
    case MDB_DOUBLE:
      return QStringLiteral("DOUBLE");
    case MDB_DATETIME:
      return QStringLiteral("DATETIME");
    case MDB_TEXT:
      return QStringLiteral("TEXT");
    case MDB_MEMO:
      return QStringLiteral("MEMO TEXT");
    case MDB_BINARY:
      return QStringLiteral("BINARY");
    case MDB_OLE:
      return QStringLiteral("OLE");
    case MDB_REPID:
      return QStringLiteral("GUID");
    default:
      notConverted(column);
  }
}

int fixedSize(int jetType) {
  switch (jetType) {
    case MDB_BYTE:
      return 1;
    case MDB_INT:
      return 2;
    case MDB_LONGINT:
    case MDB_FLOAT:
      return 4;
    case MDB_MONEY:
    case MDB_DOUBLE:
    case MDB_DATETIME:
      return 8;
    case MDB_REPID:
      return 16;
    default:
      return 0;
  }
}

QString formatJetDate(double value) {
  if (!(value >= kFirstDay && value < kEndDay)) {
    throw ReadError(QStringLiteral("a date value (%1) is out of range").arg(value, 0, 'g', 17));
  }
  const double wholeDays = std::trunc(value);
  qint64 days = qint64(wholeDays);
  qint64 seconds = std::llround(std::fabs(value - wholeDays) * double(kSecondsPerDay));
  if (seconds == kSecondsPerDay) {
    seconds = 0;
    ++days;
  }
  const QDate date = QDate(1899, 12, 30).addDays(days);
  return QString::asprintf("%04d-%02d-%02d %02lld:%02lld:%02lld", date.year(), date.month(),
                           date.day(), seconds / 3600, seconds / 60 % 60, seconds % 60);
}

double singleToDouble(float value) {
  if (!std::isfinite(value)) return double(value);
  // Scientific notation gives the fewest digits also for large whole values,
  // which plain notation would spell out in full (309840992, not 309840990).
  char text[32];
  const char* end =
      std::to_chars(std::begin(text), std::end(text), value, std::chars_format::scientific).ptr;
  double shortest = 0;
  std::from_chars(text, end, shortest);
  return shortest;
}

ValueDecoder::ValueDecoder(JetFile& file, const TextDecoder& text)
    : text_(text), longValues_(file) {}

Value ValueDecoder::decode(const JetColumn& column, std::span<const uint8_t> page,
                           const MdbField& field) {
  if (column.type == MDB_BOOL) return qint64(field.is_null ? 0 : 1);
  if (field.is_null) return {};
  const auto bytes = page.subspan(size_t(field.start), size_t(field.siz));
  const uint8_t* p = bytes.data();
  switch (column.type) {
    case MDB_BYTE:
      return qint64(p[0]);
    case MDB_INT:
      return qint64(int16_t(readU16(p)));
    case MDB_LONGINT:
      return qint64(int32_t(readU32(p)));
    case MDB_MONEY:
      return double(qint64(readU64(p))) / kCurrencyScale;
    case MDB_FLOAT:
      return singleToDouble(std::bit_cast<float>(readU32(p)));
    case MDB_DOUBLE:
      return readDouble(p);
    case MDB_DATETIME:
      return formatJetDate(readDouble(p));
    case MDB_TEXT:
      return text_.decode(bytes);
    case MDB_MEMO: {
      const QByteArray memo = longValues_.read(bytes);
      return text_.decode(
          {reinterpret_cast<const uint8_t*>(memo.constData()), size_t(memo.size())});
    }
    case MDB_BINARY:
      return QByteArray(reinterpret_cast<const char*>(p), qsizetype(bytes.size()));
    case MDB_OLE:
      return longValues_.read(bytes);
    case MDB_REPID:
      return formatGuid(p);
    default:
      notConverted(column);
  }
}

}  // namespace qalvoro::v1
