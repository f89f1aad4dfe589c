#pragma once

#include <QString>
#include <stdexcept>

namespace qalvoro {

// An error raised by a database operation: a number and a description, shown
// to the user as "Err:" + number + line feed + description.
class DbError : public std::runtime_error {
 public:
  DbError(long number, const QString& description);

  long number() const { return number_; }
  const QString& description() const { return description_; }

 private:
  long number_;
  QString description_;
};

// Error numbers of the classic data-access libraries, kept so that messages
// read as users of the old products know them.
namespace dberr {
constexpr long kUnspecified = -2147467259;  // 0x80004005, provider error
constexpr long kOverflow = 6;
constexpr long kTypeMismatch = 13;
constexpr long kItemNotFound = 3265;     // unknown field name
constexpr long kNoCurrentRecord = 3021;  // BOF, EOF or deleted row
constexpr long kObjectClosed = 3704;     // operation on a closed object
constexpr long kBadCriterion = 3001;     // criterion or argument malformed
constexpr long kNotUpdatable = 3251;     // write through a read-only recordset
}  // namespace dberr

}  // namespace qalvoro
