// One IDE per user session: a lock file in the runtime folder. A lock left by a program
// that no longer runs counts as stale and is taken over.
#pragma once

#include <QLockFile>
#include <QString>

namespace zarvek::ide {

class TSingleInstance {
 public:
  explicit TSingleInstance(const QString& lockPath);
  // True when this program is the only instance (it keeps the lock until it ends).
  bool Claim();
  // The lock file in the user's runtime folder (the temporary folder where there is none).
  static QString DefaultLockPath();

 private:
  QLockFile m_lock;
};

}  // namespace zarvek::ide
