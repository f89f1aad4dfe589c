#include "tools/mdbwriter/Random.h"
#include "tools/mdbwriter/V1Generator.h"

namespace qalvoro::mdbwriter::v1 {
namespace {

constexpr quint64 kBenchStream = 50;

std::vector<Column> benchColumns() {
  return {Column::of(QStringLiteral("رقم"), ColumnType::Long),
          Column::text(QStringLiteral("الاسم"), 100),
          Column::of(QStringLiteral("ملاحظه"), ColumnType::Memo),
          Column::of(QStringLiteral("بايت"), ColumnType::Byte),
          Column::of(QStringLiteral("صحيح"), ColumnType::Integer),
          Column::of(QStringLiteral("مفرد"), ColumnType::Single),
          Column::of(QStringLiteral("مزدوج"), ColumnType::Double),
          Column::of(QStringLiteral("المبلغ"), ColumnType::Currency),
          Column::of(QStringLiteral("التاريخ"), ColumnType::DateTime),
          Column::of(QStringLiteral("نقدي"), ColumnType::YesNo)};
}

std::vector<Value> benchRow(quint64 seed, int n) {
  Random random(seed, kBenchStream, static_cast<quint64>(n));
  const QDateTime when(QDate(2003, 1, 1).addDays(random.below(365)),
                       QTime(0, 0).addSecs(random.below(86400)));
  return {Value::integer(n),
          n % 50 == 7 ? Value() : Value::text(QStringLiteral("سجل رقم %1 'تجريبي'").arg(n)),
          n % 10 == 0 ? Value::text(QStringLiteral("ملاحظة ").repeated(random.between(1, 40)))
                      : Value(),
          Value::integer(random.below(256)),
          Value::integer(random.between(-32768, 32767)),
          Value::real(random.amount(-1000, 1000)),
          n % 50 == 9 ? Value() : Value::real(random.amount(-100000, 100000)),
          Value::currency(Currency::fromDouble(random.amount(0, 100000))),
          Value::dateTime(when),
          Value::boolean(random.percent(50))};
}

}  // namespace

void writeBenchTable(const QString& file, int rows, quint64 seed, const JetWriterOptions& options) {
  JetDatabaseWriter db(file, options);
  TableWriter& table = db.addTable(QStringLiteral("Bench"), benchColumns());
  for (int n = 1; n <= rows; ++n) table.addRow(benchRow(seed, n));
  db.close();
}

}  // namespace qalvoro::mdbwriter::v1
