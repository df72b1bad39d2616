#include "row_order.h"

#include "name_index.h"
#include "platform/background_task.h"
#include "platform/file_facts.h"
#include "platform/natural_order.h"

#include <algorithm>
#include <string_view>
#include <unordered_map>

namespace velmorandi {

namespace {

struct Keyed {
    std::uint64_t key;
    std::uint32_t rank; // in name order
    std::uint32_t row;
};

// Extensions as the listing orders names, letter case ignored: each row gets
// the place of its extension among the folder's few distinct ones.
std::vector<std::uint64_t> typePlaces(const RenameList& list) {
    std::unordered_map<std::string, std::uint32_t> distinct;
    std::vector<std::uint32_t> kinds(list.size());
    std::string folded;
    for (std::size_t i = 0; i < list.size(); ++i) {
        const std::string_view extension = list.row(i).extension();
        folded.assign(extension);
        for (char& c : folded)
            if (c >= 'A' && c <= 'Z')
                c = static_cast<char>(c - 'A' + 'a');
        kinds[i] = distinct.try_emplace(folded, std::uint32_t(distinct.size())).first->second;
    }
    std::vector<std::string_view> names(distinct.size());
    for (const auto& [name, kind] : distinct)
        names[kind] = name;
    const std::vector<std::uint32_t> sorted = naturalOrder(names, Cores::One);
    std::vector<std::uint64_t> placeOfKind(sorted.size());
    for (std::size_t place = 0; place < sorted.size(); ++place)
        placeOfKind[sorted[place]] = place;
    std::vector<std::uint64_t> places(list.size());
    for (std::size_t i = 0; i < list.size(); ++i)
        places[i] = placeOfKind[kinds[i]];
    return places;
}

// A call per file, each looking its name up in the folder: half of them on the other core.
void askFileByFile(const platform::FolderHandle& folder, const RenameList& list,
                   std::span<platform::FileFacts> facts) {
    const auto ask = [&](std::size_t from, std::size_t to) {
        for (std::size_t i = from; i < to; ++i)
            facts[i] = platform::factsOf(folder, list.row(i).listedName());
    };
    const std::size_t half = list.size() / 2;
    platform::BackgroundTask other;
    // Where no thread can be had, wait() asks for the second half itself.
    other.start([&] { ask(half, list.size()); });
    ask(0, half);
    other.wait();
}

// Signed times as unsigned keys in the same order.
std::uint64_t timeKey(std::int64_t time) {
    return static_cast<std::uint64_t>(time) ^ (std::uint64_t{1} << 63);
}

} // namespace

std::vector<std::uint32_t> rowsInOrder(const RenameList& list, RowOrder order,
                                       std::span<const platform::FileFacts> facts) {
    const bool byFacts = needsFacts(order);
    const std::vector<std::uint64_t> types =
        order.key == RowOrder::Key::Type ? typePlaces(list) : std::vector<std::uint64_t>();
    std::vector<Keyed> known;
    std::vector<Keyed> unknown;
    known.reserve(list.size());
    for (std::uint32_t row = 0; row < list.size(); ++row) {
        const std::uint32_t rank = list.nameRank(row);
        std::uint64_t key = 0;
        if (byFacts) {
            if (row >= facts.size() || !facts[row].known()) {
                unknown.push_back({0, rank, row});
                continue;
            }
            key = order.key == RowOrder::Key::Size ? facts[row].size : timeKey(facts[row].modified);
        } else if (order.key == RowOrder::Key::Type) {
            key = types[row];
        } else {
            key = rank;
        }
        known.push_back({order.descending ? ~key : key, rank, row});
    }
    const auto before = [](const Keyed& a, const Keyed& b) {
        return a.key != b.key ? a.key < b.key : a.rank < b.rank;
    };
    std::sort(known.begin(), known.end(), before);
    std::sort(unknown.begin(), unknown.end(), before);
    std::vector<std::uint32_t> rows;
    rows.reserve(list.size());
    for (const auto* part : {&known, &unknown})
        for (const Keyed& keyed : *part)
            rows.push_back(keyed.row);
    return rows;
}

std::vector<platform::FileFacts> readFileFacts(const std::string& folder, const RenameList& list) {
    std::vector<platform::FileFacts> facts(list.size());
    platform::FolderHandle handle;
    if (handle.open(folder))
        return facts;
    if (!platform::listingCarriesFacts()) {
        askFileByFile(handle, list, facts);
        return facts;
    }
    // One read of the folder, each entry matched to its row by name.
    NameIndex rows(list.size(), [&list](std::uint32_t i) { return list.row(i).listedName(); });
    rows.assignAll(list.size());
    const std::optional<SystemError> error = handle.forEachEntry(
        [&](const platform::EntryView& entry) {
            if (entry.isFolder)
                return;
            if (const std::uint32_t row = rows.find(entry.name); row != rows.kNone)
                facts[row] = entry.facts;
        },
        platform::EntryKinds::Unresolved);
    if (error)
        facts.assign(list.size(), {});
    return facts;
}

} // namespace velmorandi
