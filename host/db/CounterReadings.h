#pragma once

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QtGlobal>
#include <chrono>
#include <optional>

namespace qalvoro {

// The change counters a connection was asked for, read again in the round
// trip of each of its pipelines: the counters a window asks for right after
// its write (a requery, the lookups of the next record) then cost no round
// trip of their own.
//
// A reading stands for a new one while it is fresh: taken at most kFreshFor
// ago, with no write to its tables through the connection since, and each
// table's counter once. It then shows the tables as they stood at the end of
// the write, a moment before the ask. A table whose readings went unused a
// few times in a row (another kind of record is being imported, or nothing
// asks after a write) is not read again until it is asked for again.
class CounterReadings {
 public:
  static constexpr std::chrono::milliseconds kFreshFor{50};

  // Tables (names as sql::normalTableName gives them) whose counters the
  // pipelines read from now on.
  void watch(const QStringList& tables) {
    for (const QString& table : tables) watched_.insert(table, 0);
  }
  QStringList watched() const { return watched_.keys(); }
  bool watching() const { return !watched_.isEmpty(); }

  // The connection wrote the table (empty: some table or tables unknown): a
  // reading made before is stale when it holds that table's counter.
  void wrote(const QString& table = {}) {
    if (reading_ && !table.isEmpty() && !reading_->tables.contains(table)) return;
    retire();
    reading_.reset();
  }

  // The counters read for tables at the end of a pipeline; a table missing
  // from counts keeps none.
  void store(const QStringList& tables, QHash<QString, qint64> counts) {
    retire();
    const QSet<QString> read(tables.cbegin(), tables.cend());
    reading_ = Reading{std::chrono::steady_clock::now(), read, read, std::move(counts)};
  }

  // The counters of tables from a fresh reading of them all, which each of
  // them then leaves; nothing when there is none.
  std::optional<QHash<QString, qint64>> take(const QStringList& tables) {
    if (!reading_ || std::chrono::steady_clock::now() - reading_->at > kFreshFor) {
      return std::nullopt;
    }
    for (const QString& table : tables) {
      if (!reading_->unused.contains(table)) return std::nullopt;
    }
    QHash<QString, qint64> counts;
    for (const QString& table : tables) {
      reading_->unused.remove(table);
      if (const auto found = reading_->counts.constFind(table); found != reading_->counts.cend()) {
        counts.insert(table, *found);
      }
    }
    return counts;
  }

 private:
  // A table whose readings went unused kKeptUnused times in a row is read no
  // more until it is asked for again.
  void retire() {
    if (!reading_) return;
    for (const QString& table : reading_->unused) {
      if (auto found = watched_.find(table); found != watched_.end() && ++*found > kKeptUnused) {
        watched_.erase(found);
      }
    }
  }

  struct Reading {
    std::chrono::steady_clock::time_point at;
    QSet<QString> tables;  // the tables read
    QSet<QString> unused;  // the tables read whose counters were not yet asked for
    QHash<QString, qint64> counts;
  };
  static constexpr int kKeptUnused = 3;
  QHash<QString, int> watched_;  // the tables read, with their unused readings in a row
  std::optional<Reading> reading_;
};

}  // namespace qalvoro
