#include "browser/ModuleAcc.h"

#include <QHash>
#include <QSet>
#include <algorithm>
#include <optional>
#include <set>
#include <unordered_set>
#include <vector>

#include "host/Globals.h"
#include "host/db/Connection.h"
#include "host/db/Recordset.h"
#include "host/helpers/DbHelpers.h"
#include "host/platform/Platform.h"

namespace qalvoro {
namespace {

constexpr int kDescendantListDepth = 12;
// Values bound in one IN list; longer lists are read in several queries.
constexpr qsizetype kInListChunk = 500;
const QString kNumberSeparator = QStringLiteral("','");
const QString kNullNumber = QStringLiteral("'0'");
const QString kTopLevel = QStringLiteral("_");
const QString kCardAccLock = QStringLiteral("CardAcc");

// One row of CardAcc as the hierarchy sees it; Null columns are empty.
struct Account {
  qint64 id = 0;
  std::optional<QString> number;  // AccNo
  std::optional<QString> father;  // ffather
};

std::optional<QString> optionalText(const Recordset& rows, const QString& field) {
  if (rows.isNull(field)) return std::nullopt;
  return rows.text(field);
}

Account accountOf(const Recordset& rows) {
  return {rows.value(QStringLiteral("ID")).toLongLong(),
          optionalText(rows, QStringLiteral("AccNo")),
          optionalText(rows, QStringLiteral("ffather"))};
}

QStringList distinctSorted(QStringList numbers) {
  std::sort(numbers.begin(), numbers.end());
  numbers.erase(std::unique(numbers.begin(), numbers.end()), numbers.end());
  return numbers;
}

QStringList numbersOf(const std::vector<Account>& accounts) {
  QStringList numbers;
  for (const Account& account : accounts) {
    if (account.number) numbers << *account.number;
  }
  return numbers;
}

QString quoted(const QStringList& numbers) {
  QStringList items;
  for (const QString& number : numbers) items << QLatin1Char('\'') + number + QLatin1Char('\'');
  return items.join(QLatin1Char(','));
}

// Where the walks read accounts: the database, or a branch held in memory.
class AccountSource {
 public:
  virtual ~AccountSource() = default;
  // Accounts whose ffather is one of numbers, in ascending ID order.
  virtual std::vector<Account> childrenOf(const QStringList& numbers) const = 0;
  // Accounts whose AccNo is one of numbers, in ascending ID order.
  virtual std::vector<Account> withNumbers(const QStringList& numbers) const = 0;
};

// The accounts of one branch, read from CardAcc query by query.
class DatabaseAccounts : public AccountSource {
 public:
  explicit DatabaseAccounts(int branch) : branch_(branch) {}

  std::vector<Account> childrenOf(const QStringList& numbers) const override {
    return read(QStringLiteral("ffather"), numbers);
  }
  std::vector<Account> withNumbers(const QStringList& numbers) const override {
    return read(QStringLiteral("AccNo"), numbers);
  }

 private:
  std::vector<Account> read(const QString& column, const QStringList& numbers) const {
    const QStringList values = distinctSorted(numbers);
    std::vector<Account> accounts;
    for (qsizetype start = 0; start < values.size(); start += kInListChunk) {
      const QStringList chunk = values.mid(start, kInListChunk);
      QVariantList params{branch_};
      for (const QString& value : chunk) params << value;
      QStringList placeholders;
      placeholders.fill(QStringLiteral("?"), chunk.size());
      Recordset rows;
      rows.open(QStringLiteral("SELECT ID, AccNo, ffather FROM CardAcc WHERE BranchID = ? AND ") +
                    column + QStringLiteral(" IN (") + placeholders.join(QLatin1Char(',')) +
                    QLatin1Char(')'),
                MainConnection(), LockType::ReadOnly, params);
      for (; !rows.eof(); rows.moveNext()) accounts.push_back(accountOf(rows));
    }
    std::sort(accounts.begin(), accounts.end(),
              [](const Account& a, const Account& b) { return a.id < b.id; });
    return accounts;
  }

  int branch_;
};

// The accounts of one branch, read once and indexed by number and parent.
class BranchAccounts : public AccountSource {
 public:
  explicit BranchAccounts(int branch) {
    Recordset rows;
    rows.open(QStringLiteral("SELECT ID, AccNo, ffather, Haves FROM CardAcc WHERE BranchID = ? "
                             "ORDER BY ID"),
              MainConnection(), LockType::ReadOnly, {branch});
    for (; !rows.eof(); rows.moveNext()) {
      const int index = static_cast<int>(accounts_.size());
      accounts_.push_back(accountOf(rows));
      const Account& account = accounts_.back();
      if (account.number) byNumber_[*account.number].push_back(index);
      if (account.father) byFather_[*account.father].push_back(index);
      if (!rows.isNull(QStringLiteral("Haves")) &&
          rows.value(QStringLiteral("Haves")).toLongLong() > 0) {
        parents_.push_back(index);
      }
    }
  }

  // The accounts with Haves > 0, in ascending ID order.
  std::vector<Account> parents() const { return select(parents_); }

  std::vector<Account> childrenOf(const QStringList& numbers) const override {
    return lookUp(byFather_, numbers);
  }
  std::vector<Account> withNumbers(const QStringList& numbers) const override {
    return lookUp(byNumber_, numbers);
  }

 private:
  using Index = QHash<QString, std::vector<int>>;

  std::vector<Account> lookUp(const Index& index, const QStringList& numbers) const {
    std::vector<int> found;
    for (const QString& number : distinctSorted(numbers)) {
      const auto rows = index.constFind(number);
      if (rows != index.cend()) found.insert(found.end(), rows->begin(), rows->end());
    }
    std::sort(found.begin(), found.end());
    return select(found);
  }

  std::vector<Account> select(const std::vector<int>& indexes) const {
    std::vector<Account> selected;
    selected.reserve(indexes.size());
    for (const int index : indexes) selected.push_back(accounts_[index]);
    return selected;
  }

  std::vector<Account> accounts_;  // ascending ID, so indexes sort as IDs do
  Index byNumber_;
  Index byFather_;
  std::vector<int> parents_;
};

// The accounts below `numbers`, one entry per level. A level is read for the
// set of numbers of the level above; when that set repeats an earlier one
// (an account is its own ancestor), the levels would repeat and the walk ends.
std::vector<std::vector<Account>> descendantLevels(const AccountSource& source,
                                                   const QStringList& numbers) {
  std::vector<std::vector<Account>> levels;
  QStringList parents = distinctSorted(numbers);
  std::set<QStringList> walked{parents};
  while (true) {
    std::vector<Account> level = source.childrenOf(parents);
    if (level.empty()) break;
    parents = distinctSorted(numbersOf(level));
    levels.push_back(std::move(level));
    if (!walked.insert(parents).second) break;
  }
  return levels;
}

QString descendantNosText(const AccountSource& source, const QStringList& numbers) {
  QString text;
  for (const auto& level : descendantLevels(source, numbers)) {
    for (const Account& account : level) {
      text += account.number.value_or(kNullNumber) + kNumberSeparator;
    }
  }
  return text;
}

QString descendantIdsText(const AccountSource& source, const QString& number) {
  QStringList numbers;
  for (const auto& level : descendantLevels(source, {number})) numbers << numbersOf(level);
  const std::vector<Account> found = source.withNumbers(numbers);
  if (found.empty()) {
    const std::vector<Account> own = source.withNumbers({number});
    return own.empty() ? QString() : QString::number(own.front().id);
  }
  QStringList ids;
  for (const Account& account : found) ids << QString::number(account.id);
  return ids.join(QLatin1Char(','));
}

// The numbers AncestorList quotes: the ancestors from the parent upwards, or
// the account's own number when there are none. A number met twice ends the
// walk.
QStringList ancestorsOrSelf(const AccountSource& source, const QString& number) {
  QStringList ancestors;
  QSet<QString> met;
  QString current = number.trimmed();
  while (true) {
    met.insert(current);
    const std::vector<Account> rows = source.withNumbers({current});
    if (rows.empty()) break;
    const QString father = rows.front().father.value_or(QString());
    if (father.trimmed() == kTopLevel || met.contains(father)) break;
    ancestors << father;
    current = father;
  }
  return ancestors.isEmpty() ? QStringList{number} : ancestors;
}

using ChildrenByFather = QHash<QString, std::vector<Account>>;

// Reads the children of every account down to `depth` levels below number,
// one query per level.
ChildrenByFather childrenBelow(const AccountSource& source, const QString& number, int depth) {
  ChildrenByFather children;
  QStringList parents{number};
  for (int level = 0; level < depth && !parents.isEmpty(); ++level) {
    QStringList unread;
    for (const QString& parent : distinctSorted(parents)) {
      if (!children.contains(parent)) unread << parent;
    }
    for (const QString& parent : unread) children.insert(parent, {});
    for (const Account& child : source.childrenOf(unread)) children[*child.father].push_back(child);
    QStringList next;
    for (const QString& parent : parents) next << numbersOf(children.value(parent));
    parents = next;
  }
  return children;
}

void appendDepthFirst(const ChildrenByFather& children, const QString& parent, int level,
                      QStringList& listed) {
  if (level > kDescendantListDepth) return;
  for (const Account& child : children.value(parent)) {
    listed << child.number.value_or(QString());
    if (child.number) appendDepthFirst(children, *child.number, level + 1, listed);
  }
}

void writeSubCards(qint64 id, const QString& ids) {
  MainConnection().execute(QStringLiteral("UPDATE CardAcc SET SubCardsID = ? WHERE ID = ?"),
                           {ids, id});
}

// Rewrites the accounts UpdateSubCardsID(number) rewrites, skipping those in
// `written` and adding the others to it.
void updateAncestors(const AccountSource& source, const QString& number,
                     std::unordered_set<qint64>& written) {
  for (const Account& account : source.withNumbers(ancestorsOrSelf(source, number))) {
    if (written.insert(account.id).second) {
      writeSubCards(account.id, descendantIdsText(source, *account.number));
    }
  }
}

}  // namespace

QString DescendantNos(int branch, const QString& numbers) {
  const PointerGuard pointer(MousePointer::Hourglass);
  return descendantNosText(DatabaseAccounts(branch), numbers.split(kNumberSeparator));
}

QString DescendantIDs(int branch, const QString& number) {
  const PointerGuard pointer(MousePointer::Hourglass);
  return descendantIdsText(DatabaseAccounts(branch), number);
}

QString AncestorList(const QString& number, int branch) {
  return quoted(ancestorsOrSelf(DatabaseAccounts(branch), number));
}

void UpdateSubCardsID(const QString& number, int branch) {
  const TableLock lock(kCardAccLock);
  const PointerGuard pointer(MousePointer::Hourglass);
  std::unordered_set<qint64> written;
  updateAncestors(DatabaseAccounts(branch), number, written);
}

QString DescendantList(int branch, const QString& number) {
  return quoted(DescendantListNumbers(branch, number));
}

QStringList DescendantListNumbers(int branch, const QString& number) {
  const PointerGuard pointer(MousePointer::Hourglass);
  const ChildrenByFather children =
      childrenBelow(DatabaseAccounts(branch), number, kDescendantListDepth);
  QStringList listed{number};
  appendDepthFirst(children, number, 1, listed);
  return listed;
}

void RefreshSubCardsFrom(const QString& number, int branch) {
  const TableLock lock(kCardAccLock);
  const PointerGuard pointer(MousePointer::Hourglass);
  const DatabaseAccounts accounts(branch);
  std::unordered_set<qint64> written;
  for (const Account& account : accounts.withNumbers({number})) {
    if (written.insert(account.id).second) {
      writeSubCards(account.id, descendantIdsText(accounts, number));
    }
  }
  updateAncestors(accounts, number, written);
}

std::vector<qint64> SubtreeIDs(int branch, const QString& number) {
  const DatabaseAccounts accounts(branch);
  std::vector<qint64> ids;
  for (const Account& account : accounts.withNumbers({number})) ids.push_back(account.id);
  if (ids.empty()) return ids;
  for (const auto& level : descendantLevels(accounts, {number})) {
    for (const Account& account : level) ids.push_back(account.id);
  }
  std::sort(ids.begin(), ids.end());
  ids.erase(std::unique(ids.begin(), ids.end()), ids.end());
  return ids;
}

void RefreshParentSubCards(int branch, const SubCardsProgress& progress) {
  const TableLock lock(kCardAccLock);
  Transaction transaction(MainConnection());
  const BranchAccounts accounts(branch);
  const std::vector<Account> parents = accounts.parents();
  const int total = static_cast<int>(parents.size());
  std::unordered_set<qint64> written;
  int done = 0;
  for (const Account& parent : parents) {
    updateAncestors(accounts, parent.number.value_or(QString()), written);
    if (progress) progress(++done, total);
  }
  transaction.commit();
}

}  // namespace qalvoro
