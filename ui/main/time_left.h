#pragma once

#include <QString>

#include <chrono>
#include <cstddef>

namespace velmorandi {

// What the user is told of the time a run still needs, from its rate so far:
// `done` of `total` steps made in `elapsed`. Empty while the run is too
// young to tell, or will be over in a few seconds anyway.
QString timeLeftText(std::chrono::milliseconds elapsed, std::size_t done, std::size_t total);

} // namespace velmorandi
