#pragma once

#include <cstdio>
#include <cstdlib>

namespace zav::fuzz {

// A broken invariant must stop the run: libFuzzer saves the input as a crash, the replay fails its test.
[[noreturn]] inline void checkFailed(const char* condition, const char* file, int line) {
    std::fprintf(stderr, "%s:%d: invariant broken: %s\n", file, line, condition);
    std::abort();
}

} // namespace zav::fuzz

#define ZAV_FUZZ_CHECK(condition)                                                                            \
    ((condition) ? static_cast<void>(0) : ::zav::fuzz::checkFailed(#condition, __FILE__, __LINE__))
