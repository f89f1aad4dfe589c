#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <functional>
#include <optional>

#include "host/db/ChangeJournal.h"

namespace qalvoro {

// Values looked up in version-2 tables and kept for a run, so that a value
// asked for record after record is read once. check() reads the tables'
// change counters (one query for all of them, or none when the last
// pipeline read them: see CounterReadings) and forgets every value when
// someone else wrote one of the tables: another workstation or process, or
// another connection. Writes through MainConnection do not count: whoever
// writes a row a kept value describes keeps the new value. An owner calls
// check() once per record, before its lookups.
class LookupCache {
 public:
  explicit LookupCache(const QStringList& tables);

  void check();
  // Forgets every value (a new run begins).
  void forget() {
    values_.clear();
    counted_.reset();
  }
  // The value kept for key, else lookup()'s, which is kept unless it is
  // invalid (nothing found: asked again next time).
  QVariant value(const QString& key, const std::function<QVariant()>& lookup);
  void keep(const QString& key, const QVariant& value) { values_.insert(key, value); }

 private:
  bool writtenByOthers(const QHash<QString, qint64>& counted) const;

  QStringList tables_;
  QHash<QString, QVariant> values_;
  std::optional<QHash<QString, qint64>> counted_;
  ChangeJournal::Reader reader_;  // this connection's writes since the last check
};

}  // namespace qalvoro
