#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace velmorandi {

class RenameList;

using EnvironmentLookup = std::function<std::optional<std::string>(const char* name)>;
std::optional<std::string> systemEnvironment(const char* name);

// True when no listed file is protected.
bool CheckProtectedFiles(std::string_view folder, const RenameList& list,
                         const EnvironmentLookup& environment = systemEnvironment);

} // namespace velmorandi
