#include "bench.h"

int main() {
    velmorandi::bench::runRenameListBench();
    velmorandi::bench::runDiskBench();
    return 0;
}
