#include "paths.h"

#include "platform/folder_access.h"
#include "platform/path_text.h"

namespace velmorandi {

std::string JoinPath(std::string_view folder, std::string_view name) {
    std::string path;
    path.reserve(folder.size() + 1 + name.size());
    path.append(folder);
    // A root folder already ends in a separator; nothing else is touched, so
    // network paths keep their leading double separator.
    if (folder.empty() || !platform::isPathSeparator(folder.back()))
        path.push_back(platform::pathSeparator());
    path.append(name);
    return path;
}

std::string nativePath(std::string_view path) {
    return platform::nativePath(path);
}

bool liesUnder(std::string_view folder, std::string_view root) {
    if (root.empty() || folder.size() < root.size() ||
        !platform::samePathText(folder.substr(0, root.size()), root))
        return false;
    return folder.size() == root.size() || platform::isPathSeparator(root.back()) ||
           platform::isPathSeparator(folder[root.size()]);
}

std::vector<std::string> namesBelow(std::string_view root, std::string_view folder) {
    std::vector<std::string> names;
    if (!liesUnder(folder, root))
        return names;
    std::size_t start = root.size();
    while (start < folder.size()) {
        while (start < folder.size() && platform::isPathSeparator(folder[start]))
            ++start;
        std::size_t end = start;
        while (end < folder.size() && !platform::isPathSeparator(folder[end]))
            ++end;
        if (end > start)
            names.emplace_back(folder.substr(start, end - start));
        start = end;
    }
    return names;
}

std::string shareRoot(std::string_view folder) {
    return platform::networkShareRoot(folder);
}

std::string currentFolder() {
    return platform::currentFolder();
}

} // namespace velmorandi
