#include "file_name_rules.h"

namespace velmorandi {

bool fitsPlatformFileName(std::string_view name) { return fitsWindowsFileName(name); }

} // namespace velmorandi
