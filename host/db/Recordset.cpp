#include "host/db/Recordset.h"

#include <algorithm>
#include <optional>
#include <unordered_map>
#include <unordered_set>

#include "host/db/ChangeJournal.h"
#include "host/db/Connection.h"
#include "host/db/Criterion.h"
#include "host/db/DbError.h"
#include "host/db/RowSource.h"
#include "host/db/RowTable.h"
#include "host/db/RowView.h"
#include "host/db/SqlTokens.h"
#include "host/db/Values.h"

namespace qalvoro {
namespace {

DbError noCurrentRecord() {
  return DbError(dberr::kNoCurrentRecord,
                 QStringLiteral("Either BOF or EOF is True, or the current record has been "
                                "deleted. Requested operation requires a current record."));
}

DbError notUpdatable() {
  return DbError(dberr::kNotUpdatable,
                 QStringLiteral("Current Recordset does not support updating. This may be a "
                                "limitation of the provider, or of the selected locktype."));
}

DbError outOfRange() {
  return DbError(dberr::kBadCriterion,
                 QStringLiteral("Arguments are of the wrong type, are out of acceptable range, "
                                "or are in conflict with one another."));
}

struct OrderKey {
  int column;
  bool descending;
};

// More changed rows than this share of the table are read with the table.
constexpr int kIncrementalShare = 4;
constexpr int kIncrementalMinimum = 64;

}  // namespace

class Recordset::Impl {
 public:
  void open(const QString& sqlOrTable, Connection& connection, LockType lock,
            const QVariantList& params) {
    close();
    source_ = std::make_unique<RowSource>(connection, sqlOrTable, params);
    lock_ = lock;
    try {
      loadAll();
    } catch (const DbError&) {
      close();
      throw;
    }
  }

  void close() {
    edit_.reset();
    filter_.reset();
    sort_.clear();
    sortText_.clear();
    view_.showAll();
    rows_.clear();
    misplaced_.clear();
    reader_ = ChangeJournal::Reader();
    counted_.reset();
    source_.reset();
    cursor_ = Cursor{};
  }

  bool isOpen() const { return source_ != nullptr; }

  // Cursor.
  bool bof() const {
    requireOpen();
    return cursor_.at == At::Bof || (cursor_.at == At::Eof && view_.count() == 0);
  }
  bool eof() const {
    requireOpen();
    return cursor_.at == At::Eof || (cursor_.at == At::Bof && view_.count() == 0);
  }
  int recordCount() const {
    requireOpen();
    return view_.count();
  }
  int absolutePosition() const {
    requireOpen();
    switch (cursor_.at) {
      case At::Bof:
        return -2;
      case At::Eof:
        return -3;
      case At::Row:
        return view_.positionOf(cursor_.row) + 1;
      default:
        return -1;
    }
  }
  void setAbsolutePosition(int position) {
    startMove();
    if (position < 1 || position > view_.count()) throw outOfRange();
    cursor_ = onRow(view_.at(position - 1));
  }
  void moveFirst() {
    startMove();
    if (view_.count() == 0) throw noCurrentRecord();
    cursor_ = onRow(view_.first());
  }
  void moveLast() {
    startMove();
    if (view_.count() == 0) throw noCurrentRecord();
    cursor_ = onRow(view_.last());
  }
  void moveNext() {
    startMove();
    if (eof()) throw noCurrentRecord();
    const RowId next = cursor_.at == At::Bof   ? view_.first()
                       : cursor_.at == At::Row ? view_.next(cursor_.row)
                                               : cursor_.row;  // the row after a deleted one
    cursor_ = next == kNoRow ? Cursor{At::Eof} : onRow(next);
  }
  void movePrevious() {
    startMove();
    if (bof()) throw noCurrentRecord();
    RowId previous = kNoRow;
    if (cursor_.at == At::Eof || (cursor_.at == At::Deleted && cursor_.row == kNoRow)) {
      previous = view_.last();
    } else {
      previous = view_.previous(cursor_.row);
    }
    cursor_ = previous == kNoRow ? Cursor{At::Bof} : onRow(previous);
  }

  // Fields.
  QStringList fieldNames() const {
    requireOpen();
    QStringList names;
    for (const Column& column : source_->columns()) names << column.name;
    return names;
  }
  bool hasField(const QString& name) const {
    requireOpen();
    return findColumn(name) >= 0;
  }
  QVariant value(const QString& name) const { return currentValues()[columnOf(name)]; }
  void setValue(const QString& name, const QVariant& value) {
    requireUpdatable();
    const int column = columnOf(name);
    const Column& target = source_->columns()[column];
    if (target.writeSql.isEmpty()) throw notUpdatable();
    if (cursor_.at == At::Row && !edit_) {
      edit_ = Edit{false, rows_.row(cursor_.row).values, {}, cursor_};
      edit_->changed.assign(edit_->values.size(), false);
    } else if (cursor_.at != At::Row && cursor_.at != At::Adding) {
      throw noCurrentRecord();
    }
    edit_->values[column] = values::convertForColumn(value, target.type);
    edit_->changed[column] = true;
  }

  // Editing.
  void addNew() {
    requireUpdatable();
    finishEdit();
    const std::size_t count = source_->columns().size();
    edit_ = Edit{true, std::vector<QVariant>(count), std::vector<bool>(count, false), cursor_};
    cursor_ = Cursor{At::Adding};
  }
  void update() {
    requireOpen();
    if (!edit_) return;
    std::vector<int> columns;
    QVariantList values;
    for (std::size_t i = 0; i < edit_->changed.size(); ++i) {
      if (!edit_->changed[i]) continue;
      columns.push_back(static_cast<int>(i));
      values << edit_->values[i];
    }
    if (edit_->adding) {
      insertRow(columns, values);
    } else if (!columns.empty()) {
      updateRow(columns, values);
    }
    edit_.reset();
  }
  void cancelUpdate() {
    requireOpen();
    if (edit_ && edit_->adding) cursor_ = edit_->before;
    edit_.reset();
  }
  void deleteCurrent() {
    requireUpdatable();
    if (cursor_.at != At::Row) throw noCurrentRecord();
    edit_.reset();
    const RowId id = cursor_.row;
    source_->remove(*rows_.row(id).key);
    const RowId after = view_.next(id);
    view_.remove(id);
    rows_.remove(id);
    cursor_ = Cursor{At::Deleted, after};
  }

  // Searching.
  bool find(const Criterion& criterion) {
    startMove();
    const RowId start = cursor_.at == At::Bof   ? view_.first()
                        : cursor_.at == At::Eof ? kNoRow
                                                : cursor_.row;
    const RowId found = search(criterion, start);
    noMatch_ = found == kNoRow;
    cursor_ = noMatch_ ? Cursor{At::Eof} : onRow(found);
    return !noMatch_;
  }
  bool findFirst(const Criterion& criterion) {
    startMove();
    const RowId found = search(criterion, view_.first());
    noMatch_ = found == kNoRow;
    if (!noMatch_) cursor_ = onRow(found);
    return !noMatch_;
  }
  bool noMatch() const { return noMatch_; }
  Criterion parse(const QString& text) const {
    requireOpen();
    Criterion criterion(text);
    bindCriterion(criterion);
    return criterion;
  }
  Criterion equal(const QString& column, const QVariant& value) const {
    requireOpen();
    Criterion criterion = Criterion::equal(column, value);
    bindCriterion(criterion);
    return criterion;
  }

  void setFilter(std::optional<Criterion> filter) {
    startMove();
    filter_ = std::move(filter);
    applyFilter();
    toFirstRow();
  }
  void setSort(const QString& columns) {
    startMove();
    sort_ = parseSort(columns);
    sortText_ = columns;
    rows_.reorder([this](const Row& a, const Row& b) { return less(a, b); });
    applyFilter();
    toFirstRow();
  }

  void requery() {
    startMove();
    if (refreshChangedRows()) {
      applyFilter();
      toFirstRow();
    } else {
      loadAll();
    }
  }

  QString getString(const QString& columnDelimiter, const QString& rowDelimiter,
                    const QString& nullText) {
    startMove();
    RowId id = cursor_.at == At::Bof ? view_.first() : cursor_.at == At::Eof ? kNoRow : cursor_.row;
    QString text;
    for (; id != kNoRow; id = view_.next(id)) {
      const std::vector<QVariant>& values = rows_.row(id).values;
      for (std::size_t i = 0; i < values.size(); ++i) {
        if (i > 0) text += columnDelimiter;
        text += values[i].isNull() ? nullText : values::display(values[i]);
      }
      text += rowDelimiter;
    }
    cursor_ = Cursor{At::Eof};
    return text;
  }

 private:
  // Where the cursor stands. On a deleted row, `row` is the row after it.
  enum class At { Bof, Row, Deleted, Adding, Eof };
  struct Cursor {
    At at = At::Bof;
    RowId row = kNoRow;
  };
  // Changes to the current row, or the row being added, until update().
  struct Edit {
    bool adding;
    std::vector<QVariant> values;
    std::vector<bool> changed;
    Cursor before;
  };

  static Cursor onRow(RowId id) { return Cursor{At::Row, id}; }

  void requireOpen() const {
    if (!isOpen()) {
      throw DbError(dberr::kObjectClosed,
                    QStringLiteral("Operation is not allowed when the object is closed."));
    }
  }
  void requireUpdatable() const {
    requireOpen();
    if (lock_ == LockType::ReadOnly || !source_->keyed()) throw notUpdatable();
  }
  // Every move writes a pending change first, as the classic libraries do.
  void startMove() {
    requireOpen();
    finishEdit();
  }
  void finishEdit() {
    if (edit_) update();
  }

  int findColumn(const QString& name) const {
    const auto found = columnByName_.find(name.toCaseFolded());
    return found == columnByName_.end() ? -1 : found->second;
  }
  int columnOf(const QString& name) const {
    requireOpen();
    const int column = findColumn(name);
    if (column < 0) {
      throw DbError(dberr::kItemNotFound,
                    QStringLiteral("Item cannot be found in the collection corresponding to the "
                                   "requested name or ordinal: %1")
                        .arg(name));
    }
    return column;
  }
  void bindCriterion(Criterion& criterion) const {
    criterion.bind([this](const QString& name) { return columnOf(name); });
  }

  const std::vector<QVariant>& currentValues() const {
    requireOpen();
    if (cursor_.at == At::Adding) return edit_->values;
    if (cursor_.at != At::Row) throw noCurrentRecord();
    return edit_ ? edit_->values : rows_.row(cursor_.row).values;
  }

  void toFirstRow() {
    const RowId first = view_.first();
    cursor_ = first == kNoRow ? Cursor{At::Bof} : onRow(first);
  }

  // Loading.
  void loadAll() {
    // The journal's place and the counter are taken before the rows, so a
    // write that lands in between is read again by the next requery.
    reader_ = source_->connection().changes().reader();
    counted_ = countOfTable();
    std::vector<LoadedRow> loaded = source_->loadAll();
    columnByName_.clear();
    const std::vector<Column>& columns = source_->columns();
    for (int i = static_cast<int>(columns.size()) - 1; i >= 0; --i) {
      columnByName_[columns[i].name.toCaseFolded()] = i;
    }
    rows_.clear();
    misplaced_.clear();
    nextSequence_ = 0;
    for (LoadedRow& row : loaded) {
      rows_.append(Row{row.key, nextSequence_++, std::move(row.values)});
    }
    resolveQueryOrder();
    sort_ = parseSort(sortText_);
    if (!sort_.empty()) rows_.reorder([this](const Row& a, const Row& b) { return less(a, b); });
    applyFilter();
    toFirstRow();
  }

  // The change counter of the table a keyed recordset reads; nothing when
  // it has none or the rows are not keyed.
  std::optional<qint64> countOfTable() const {
    if (!source_->keyed()) return std::nullopt;
    return source_->connection().changeCount(source_->table());
  }

  // Brings in the rows written through the connection since the last load;
  // false when the rows must be read again instead: too many changed, or
  // the table's counter shows writes that were not made here.
  bool refreshChangedRows() {
    if (!source_->keyed() || !queryOrderKnown_) return false;
    const ChangeJournal::Changes changes = reader_.changes(source_->table());
    const std::size_t limit = std::max(kIncrementalMinimum, rows_.size() / kIncrementalShare);
    if (changes.everything || changes.keys.size() + changes.removed.size() > limit) return false;
    const std::optional<qint64> counted = countOfTable();
    if (counted.has_value() != counted_.has_value()) return false;
    if (counted && *counted != *counted_ + changes.rowsWritten) return false;
    std::unordered_map<qint64, std::vector<QVariant>> fetched;
    if (!changes.keys.empty()) {
      for (LoadedRow& row : source_->loadKeys(changes.keys)) {
        fetched.emplace(*row.key, std::move(row.values));
      }
    }
    for (const qint64 key : changes.keys) {
      const auto found = fetched.find(key);
      replaceRow(key, found == fetched.end() ? nullptr : &found->second);
    }
    for (const qint64 key : changes.removed) replaceRow(key, nullptr);
    reader_.catchUp();
    counted_ = counted;
    return true;
  }

  // Puts the row with this key in step with the database: gone when values
  // is null, else with these values at its place in the order.
  void replaceRow(qint64 key, std::vector<QVariant>* values) {
    const RowId existing = rows_.byKey(key);
    if (!values) {
      if (existing != kNoRow) rows_.remove(existing);
      return;
    }
    const bool misplaced = misplaced_.erase(key) > 0;
    if (existing != kNoRow && !misplaced && !orderChanges(rows_.row(existing).values, *values)) {
      rows_.setValues(existing, std::move(*values));
      return;
    }
    const quint64 sequence = existing != kNoRow ? rows_.row(existing).sequence : nextSequence_++;
    if (existing != kNoRow) rows_.remove(existing);
    Row row{key, sequence, std::move(*values)};
    const int position =
        ordered() ? rows_.order().countLeading([&](RowId id) { return !less(row, rows_.row(id)); })
                  : rows_.size();
    rows_.insertAt(position, std::move(row));
  }

  void insertRow(const std::vector<int>& columns, const QVariantList& values) {
    LoadedRow written = source_->insert(columns, values);
    const qint64 key = *written.key;
    const RowId id = rows_.append(Row{key, nextSequence_++, std::move(written.values)});
    if (ordered()) misplaced_.insert(key);  // at the end until the next requery
    view_.add(id);
    cursor_ = onRow(id);
  }

  void updateRow(const std::vector<int>& columns, const QVariantList& values) {
    const qint64 key = *rows_.row(cursor_.row).key;
    rows_.setValues(cursor_.row, std::move(source_->update(key, columns, values).values));
    if (ordered()) misplaced_.insert(key);  // keeps its place until the next requery
  }

  // Order.
  bool ordered() const { return !sort_.empty() || !queryOrder_.empty(); }

  // The query's ORDER BY as the rows came: known when the loaded rows follow
  // it under one of the text orders, so that changed rows can be put in place.
  void resolveQueryOrder() {
    queryOrder_.clear();
    queryOrderKnown_ = true;
    nullsFirst_ = source_->connection().engine() == Engine::SQLite;
    for (const sql::OrderItem& item : source_->orderBy()) {
      const int column = orderColumn(item.column);
      if (column < 0) {
        queryOrder_.clear();
        queryOrderKnown_ = false;
        return;
      }
      queryOrder_.push_back({column, item.descending});
    }
    for (const values::TextOrder textOrder :
         {values::TextOrder::Binary, values::TextOrder::CaseInsensitive}) {
      queryText_ = textOrder;
      if (followsQueryOrder()) return;
    }
    queryOrderKnown_ = false;
  }

  int orderColumn(const QString& name) const {
    const int column = findColumn(name);
    if (column >= 0) return column;
    const std::vector<Column>& columns = source_->columns();
    for (std::size_t i = 0; i < columns.size(); ++i) {
      if (columns[i].baseName.compare(name, Qt::CaseInsensitive) == 0) return static_cast<int>(i);
    }
    return -1;
  }

  bool followsQueryOrder() const {
    const RowSequence& order = rows_.order();
    for (RowId id = order.first(), next = id == kNoRow ? kNoRow : order.next(id); next != kNoRow;
         id = next, next = order.next(next)) {
      if (compareKeys(queryOrder_, queryText_, nullsFirst_, rows_.row(id), rows_.row(next)) > 0) {
        return false;
      }
    }
    return true;
  }

  static int compareKeys(const std::vector<OrderKey>& keys, values::TextOrder textOrder,
                         bool nullsFirst, const Row& a, const Row& b) {
    for (const OrderKey& key : keys) {
      const int order = values::compareForOrder(a.values[key.column], b.values[key.column],
                                                textOrder, nullsFirst);
      if (order != 0) return key.descending ? -order : order;
    }
    return 0;
  }

  // The recordset's sort, then the query's order, then the order of arrival.
  bool less(const Row& a, const Row& b) const {
    const int sorted = compareKeys(sort_, values::TextOrder::CaseInsensitive, true, a, b);
    if (sorted != 0) return sorted < 0;
    const int query = compareKeys(queryOrder_, queryText_, nullsFirst_, a, b);
    if (query != 0) return query < 0;
    return a.sequence < b.sequence;
  }

  bool orderChanges(const std::vector<QVariant>& before, const std::vector<QVariant>& after) const {
    for (const auto* keys : {&sort_, &queryOrder_}) {
      for (const OrderKey& key : *keys) {
        if (values::compareForOrder(before[key.column], after[key.column],
                                    values::TextOrder::Binary, true) != 0) {
          return true;
        }
      }
    }
    return false;
  }

  // "Col1, Col2 DESC"
  std::vector<OrderKey> parseSort(const QString& text) const {
    std::vector<OrderKey> keys;
    const std::vector<sql::Token> tokens = sql::tokenize(text, sql::Dialect::Sql);
    std::size_t i = 0;
    while (i < tokens.size()) {
      if (!tokens[i].isName()) throw outOfRange();
      OrderKey key{columnOf(tokens[i].value), false};
      ++i;
      if (i < tokens.size() && (tokens[i].isWord(QLatin1StringView("ASC")) ||
                                tokens[i].isWord(QLatin1StringView("DESC")))) {
        key.descending = tokens[i].isWord(QLatin1StringView("DESC"));
        ++i;
      }
      keys.push_back(key);
      if (i == tokens.size()) break;
      if (!tokens[i].isSymbol(QLatin1StringView(",")) || ++i == tokens.size()) throw outOfRange();
    }
    return keys;
  }

  // Searching and filtering.
  bool useIndex(const Criterion::Equality& equality) {
    return values::indexable(equality.value) && rows_.index(equality.column).usable();
  }

  // The first visible row from `start` on that matches.
  RowId search(const Criterion& criterion, RowId start) {
    if (start == kNoRow) return kNoRow;
    if (const std::optional<Criterion::Equality> equality = criterion.equality();
        equality && useIndex(*equality)) {
      return rows_.index(equality->column).firstFrom(equality->value, start, [this](RowId id) {
        return view_.contains(id);
      });
    }
    for (RowId id = start; id != kNoRow; id = view_.next(id)) {
      if (criterion.matches(rows_.row(id).values)) return id;
    }
    return kNoRow;
  }

  void applyFilter() {
    if (!filter_) {
      view_.showAll();
      return;
    }
    bindCriterion(*filter_);
    if (const std::optional<Criterion::Equality> equality = filter_->equality();
        equality && useIndex(*equality)) {
      view_.showOnly(rows_.index(equality->column).all(equality->value));
      return;
    }
    std::vector<RowId> matching;
    const RowSequence& order = rows_.order();
    for (RowId id = order.first(); id != kNoRow; id = order.next(id)) {
      if (filter_->matches(rows_.row(id).values)) matching.push_back(id);
    }
    view_.showOnly(std::move(matching));
  }

  std::unique_ptr<RowSource> source_;
  LockType lock_ = LockType::ReadOnly;
  std::unordered_map<QString, int> columnByName_;
  RowTable rows_;
  RowView view_{rows_};
  ChangeJournal::Reader reader_;
  std::optional<qint64> counted_;  // the table's change counter when last in step
  std::vector<OrderKey> queryOrder_;
  values::TextOrder queryText_ = values::TextOrder::Binary;
  bool queryOrderKnown_ = true;
  bool nullsFirst_ = true;
  std::vector<OrderKey> sort_;
  QString sortText_;
  std::optional<Criterion> filter_;
  Cursor cursor_;
  std::optional<Edit> edit_;
  bool noMatch_ = false;
  quint64 nextSequence_ = 0;
  std::unordered_set<qint64> misplaced_;  // written here, not yet moved to their place
};

Recordset::Recordset() : impl_(std::make_unique<Impl>()) {}
Recordset::~Recordset() = default;
Recordset::Recordset(Recordset&&) noexcept = default;
Recordset& Recordset::operator=(Recordset&&) noexcept = default;

void Recordset::open(const QString& sqlOrTable, Connection& connection, LockType lock,
                     const QVariantList& params) {
  impl_->open(sqlOrTable, connection, lock, params);
}
void Recordset::close() { impl_->close(); }
int Recordset::state() const { return impl_ && impl_->isOpen() ? 1 : 0; }

bool Recordset::bof() const { return impl_->bof(); }
bool Recordset::eof() const { return impl_->eof(); }
int Recordset::recordCount() const { return impl_->recordCount(); }
int Recordset::absolutePosition() const { return impl_->absolutePosition(); }
void Recordset::setAbsolutePosition(int position) { impl_->setAbsolutePosition(position); }
void Recordset::moveFirst() { impl_->moveFirst(); }
void Recordset::moveLast() { impl_->moveLast(); }
void Recordset::moveNext() { impl_->moveNext(); }
void Recordset::movePrevious() { impl_->movePrevious(); }

QStringList Recordset::fieldNames() const { return impl_->fieldNames(); }
bool Recordset::hasField(const QString& name) const { return impl_->hasField(name); }
QVariant Recordset::value(const QString& name) const { return impl_->value(name); }
bool Recordset::isNull(const QString& name) const { return impl_->value(name).isNull(); }
QString Recordset::text(const QString& name) const { return values::display(impl_->value(name)); }
void Recordset::setValue(const QString& name, const QVariant& value) {
  impl_->setValue(name, value);
}

void Recordset::addNew() { impl_->addNew(); }
void Recordset::update() { impl_->update(); }
void Recordset::cancelUpdate() { impl_->cancelUpdate(); }
void Recordset::deleteCurrent() { impl_->deleteCurrent(); }

bool Recordset::find(const QString& criterion) { return impl_->find(impl_->parse(criterion)); }
bool Recordset::findFirst(const QString& criterion) {
  return impl_->findFirst(impl_->parse(criterion));
}
bool Recordset::noMatch() const { return impl_->noMatch(); }
bool Recordset::findEqual(const QString& column, const QVariant& value) {
  return impl_->find(impl_->equal(column, value));
}

void Recordset::setFilter(const QString& criterion) {
  if (criterion.trimmed().isEmpty()) {
    impl_->setFilter(std::nullopt);
  } else {
    impl_->setFilter(impl_->parse(criterion));
  }
}
void Recordset::setFilterEqual(const QString& column, const QVariant& value) {
  impl_->setFilter(impl_->equal(column, value));
}
void Recordset::clearFilter() { impl_->setFilter(std::nullopt); }
void Recordset::setSort(const QString& columns) { impl_->setSort(columns); }

void Recordset::requery() { impl_->requery(); }

QString Recordset::getString(const QString& columnDelimiter, const QString& rowDelimiter,
                             const QString& nullText) {
  return impl_->getString(columnDelimiter, rowDelimiter, nullText);
}

}  // namespace qalvoro
