#include "run/new_names.h"

#include "folder_listing.h"
#include "name_index.h"
#include "platform/natural_order.h"
#include "protected_files.h"
#include "rename_list.h"
#include "run/entry_batch.h"

#include <string_view>

namespace velmorandi {
namespace {

// A row's new name, for an index over the rows: 8 bytes a slot, as it lives
// beside the run's own memory.
struct NewNameOf {
    const RenameList* rows;
    std::string_view operator()(std::uint32_t row) const { return rows->row(row).editedName(); }
};
using NewNameIndex = NameIndex<NewNameOf>;

} // namespace

NewNamesOrder orderNewNames(const RenameList& rows, const std::string& folder) {
    NewNamesOrder made;
    std::vector<std::string_view> names;
    names.reserve(rows.size());
    for (const RenameRow row : rows.rows())
        names.push_back(row.editedName());
    made.order = naturalOrder(names, Cores::One);
    made.protectedFileListed = !CheckProtectedFiles(folder, rows);
    return made;
}

bool folderHoldsNewNames(const std::string& folder, const RenameList& rows) {
    NewNameIndex newNames(rows.size(), NewNameOf{&rows});
    std::vector<std::uint32_t> firsts(rows.size());
    newNames.insertAll(firsts);
    platform::FolderHandle handle;
    if (handle.open(folder))
        return false;
    std::size_t files = 0;
    bool stranger = false;
    std::uint32_t places[EntryBatch::kSize];
    EntryBatch batch([&](std::span<const platform::EntryView> entries) {
        findEntries(newNames, entries, places);
        for (std::size_t i = 0; i < entries.size(); ++i)
            stranger = stranger || places[i] == NewNameIndex::kNone;
    });
    const auto seeEntry = [&](const platform::EntryView& entry) {
        if (entry.isFolder || !isShown(entry.name, entry.hidden))
            return;
        ++files;
        batch.add(entry);
    };
    if (handle.forEachEntry(seeEntry, platform::EntryKinds::Resolved))
        return false;
    batch.finish();
    return !stranger && files == rows.size();
}

} // namespace velmorandi
