// The account module over MainConnection, on both engines.

#include <stdexcept>

#include "browser/ModuleAcc.h"
#include "host/Globals.h"
#include "host/db/DbError.h"
#include "host/helpers/DbHelpers.h"
#include "tests/helpers/HelpersTest.h"
#include "tests/support/RowTexts.h"

namespace qalvoro::test {
namespace {

const QString kUntouched = QStringLiteral("untouched");

// A version-2 database without demo rows, opened as MainConnection.
class ModuleAccTest : public HelpersTest {
 protected:
  // Adds an account under father ("_": top level), raises the father's
  // Haves and returns the new ID.
  static qint64 add(const QVariant& number, const QString& father = QStringLiteral("_"),
                    int branch = 1) {
    const auto written = MainConnection().write(
        "INSERT INTO CardAcc (BranchID, AccNo, AccNameA, ffather, Haves) VALUES (?, ?, 'x', ?, 0)",
        {branch, number, father});
    MainConnection().execute(
        "UPDATE CardAcc SET Haves = Haves + 1 WHERE BranchID = ? AND AccNo = ?", {branch, father});
    return written.keys.front();
  }

  static QString ids(std::initializer_list<qint64> list) {
    QStringList texts;
    for (const qint64 id : list) texts << QString::number(id);
    return texts.join(',');
  }

  static QString subCards(qint64 id) {
    return LookupValue("CardAcc", "SubCardsID", "ID = ?", {id});
  }

  // ID and SubCardsID of every account.
  static QStringList allSubCards() {
    return RowTexts("SELECT ID, SubCardsID FROM CardAcc ORDER BY ID");
  }

  static void markAllUntouched() {
    MainConnection().execute("UPDATE CardAcc SET SubCardsID = ?", {kUntouched});
  }

  // A chart of accounts of depth 5 with numbers that extend their parent's,
  // some with apostrophes, in branch 1 and a smaller one in branch 2.
  static void addGeneratedTree(int branch, int count) {
    std::vector<std::pair<QString, int>> accounts;  // number, depth
    for (int top = 1; top <= 4; ++top) {
      accounts.emplace_back(QString::number(top), 1);
      add(QString::number(top), "_", branch);
    }
    quint32 random = 12345;
    while (static_cast<int>(accounts.size()) < count) {
      random = random * 1103515245u + 12345u;
      const auto [father, depth] = accounts[(random >> 8) % accounts.size()];
      if (depth == 5) continue;
      const QString separator = accounts.size() % 23 == 0 ? "'" : "";
      const QString number = father + separator + QString::number(accounts.size());
      accounts.emplace_back(number, depth + 1);
      add(number, father, branch);
    }
  }
};

TEST_P(ModuleAccTest, RoutinesGiveTheirTexts) {
  const qint64 one = add("1");
  const qint64 eleven = add("11", "1");
  const qint64 twelve = add("12", "1");
  const qint64 leaf111 = add("111", "11");
  const qint64 oneil = add("O'Neil", "11");
  const qint64 oneil1 = add("O'Neil1", "O'Neil");
  const qint64 two = add("2");
  add(QVariant(), "2");
  add("13", "1", 2);  // another branch, under a parent of the same number

  EXPECT_EQ(DescendantNos(1, "1"), "11','12','111','O'Neil','O'Neil1','");
  EXPECT_EQ(DescendantNos(1, "12','O'Neil"), "O'Neil1','");
  EXPECT_EQ(DescendantNos(1, "12"), "");
  EXPECT_EQ(DescendantNos(1, "2"), "'0'','") << "an account without a number";

  EXPECT_EQ(DescendantIDs(1, "1"), ids({eleven, twelve, leaf111, oneil, oneil1}));
  EXPECT_EQ(DescendantIDs(1, "12"), ids({twelve})) << "a leaf";
  EXPECT_EQ(DescendantIDs(1, "2"), ids({two})) << "no descendant with a number";
  EXPECT_EQ(DescendantIDs(1, "9"), "") << "no such account";

  EXPECT_EQ(AncestorList("O'Neil1", 1), "'O'Neil','11','1'");
  EXPECT_EQ(AncestorList(" 111 ", 1), "'11','1'");
  EXPECT_EQ(AncestorList("1", 1), "'1'") << "top level";
  EXPECT_EQ(AncestorList("13", 1), "'13'") << "not in this branch";
  EXPECT_EQ(AncestorList("13", 2), "'1'");

  EXPECT_EQ(DescendantList(1, "1"), "'1','11','111','O'Neil','O'Neil1','12'");
  EXPECT_EQ(DescendantListNumbers(1, "O'Neil"), QStringList({"O'Neil", "O'Neil1"}));
  EXPECT_EQ(user().mousePointer(), MousePointer::Default);
  EXPECT_EQ(subCards(one), "") << "reading routines write nothing";

  UpdateSubCardsID("O'Neil1", 1);
  EXPECT_EQ(subCards(oneil), ids({oneil1}));
  EXPECT_EQ(subCards(eleven), ids({leaf111, oneil, oneil1}));
  EXPECT_EQ(subCards(one), ids({eleven, twelve, leaf111, oneil, oneil1}));
  EXPECT_EQ(subCards(oneil1), "") << "the account itself is not its ancestor";
  UpdateSubCardsID("2", 1);
  EXPECT_EQ(subCards(two), ids({two})) << "top level: itself";
  EXPECT_FALSE(lockHeld("CardAcc"));
}

TEST_P(ModuleAccTest, WalksStopTwelveLevelsBelowOrWhereAnAccountIsItsOwnAncestor) {
  QStringList chain{"L0"};
  add("L0");
  for (int level = 1; level < 14; ++level) {
    chain << QStringLiteral("L%1").arg(level);
    add(chain.last(), chain[level - 1]);
  }
  EXPECT_EQ(DescendantListNumbers(1, "L0"), chain.mid(0, 13));
  EXPECT_EQ(DescendantListNumbers(1, "L1"), chain.mid(1, 13));
  EXPECT_EQ(DescendantNos(1, "L0"), chain.mid(1).join("','") + "','") << "no limit";
  EXPECT_EQ(AncestorList("L13", 1).count(','), 12);

  // An account that is its own ancestor ends every walk.
  const qint64 x = add("X", "Y");
  const qint64 y = add("Y", "X");
  const qint64 z = add("Z", "X");

  EXPECT_EQ(AncestorList("Z", 1), "'X','Y'");
  EXPECT_EQ(DescendantNos(1, "X"), "Y','Z','X','");
  EXPECT_EQ(DescendantIDs(1, "X"), ids({x, y, z}));
  EXPECT_TRUE(DescendantListNumbers(1, "X").contains("Z"));

  UpdateSubCardsID("Z", 1);
  EXPECT_EQ(subCards(x), ids({x, y, z}));
  EXPECT_EQ(subCards(y), ids({x, y, z}));
  markAllUntouched();
  RefreshParentSubCards(1, {});  // X is the one parent; its ancestor is Y
  EXPECT_EQ(subCards(y), ids({x, y, z}));
  EXPECT_EQ(subCards(x), kUntouched);
  EXPECT_FALSE(lockHeld("CardAcc"));
}

TEST_P(ModuleAccTest, BranchRefreshLeavesWhatTheParentLoopLeaves) {
  {
    Transaction transaction(MainConnection());
    addGeneratedTree(1, 320);
    addGeneratedTree(2, 40);
    transaction.commit();
  }
  // What the journal import ran after its entries: UpdateSubCardsID for
  // every parent account of the branch.
  markAllUntouched();
  Recordset fathers;
  fathers.open("SELECT AccNo FROM CardAcc WHERE Haves > 0 AND BranchID = 1", MainConnection());
  for (; !fathers.eof(); fathers.moveNext()) UpdateSubCardsID(fathers.text("AccNo"), 1);
  const QStringList byLoop = allSubCards();

  markAllUntouched();
  std::vector<std::pair<int, int>> calls;
  RefreshParentSubCards(1, [&](int done, int total) { calls.emplace_back(done, total); });
  EXPECT_EQ(allSubCards(), byLoop);

  const int parents = LookupValue("CardAcc", "COUNT(*)", "Haves > 0 AND BranchID = 1").toInt();
  ASSERT_EQ(static_cast<int>(calls.size()), parents);
  for (int i = 0; i < parents; ++i) EXPECT_EQ(calls[i], std::make_pair(i + 1, parents));
  const auto untouched = byLoop.filter("|" + kUntouched).size();
  EXPECT_GT(untouched, 40) << "leaves, lowest parents and branch 2 keep their value";
  EXPECT_LT(untouched, 360);
  EXPECT_FALSE(lockHeld("CardAcc"));
}

TEST_P(ModuleAccTest, LockIsFreeAfterAnError) {
  add("1");
  add("11", "1");
  add("111", "11");
  markAllUntouched();

  EXPECT_THROW(RefreshParentSubCards(1,
                                     [](int done, int) {
                                       if (done == 2) throw std::runtime_error("stopped");
                                     }),
               std::runtime_error);
  EXPECT_FALSE(lockHeld("CardAcc"));
  EXPECT_EQ(count("SELECT COUNT(*) FROM CardAcc WHERE SubCardsID <> 'untouched'"), 0)
      << "rolled back";

  MainConnection().execute("ALTER TABLE CardAcc RENAME COLUMN SubCardsID TO SubCardsText");
  EXPECT_THROW(UpdateSubCardsID("111", 1), DbError);
  EXPECT_FALSE(lockHeld("CardAcc"));
  EXPECT_THROW(RefreshParentSubCards(1, {}), DbError);
  EXPECT_FALSE(lockHeld("CardAcc"));
}

INSTANTIATE_TEST_SUITE_P(Engines, ModuleAccTest, ::testing::ValuesIn(kEngines), EngineParamName());

}  // namespace
}  // namespace qalvoro::test
