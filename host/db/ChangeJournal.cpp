#include "host/db/ChangeJournal.h"

#include <unordered_map>

#include "host/db/SqlTokens.h"

namespace qalvoro {

struct ChangeJournal::Reader::Log {
  enum class Kind { Row, RemovedRow, Table, All };
  struct Entry {
    Kind kind;
    int table;
    qint64 key;
  };

  std::deque<Entry> entries;
  Position first = 0;  // position of entries.front()
  std::multiset<Position> readers;
  QHash<QString, int> tableIds;

  Position end() const { return first + entries.size(); }

  int tableId(const QString& table) {
    const QString name = sql::normalTableName(table);
    const auto found = tableIds.constFind(name);
    if (found != tableIds.cend()) return *found;
    const int id = static_cast<int>(tableIds.size());
    tableIds.insert(name, id);
    return id;
  }

  void add(Kind kind, int table, qint64 key) {
    if (readers.empty()) {  // nobody will ask: only the position moves
      ++first;
      return;
    }
    entries.push_back({kind, table, key});
  }

  // Drops entries that no reader can ask for any more.
  void trim() {
    const Position oldest = readers.empty() ? end() : *readers.begin();
    while (first < oldest) {
      entries.pop_front();
      ++first;
    }
  }
};

ChangeJournal::ChangeJournal() : log_(std::make_shared<Reader::Log>()) {}

void ChangeJournal::recordRow(const QString& table, qint64 key) {
  log_->add(Reader::Log::Kind::Row, log_->tableId(table), key);
}

void ChangeJournal::recordRemovedRow(const QString& table, qint64 key) {
  log_->add(Reader::Log::Kind::RemovedRow, log_->tableId(table), key);
}

void ChangeJournal::recordTable(const QString& table) {
  log_->add(Reader::Log::Kind::Table, log_->tableId(table), 0);
}

void ChangeJournal::recordAll() { log_->add(Reader::Log::Kind::All, -1, 0); }

ChangeJournal::Reader ChangeJournal::reader() { return Reader(log_); }

ChangeJournal::Reader::Reader(std::shared_ptr<Log> log) : log_(log), position_(log->end()) {
  log->readers.insert(position_);
}

ChangeJournal::Reader::~Reader() { release(); }

ChangeJournal::Reader::Reader(Reader&& other) noexcept
    : log_(std::move(other.log_)), position_(other.position_) {
  other.log_.reset();
}

ChangeJournal::Reader& ChangeJournal::Reader::operator=(Reader&& other) noexcept {
  if (this != &other) {
    release();
    log_ = std::move(other.log_);
    position_ = other.position_;
    other.log_.reset();
  }
  return *this;
}

void ChangeJournal::Reader::release() {
  if (const std::shared_ptr<Log> log = log_.lock()) {
    log->readers.erase(log->readers.find(position_));
    log->trim();
  }
  log_.reset();
}

ChangeJournal::Changes ChangeJournal::Reader::changes(const QString& table) const {
  Changes changes;
  const std::shared_ptr<Log> log = log_.lock();
  if (!log) {
    changes.everything = true;
    return changes;
  }
  const int id = log->tableId(table);
  std::unordered_map<qint64, bool> removedLast;  // row key -> whether its last write deleted it
  std::vector<qint64> order;
  for (Position p = position_; p < log->end(); ++p) {
    const Log::Entry& entry = log->entries[p - log->first];
    if (entry.kind == Log::Kind::All || (entry.kind == Log::Kind::Table && entry.table == id)) {
      changes.everything = true;
      return changes;
    }
    if (entry.table != id) continue;
    ++changes.rowsWritten;
    const bool removed = entry.kind == Log::Kind::RemovedRow;
    const auto [written, first] = removedLast.try_emplace(entry.key, removed);
    if (first) {
      order.push_back(entry.key);
    } else {
      written->second = removed;
    }
  }
  for (const qint64 key : order) (removedLast[key] ? changes.removed : changes.keys).push_back(key);
  return changes;
}

void ChangeJournal::Reader::catchUp() {
  const std::shared_ptr<Log> log = log_.lock();
  if (!log) return;
  log->readers.erase(log->readers.find(position_));
  position_ = log->end();
  log->readers.insert(position_);
  log->trim();
}

}  // namespace qalvoro
