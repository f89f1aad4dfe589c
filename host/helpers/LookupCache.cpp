#include "host/helpers/LookupCache.h"

#include "host/Globals.h"
#include "host/db/Connection.h"
#include "host/db/SqlTokens.h"

namespace qalvoro {

LookupCache::LookupCache(const QStringList& tables) {
  for (const QString& table : tables) tables_ << sql::normalTableName(table);
}

bool LookupCache::writtenByOthers(const QHash<QString, qint64>& counted) const {
  if (!counted_ || counted_->size() != counted.size()) return true;
  for (const QString& table : tables_) {
    const ChangeJournal::Changes own = reader_.changes(table);
    if (own.everything || counted.value(table) != counted_->value(table) + own.rowsWritten) {
      return true;
    }
  }
  return false;
}

void LookupCache::check() {
  const auto counted = MainConnection().changeCounts(tables_);
  if (!counted || writtenByOthers(*counted)) values_.clear();
  counted_ = counted;
  reader_ = MainConnection().changes().reader();
}

QVariant LookupCache::value(const QString& key, const std::function<QVariant()>& lookup) {
  if (const auto found = values_.constFind(key); found != values_.cend()) return *found;
  QVariant value = lookup();
  if (value.isValid()) values_.insert(key, value);
  return value;
}

}  // namespace qalvoro
