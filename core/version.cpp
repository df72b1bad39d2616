#include "version.h"

#include "velmorandi_version.h"

#include <cstdio>

namespace velmorandi {

std::string formatVersion(int major, int minor, int revision) {
    char text[64];
    std::snprintf(text, sizeof text, "%d.%d.%03d.1", major, minor, revision);
    return text;
}

std::string GetVersion() {
    return formatVersion(versionMajor(), versionMinor(), versionRevision());
}

int versionMajor() {
    return VELMORANDI_VERSION_MAJOR;
}
int versionMinor() {
    return VELMORANDI_VERSION_MINOR;
}
int versionRevision() {
    return VELMORANDI_VERSION_REVISION;
}

} // namespace velmorandi
