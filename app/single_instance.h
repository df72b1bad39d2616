#pragma once

#include "platform/record_files.h"

#include <QString>

#include <memory>

class QLockFile;

namespace velmorandi {

// One running instance per user: a lock in the user's folder of records,
// which every start of this user finds whatever its runtime folder (su, ssh,
// cron, another machine on the same home), held for the life of this object
// and ended by the system with the process. On a network home the lock comes
// with a lease (platform/record_lease.h), as another machine cannot see the
// lock itself. Where that folder cannot be used, a lock file in a folder only
// this user may enter instead; no run, undo or recovery happens then, as the
// records cannot be kept.
class SingleInstance {
  public:
    SingleInstance();
    ~SingleInstance();

    // False when another live instance holds the lock. Without a folder for
    // it, or when the lock cannot be written, the program starts rather than
    // refuse, and leaves no file anywhere else.
    bool acquire();

    // Empty when there is no folder to hold the lock.
    QString lockPath() const;
    // The folder the lock lies in; empty when there is none.
    QString folder() const;
    // True once acquire() has taken the lock: this is the one instance running.
    bool holdsLock() const;

  private:
    bool acquireInRecords();

    platform::RecordFolder m_records;
    platform::RecordFile m_held;
    std::unique_ptr<QLockFile> m_lock;
};

} // namespace velmorandi
