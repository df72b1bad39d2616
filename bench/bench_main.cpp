#include "bench.h"

#include "platform/memory_policy.h"

#include <cstring>
#include <string>

// velmorandi_bench [list|order|disk|job|job-100k|net|net-ways]...: the chosen areas (order
// is the part of list that orders a folder's rows); when none is
// named, all but the network ones.
int main(int argc, char** argv) {
    using namespace velmorandi::bench;
    velmorandi::platform::returnLargeBlocksWhenFreed(); // as the program does
    if (argc == 4 && std::strcmp(argv[1], "--child") == 0)
        return runChildMeasure(argv[2], argv[3]);
    const auto named = [&](const char* area) {
        for (int i = 1; i < argc; ++i)
            if (std::strcmp(argv[i], area) == 0)
                return true;
        return false;
    };
    const auto chosen = [&](const char* area) { return argc == 1 || named(area); };
    if (chosen("list"))
        runRenameListBench();
    if (chosen("list") || named("order"))
        runRowOrderBench();
    if (chosen("disk"))
        runDiskBench();
    if (chosen("job"))
        runJobBench({100'000, 1'000'000});
    if (chosen("job-100k"))
        runJobBench({100'000});
    // Only when named: they need the mount bench/run sets up for them.
    if (named("net"))
        runNetBench();
    if (named("net-ways"))
        runNetWaysBench();
    return 0;
}
