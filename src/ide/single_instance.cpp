#include "ide/single_instance.h"

#include <QDir>
#include <QStandardPaths>

namespace zarvek::ide {

TSingleInstance::TSingleInstance(const QString& lockPath) : m_lock(lockPath) {
  // No time limit: only a lock whose program has gone is stale, however old it is.
  m_lock.setStaleLockTime(0);
}

bool TSingleInstance::Claim() { return m_lock.tryLock(0); }

QString TSingleInstance::DefaultLockPath() {
  QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
  if (folder.isEmpty()) folder = QDir::tempPath();
  return QDir(folder).filePath(QStringLiteral("zarvek.lock"));
}

}  // namespace zarvek::ide
