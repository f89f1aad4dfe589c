#pragma once

#include <QHash>
#include <QString>
#include <QtGlobal>
#include <algorithm>

namespace qalvoro {

// The rows inserted per table through one connection, for plans that were
// made while a table was small: due() once some table has grown by as many
// rows as it had been given when the plans were made (and by kFirstRows at
// least), so that plans are made again at each doubling.
class TableGrowth {
 public:
  static constexpr qint64 kFirstRows = 64;

  void add(const QString& table, qint64 rows) {
    Count& count = tables_[table];
    count.inserted += rows;
    if (count.inserted - count.atPlanning >= std::max(kFirstRows, count.atPlanning)) due_ = true;
  }
  bool due() const { return due_; }
  // The plans have been made again.
  void planned() {
    for (Count& count : tables_) count.atPlanning = count.inserted;
    due_ = false;
  }

 private:
  struct Count {
    qint64 inserted = 0;
    qint64 atPlanning = 0;
  };
  QHash<QString, Count> tables_;
  bool due_ = false;
};

}  // namespace qalvoro
