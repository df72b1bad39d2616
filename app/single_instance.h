#pragma once

#include <QLockFile>
#include <QString>

namespace velmorandi {

// One running instance per user and machine: a lock file in the user's runtime
// folder, held for the life of this object. A lock left by a process that has
// died does not count.
class SingleInstance {
  public:
    SingleInstance();

    // False when another live instance holds the lock. A runtime folder that
    // cannot be used lets the program start rather than refuse it.
    bool acquire();

    QString lockPath() const { return m_lock.fileName(); }

  private:
    QLockFile m_lock;
};

} // namespace velmorandi
