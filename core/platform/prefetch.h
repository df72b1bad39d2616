#pragma once

// Asks for memory ahead of its use, where the compiler can say so; elsewhere
// a hint that costs nothing and does nothing.
namespace velmorandi::platform {

inline void prefetch(const void* address) {
#if defined(__GNUC__) || defined(__clang__)
    __builtin_prefetch(address);
#else
    static_cast<void>(address);
#endif
}

} // namespace velmorandi::platform
