// The table-lock protocol between two processes on one version-2 database:
// this process holds or frees a lock, lock_probe asks for it.

#include <QElapsedTimer>
#include <QProcess>
#include <QThread>

#include "host/helpers/DbHelpers.h"
#include "tests/helpers/HelpersTest.h"

namespace qalvoro::test {
namespace {

using namespace std::chrono_literals;

// One run of lock_probe, started at once.
class Probe {
 public:
  enum class Clock { Real, Scripted };

  Probe(const QString& connectionString, const QString& lock, Clock clock) {
    QStringList arguments;
    if (clock == Clock::Scripted) arguments << QStringLiteral("--scripted-clock");
    arguments << connectionString << lock;
    process_.start(QStringLiteral(LOCK_PROBE), arguments);
  }
  ~Probe() {
    if (process_.state() == QProcess::NotRunning) return;
    process_.kill();
    process_.waitForFinished();
  }
  Probe(const Probe&) = delete;
  Probe& operator=(const Probe&) = delete;

  // Waits for the probe; the milliseconds it waited for the lock.
  std::chrono::milliseconds waited() {
    EXPECT_TRUE(process_.waitForFinished(60'000)) << "lock_probe did not finish";
    EXPECT_EQ(process_.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(process_.exitCode(), 0) << process_.readAllStandardError().toStdString();
    bool isNumber = false;
    const qint64 milliseconds = process_.readAllStandardOutput().trimmed().toLongLong(&isNumber);
    EXPECT_TRUE(isNumber);
    return std::chrono::milliseconds{milliseconds};
  }

 private:
  QProcess process_;
};

class LockProtocolTest : public HelpersTest {};

TEST_P(LockProtocolTest, ProbeTakesOverAHeldLockAfterFifteenSeconds) {
  SetTableLock("Lock", "Customer");
  Probe probe(target().connectionString(), "Customer", Probe::Clock::Scripted);
  const auto waited = probe.waited();
  EXPECT_GT(waited, 15s);
  EXPECT_LT(waited, 16s);
  EXPECT_TRUE(lockHeld("Customer"));
  EXPECT_FALSE(lockHeld("Sales"));
}

INSTANTIATE_TEST_SUITE_P(Engines, LockProtocolTest, ::testing::ValuesIn(kEngines),
                         EngineParamName());

// Fifteen seconds on the real clock: once, on the default engine.
class LockProtocolRealClockTest : public HelpersTest {};

TEST_P(LockProtocolRealClockTest, ProbeTakesOverAHeldLockAfterFifteenSeconds) {
  SetTableLock("Lock", "Sales");
  QElapsedTimer clock;
  clock.start();
  Probe probe(target().connectionString(), "Sales", Probe::Clock::Real);
  const auto waited = probe.waited();
  EXPECT_GT(waited, 15s);
  EXPECT_LT(waited, 18s);
  EXPECT_GE(clock.elapsed(), 15'000);
  EXPECT_TRUE(lockHeld("Sales"));
}

INSTANTIATE_TEST_SUITE_P(DefaultEngine, LockProtocolRealClockTest,
                         ::testing::Values(Engine::SQLite), EngineParamName());

}  // namespace
}  // namespace qalvoro::test
