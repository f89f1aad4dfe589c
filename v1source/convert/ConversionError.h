#pragma once

#include <QString>
#include <stdexcept>

namespace qalvoro::v1 {

// Error numbers of the Jet engine, kept so that a failed conversion reads as
// users of the version-1 products know it.
namespace converr {
constexpr long kFileNotFound = 3024;
constexpr long kResourceExceeded = 3035;
constexpr long kDiskError = 3043;
constexpr long kInvalidPath = 3044;
constexpr long kDamagedFile = 3049;
constexpr long kCannotOpenFile = 3051;
constexpr long kUnrecognizedFormat = 3343;
}  // namespace converr

// A failed conversion: an error number and the description shown to the user.
class ConversionError : public std::runtime_error {
 public:
  ConversionError(long number, const QString& description);

  long number() const { return number_; }
  const QString& description() const { return description_; }

 private:
  long number_;
  QString description_;
};

// A problem found while reading one structure of a Jet file (the catalogue, a
// table, a long value): damage, or a column type that is not converted. The
// reason says what is wrong; the converter adds the file and the table.
class ReadError : public std::runtime_error {
 public:
  explicit ReadError(const QString& reason, long number = converr::kDamagedFile);

  long number() const { return number_; }
  const QString& reason() const { return reason_; }

 private:
  long number_;
  QString reason_;
};

// How a reading meets damage: Refuse throws the ReadError on, so that the
// file is refused; LeaveOut passes the damaged part (a row, a page) by and
// keeps the first problem met, so that the rest can still be read.
class Damage {
 public:
  enum Handling { Refuse, LeaveOut };

  explicit Damage(Handling handling) : handling_(handling) {}

  bool refuses() const { return handling_ == Refuse; }
  // Throws error when refusing; otherwise notes it and returns.
  void meet(const ReadError& error);
  bool leftOut() const { return !firstProblem_.isEmpty(); }
  // What was wrong with the first part left out.
  const QString& firstProblem() const { return firstProblem_; }

 private:
  Handling handling_;
  QString firstProblem_;
};

// The description of a damaged file, followed by where and what:
// "... damaged ...: table 'Gaid': usage map is missing."
QString damagedFileMessage(const QString& path, const QString& where, const QString& reason);

// What a lenient conversion left out, one line per part of the file:
// "Table 'Gaid': 117 rows copied, its definition counts 120 (a row is cut
// short)." (without the parenthesis when no problem was met, only rows
// missed) or "Table 'Gaid' left out (usage map is missing).".
QString leftOutRowsMessage(const QString& where, quint64 copied, quint64 counted,
                           const QString& problem);
QString leftOutMessage(const QString& what, const QString& problem);

}  // namespace qalvoro::v1
