#include <gtest/gtest.h>

#include <QDate>
#include <algorithm>
#include <random>
#include <vector>

#include "host/db/Criterion.h"
#include "host/db/DbError.h"
#include "host/db/RowSequence.h"

namespace qalvoro::test {
namespace {

// Rows of (Name, No, Day, Flag) for criteria to match.
class CriterionTest : public ::testing::Test {
 protected:
  bool matches(const QString& text, const std::vector<QVariant>& row) {
    Criterion criterion(text);
    criterion.bind([](const QString& name) {
      const QStringList names{"Name", "No", "Day", "Flag"};
      for (int i = 0; i < names.size(); ++i) {
        if (names[i].compare(name, Qt::CaseInsensitive) == 0) return i;
      }
      throw DbError(dberr::kItemNotFound, name);
    });
    return criterion.matches(row);
  }
  const std::vector<QVariant> row{QStringLiteral("O'Hara Trading"), 123,
                                  QStringLiteral("2024/03/05"), 1};
};

TEST_F(CriterionTest, ComparesLikeTheClassicEngines) {
  EXPECT_TRUE(matches("Name = 'o''hara trading'", row)) << "case-insensitive, '' is a quote";
  EXPECT_TRUE(matches("No = 123", row));
  EXPECT_TRUE(matches("No = '123.0'", row)) << "a number column against text holding a number";
  EXPECT_FALSE(matches("No <> 123", row));
  EXPECT_TRUE(matches("no >= 100 and No < 124.5", row));
  EXPECT_TRUE(matches("Day = #2024/03/05#", row)) << "dates stored as text";
  EXPECT_TRUE(matches("Day > #2024-03-04# AND Day < #3/6/2024#", row));
  EXPECT_TRUE(matches("Flag = True", row)) << "1 is a yes";
  EXPECT_FALSE(matches("Flag = False", row));
  EXPECT_TRUE(matches("Name LIKE 'o*trad%'", row));
  EXPECT_TRUE(matches("Name LIKE '?''HARA*'", row));
  EXPECT_TRUE(matches("Name NOT LIKE 'x*'", row));
  EXPECT_TRUE(matches("[Name] = \"O'Hara Trading\"", row));
  EXPECT_TRUE(matches("No = -5 OR No = 123", row));
  EXPECT_FALSE(matches("NOT (No = 123 OR No = 1) AND Flag = True", row));
  EXPECT_TRUE(matches("No = 1 OR No = 123 AND Flag = 1", row)) << "AND binds tighter";
  EXPECT_FALSE(matches("(No = 1 OR No = 123) AND Flag = 0", row));
}

TEST_F(CriterionTest, NullMatchesOnlyIsNull) {
  const std::vector<QVariant> empty{QVariant(), QVariant(), QVariant(), QVariant()};
  EXPECT_TRUE(matches("Name Is Null", empty));
  EXPECT_FALSE(matches("Name Is Not Null", empty));
  EXPECT_FALSE(matches("Name = ''", empty));
  EXPECT_FALSE(matches("Name <> 'x'", empty));
  EXPECT_FALSE(matches("Name LIKE '*'", empty));
  EXPECT_TRUE(matches("Name = ''", {QStringLiteral(""), 0, QVariant(), 0}));
  EXPECT_TRUE(matches("Name Is Not Null", {QStringLiteral(""), 0, QVariant(), 0}));
}

TEST_F(CriterionTest, MalformedCriteriaRaiseBadCriterion) {
  for (const char* bad : {"Name =", "Name = 'open", "= 5", "Name 5", "(No = 1", "No = 1)",
                          "No = 1 AND", "Name Is 5", "Day = #yesterday#", "No = 1 2", ""}) {
    try {
      matches(QString::fromUtf8(bad), row);
      ADD_FAILURE() << "accepted: " << bad;
    } catch (const DbError& error) {
      EXPECT_EQ(error.number(), dberr::kBadCriterion) << bad;
    }
  }
}

TEST(RowSequenceTest, FollowsAPlainListThroughRandomEdits) {
  RowSequence sequence;
  std::vector<int> model;
  std::mt19937 random(7);
  int nextId = 0;
  std::vector<int> freeIds;
  for (int step = 0; step < 4000; ++step) {
    if (model.empty() || random() % 3 != 0) {
      int id = nextId;
      if (!freeIds.empty()) {
        id = freeIds.back();
        freeIds.pop_back();
      } else {
        ++nextId;
      }
      const int position = static_cast<int>(random() % (model.size() + 1));
      sequence.insertAt(position, id);
      model.insert(model.begin() + position, id);
    } else {
      const int position = static_cast<int>(random() % model.size());
      sequence.erase(model[position]);
      freeIds.push_back(model[position]);
      model.erase(model.begin() + position);
    }
    if (step % 97 != 0) continue;
    ASSERT_EQ(sequence.size(), static_cast<int>(model.size()));
    int position = 0;
    for (int id = sequence.first(); id != RowSequence::kNone; id = sequence.next(id)) {
      ASSERT_EQ(id, model[position]);
      ASSERT_EQ(sequence.positionOf(id), position);
      ASSERT_EQ(sequence.at(position), id);
      ++position;
    }
    ASSERT_EQ(position, static_cast<int>(model.size()));
    if (!model.empty()) {
      EXPECT_EQ(sequence.last(), model.back());
      EXPECT_EQ(sequence.previous(model.front()), RowSequence::kNone);
      EXPECT_EQ(sequence.previous(model.back()),
                model.size() > 1 ? model[model.size() - 2] : RowSequence::kNone);
    }
  }
}

}  // namespace
}  // namespace qalvoro::test
