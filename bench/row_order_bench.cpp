#include "bench.h"

#include "edit_history.h"
#include "row_order.h"

#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <string>
#include <string_view>
#include <unistd.h>
#include <vector>

namespace velmorandi::bench {

namespace {

constexpr int kRuns = 3;

// Files of many sizes, without writing their bytes.
std::vector<std::string> sizedFiles(const std::string& folder, std::size_t count) {
    const int handle = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    std::vector<std::string> names;
    names.reserve(count);
    char name[64];
    for (std::size_t i = 0; i < count; ++i) {
        std::snprintf(name, sizeof name, "Photo_%010zu.jpg", i);
        const int file = ::openat(handle, name, O_WRONLY | O_CREAT | O_EXCL, 0644);
        if (file < 0 || ::ftruncate(file, static_cast<off_t>((i * 7919) % 100'003)) != 0) {
            std::perror(name);
            std::exit(1);
        }
        ::close(file);
        names.emplace_back(name);
    }
    ::close(handle);
    return names;
}

// The first order by size as the window makes it: the sizes read (a worker's
// part), the rows put in order, the list rearranged and the step kept; then
// what the list and the step keep besides.
void measureFirstOrder(std::size_t count) {
    const std::string folder = makeDiskFolder("order");
    const std::vector<std::string> names = sizedFiles(folder, count);
    RenameList list;
    EditHistory history;
    const RowOrder bySize{RowOrder::Key::Size, false};
    std::vector<platform::FileFacts> facts;
    std::vector<std::uint32_t> rows;
    const auto fresh = [&] {
        list.load(names);
        list.rewriteEditedBases([](std::string_view base, std::size_t) { return base; });
        history.clear();
    };
    const double readMs = medianMs(kRuns, fresh, [&] { facts = readFileFacts(folder, list); });
    const double sortMs = medianMs(
        kRuns, [] {}, [&] { rows = rowsInOrder(list, bySize, facts); });
    const double moveMs = medianMs(
        kRuns,
        [&] {
            fresh();
            list.setFileFacts(facts);
        },
        [&] {
            history.recordOrder(list.order(), rows);
            list.reorder(rows, bySize);
        });
    const double typeMs = medianMs(
        kRuns, [] {},
        [&] {
            rows = rowsInOrder(list, {RowOrder::Key::Type, false}, {});
        });
    const double nameMs = medianMs(
        kRuns, [] {},
        [&] {
            rows = rowsInOrder(list, {RowOrder::Key::Name, true}, {});
        });
    const double undoMs = medianMs(
        kRuns,
        [&] {
            if (!history.canUndo())
                history.redo(list);
        },
        [&] { history.undo(list); });
    const double keptMb = static_cast<double>(count) *
                          (sizeof(platform::FileFacts) + sizeof(std::uint32_t)) / (1 << 20);
    const double stepMb = static_cast<double>(history.bytes()) / (1 << 20);
    std::printf("BENCH first-order-by-size n=%zu read-facts-ms=%.1f sort-ms=%.1f "
                "rearrange-ms=%.1f type-sort-ms=%.1f name-desc-sort-ms=%.1f undo-ms=%.1f "
                "kept-mb=%.1f step-mb=%.1f\n",
                count, readMs, sortMs, moveMs, typeMs, nameMs, undoMs, keptMb, stepMb);
    std::fflush(stdout);
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
}

} // namespace

void runRowOrderBench() {
    for (std::size_t count : {std::size_t{100000}, std::size_t{1000000}})
        measureFirstOrder(count);
}

} // namespace velmorandi::bench
