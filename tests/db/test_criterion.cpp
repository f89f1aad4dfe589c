#include <gtest/gtest.h>

#include <vector>

#include "host/db/Criterion.h"
#include "host/db/DbError.h"

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
  const std::vector<QVariant> nulls{QVariant(), QVariant(), QVariant(), QVariant()};
  const std::vector<QVariant> empty{QStringLiteral(""), 0, QVariant(), 0};
  for (const char* never : {"Name Is Not Null", "Name = ''", "Name <> 'x'", "Name LIKE '*'"}) {
    EXPECT_FALSE(matches(never, nulls)) << never;
  }
  EXPECT_TRUE(matches("Name Is Null", nulls));
  EXPECT_TRUE(matches("Name = ''", empty) && matches("Name Is Not Null", empty));
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

}  // namespace
}  // namespace qalvoro::test
