#pragma once

#include <QString>
#include <QStringList>
#include <chrono>
#include <cstdint>

namespace qalvoro {

// Makes the working copy of a version-1 file by running the converter program
// (qalvoro-v1convert) in a child process, so that a damaged file that makes
// the reader crash, loop or eat memory cannot harm the caller. The child runs
// under a wall-clock limit and an address-space limit.
class V1Converter {
 public:
  static constexpr std::chrono::milliseconds kDefaultTimeLimit = std::chrono::minutes(10);
  static constexpr std::uint64_t kDefaultMemoryLimit = std::uint64_t(2) << 30;  // 2 GiB

  // The program found beside the running one.
  static QString defaultProgram();

  void setProgram(const QString& program) { program_ = program; }
  void setTimeLimit(std::chrono::milliseconds limit) { timeLimit_ = limit; }
  void setMemoryLimit(std::uint64_t bytes) { memoryLimit_ = bytes; }
  // Code page of Jet 3 text (1256, 864 or 1252); 0 lets the file decide.
  void setCodePage(int codePage) { codePage_ = codePage; }
  // Lenient: copies what can be read safely of a damaged file, leaving
  // damaged tables and rows out, instead of refusing it. The limits stay.
  void setLenient(bool lenient) { lenient_ = lenient; }

  // Converts source into target, replacing it, and returns what a lenient
  // conversion left out (one line per part of the file; empty otherwise).
  // Throws DbError with the converter's error number and description; a
  // crash of the converter is reported as a damaged file (3049), a time-out
  // as "Timeout expired". After any failure neither the target nor an
  // unfinished copy of it remains.
  QStringList convert(const QString& source, const QString& target) const;

 private:
  QString program_;
  std::chrono::milliseconds timeLimit_ = kDefaultTimeLimit;
  std::uint64_t memoryLimit_ = kDefaultMemoryLimit;
  int codePage_ = 0;
  bool lenient_ = false;
};

}  // namespace qalvoro
