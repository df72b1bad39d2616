#include "main/mount_watch.h"

namespace velmorandi {

MountWatch::MountWatch(QObject* parent) : QObject(parent) {}

MountWatch::~MountWatch() = default;

} // namespace velmorandi
