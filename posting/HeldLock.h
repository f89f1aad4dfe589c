#pragma once

#include <QString>

namespace qalvoro {

// A table lock of LockTables taken for one save or removal. The lock is
// given back when the work is done; a lock given back inside a transaction
// is given back again when the transaction is rolled back, which undoes it.
class HeldLock {
 public:
  explicit HeldLock(QString name);
  ~HeldLock();
  HeldLock(const HeldLock&) = delete;
  HeldLock& operator=(const HeldLock&) = delete;

  // Gives the lock back inside the transaction: final once it commits.
  void releaseInTransaction();
  void transactionCommitted() { released_ = true; }
  // Gives the lock back after the work.
  void release();

 private:
  QString name_;
  bool released_ = false;
};

}  // namespace qalvoro
