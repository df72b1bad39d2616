#pragma once

#include <string>
#include <string_view>
#include <vector>

// Joining, splitting and comparing the paths of the platform. The window code
// uses these too, so the guard, the drive list and the start folder agree.
namespace velmorandi {

// folder + separator + name, with exactly one separator between them.
std::string JoinPath(std::string_view folder, std::string_view name);

// The path as the platform writes it: on Windows every "/" becomes "\" and a
// bare drive "C:" becomes its root "C:\"; elsewhere the path is unchanged.
std::string nativePath(std::string_view path);

// True when folder is root itself or lies somewhere below it. On Windows the
// letter case and the kind of separator do not count.
bool liesUnder(std::string_view folder, std::string_view root);

// The names of the folders below root down to folder, outermost first; empty
// when folder is root or does not lie under it.
std::vector<std::string> namesBelow(std::string_view root, std::string_view folder);

// The root of the network share folder lies on ("\\server\share\" on Windows),
// which no drive stands for; empty for any other folder.
std::string shareRoot(std::string_view folder);

// The process's current folder, exact (read as UTF-16 on Windows), or "" when
// it cannot be read.
std::string currentFolder();

} // namespace velmorandi
