#pragma once

#include "run/run_testing.h"

#include <chrono>
#include <functional>
#include <optional>
#include <string_view>
#include <thread>

namespace velmorandi::test {

// Runs whose every rename of a file takes this long, so that their progress
// window shows and a test has time to act on it.
inline RunTesting slowSteps(std::chrono::milliseconds step) {
    RunTesting testing;
    testing.seam = [step](DiskCall call, std::string_view, std::string_view,
                          const std::function<std::optional<SystemError>()>& perform) {
        if (call == DiskCall::Rename || call == DiskCall::Exchange)
            std::this_thread::sleep_for(step);
        return perform();
    };
    return testing;
}

} // namespace velmorandi::test
