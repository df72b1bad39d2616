#include "main/mount_watch.h"

#include <QSocketNotifier>

#include <fcntl.h>
#include <unistd.h>

namespace velmorandi {

// The kernel marks the mount table with POLLPRI each time it changes.
MountWatch::MountWatch(QObject* parent) : QObject(parent) {
    m_descriptor = ::open("/proc/self/mountinfo", O_RDONLY | O_CLOEXEC);
    if (m_descriptor < 0)
        return;
    auto* notifier = new QSocketNotifier(m_descriptor, QSocketNotifier::Exception, this);
    connect(notifier, &QSocketNotifier::activated, this, &MountWatch::changed);
}

MountWatch::~MountWatch() {
    if (m_descriptor >= 0)
        ::close(m_descriptor);
}

} // namespace velmorandi
