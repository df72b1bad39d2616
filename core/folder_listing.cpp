#include "folder_listing.h"

#include "platform/file_system.h"
#include "platform/folder_access.h"
#include "platform/natural_order.h"
#include "temporary_names.h"

namespace velmorandi {

// A file left under a temporary name is shown: recovery runs before any folder
// is listed, so no run can still explain it, and hiding it would lose the file.
bool isShown(std::string_view name, bool hidden) {
    return !hidden || isTemporaryName(name);
}

namespace {

struct Span {
    std::size_t offset;
    std::size_t size;
};

// What a packed read keeps besides the shown files: the names a rename must not take.
struct Beside {
    std::vector<std::string> unshown;
    bool ignoresCase = false;
};

std::optional<SystemError> openAndRead(platform::FolderHandle& handle, const std::string& folder,
                                       const platform::EntryVisitor& visit) {
    if (auto error = handle.open(folder))
        return error;
    return handle.forEachEntry(visit, platform::EntryKinds::Resolved);
}

// One pass over the folder: shown files' names into one text, sub-folders as
// they are; where `keys` is given, the files' sort keys as they come.
[[nodiscard]] std::optional<SystemError>
readShown(const std::string& folder, const EntryReader& read, std::vector<char>& text,
          std::vector<Span>& files, std::vector<std::string>& subfolders,
          NaturalSortKeys* keys = nullptr, Beside* beside = nullptr) {
    platform::FolderHandle handle;
    std::optional<SystemError> error = read(handle, folder, [&](const platform::EntryView& entry) {
        if (!isShown(entry.name, entry.hidden)) {
            if (beside)
                beside->unshown.emplace_back(entry.name);
            return;
        }
        if (entry.isFolder) {
            subfolders.emplace_back(entry.name);
            return;
        }
        files.push_back({text.size(), entry.name.size()});
        text.insert(text.end(), entry.name.begin(), entry.name.end());
        if (keys)
            keys->add(entry.name);
    });
    if (!error && beside)
        beside->ignoresCase = platform::describeFileSystem(handle).ignoresCase;
    if (error) {
        text = {};
        files = {};
        subfolders = {};
    }
    return error;
}

std::vector<std::string_view> viewsOf(const std::vector<char>& text,
                                      const std::vector<Span>& spans) {
    std::vector<std::string_view> views;
    views.reserve(spans.size());
    for (const Span& span : spans)
        views.emplace_back(text.data() + span.offset, span.size);
    return views;
}

} // namespace

PackedContents ReadFolderPacked(const std::string& folder) {
    PackedContents contents;
    std::vector<Span> spans;
    NaturalSortKeys keys;
    Beside beside;
    contents.error =
        readShown(folder, openAndRead, contents.text, spans, contents.subfolders, &keys, &beside);
    if (contents.error)
        return contents;
    contents.unshown = std::move(beside.unshown);
    contents.ignoresCase = beside.ignoresCase;
    const std::vector<std::string_view> asRead = viewsOf(contents.text, spans);
    spans = {};
    contents.files.reserve(asRead.size());
    for (const std::uint32_t index : keys.order(asRead))
        contents.files.push_back(asRead[index]);
    sortNaturally(contents.subfolders);
    return contents;
}

namespace {

FolderContents readFolder(const std::string& folder, FileOrder fileOrder, const EntryReader& read) {
    FolderContents contents;
    std::vector<char> text;
    std::vector<Span> spans;
    contents.error = readShown(folder, read, text, spans, contents.subfolders);
    if (contents.error)
        return contents;
    contents.files.reserve(spans.size());
    for (const std::string_view name : viewsOf(text, spans))
        contents.files.emplace_back(name);
    if (fileOrder == FileOrder::Natural)
        sortNaturally(contents.files);
    sortNaturally(contents.subfolders);
    return contents;
}

} // namespace

FolderContents ReadFolder(const std::string& folder, FileOrder fileOrder) {
    return readFolder(folder, fileOrder, openAndRead);
}

FolderListing ListFolderFiles(const std::string& folder) {
    return ListFolderFiles(folder, openAndRead);
}

FolderListing ListFolderFiles(const std::string& folder, const EntryReader& read) {
    FolderContents contents = readFolder(folder, FileOrder::Natural, read);
    return {std::move(contents.files), std::move(contents.error)};
}

FolderListing ListSubfolders(const std::string& folder) {
    FolderContents contents = ReadFolder(folder);
    return {std::move(contents.subfolders), std::move(contents.error)};
}

} // namespace velmorandi
