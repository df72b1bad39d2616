#pragma once

#include <QString>

#include <memory>

class QLockFile;

namespace velmorandi {

// One running instance per user and machine: a lock file in a folder only this
// user may enter, held for the life of this object. A lock left by a process
// that has died does not count.
class SingleInstance {
  public:
    SingleInstance();
    ~SingleInstance();

    // False when another live instance holds the lock. Without a private
    // folder, or when the lock cannot be written, the program starts rather
    // than refuse, and leaves no file anywhere else.
    bool acquire();

    // Empty when there is no private folder to hold the lock.
    QString lockPath() const;
    // The private folder the lock lies in; empty when there is none.
    QString folder() const;
    // True once acquire() has taken the lock: this is the one instance running.
    bool holdsLock() const;

  private:
    std::unique_ptr<QLockFile> m_lock;
};

} // namespace velmorandi
