#pragma once

#include <string>

namespace velmorandi {

// Major.Minor.Revision (at least three digits).1, e.g. 2.10.007.1
std::string formatVersion(int major, int minor, int revision);

// The version text of this build.
std::string GetVersion();

int versionMajor();
int versionMinor();
int versionRevision();

} // namespace velmorandi
