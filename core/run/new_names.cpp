#include "run/new_names.h"

#include "folder_listing.h"
#include "name_index.h"
#include "platform/natural_order.h"
#include "protected_files.h"
#include "rename_list.h"
#include "run/entry_batch.h"

#include <numeric>
#include <string_view>

namespace velmorandi {
namespace {

// A row's new name, for an index over the rows that lives beside the run's
// own memory.
struct NewNameOf {
    const RenameList* rows;
    std::string_view operator()(std::uint32_t row) const { return rows->row(row).editedName(); }
};
using NewNameIndex = NameIndex<NewNameOf>;

} // namespace

NewNamesOrder orderNewNames(const RenameList& rows, const std::string& folder) {
    NewNamesOrder made;
    const auto newName = [&rows](std::size_t row) { return rows.row(row).editedName(); };
    // Most edits keep the order: then no key is made and nothing sorted.
    if (inNaturalOrder(rows.size(), newName)) {
        made.order.resize(rows.size());
        std::iota(made.order.begin(), made.order.end(), 0u);
    } else {
        std::vector<std::string_view> names;
        names.reserve(rows.size());
        for (const RenameRow row : rows.rows())
            names.push_back(row.editedName());
        made.order = naturalOrder(names, Cores::One);
    }
    made.protectedFileListed = !CheckProtectedFiles(folder, rows);
    return made;
}

bool folderHoldsNewNames(const std::string& folder, const RenameList& rows, const Disk& disk) {
    NewNameIndex newNames(rows.size(), NewNameOf{&rows});
    platform::FolderHandle handle;
    if (disk.open(handle, folder))
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
    // The index is made while the system begins to read the folder.
    const auto index = [&] { newNames.assignAll(rows.size()); };
    if (disk.forEachEntry(handle, seeEntry, platform::EntryKinds::Resolved, index))
        return false;
    batch.finish();
    return !stranger && files == rows.size();
}

} // namespace velmorandi
