#pragma once

#include <cstdio>
#include <cstdlib>

namespace pl4120::fuzz {

/// Ends the run with `what` on the error stream when an invariant does not hold; libFuzzer then
/// keeps the input that broke it. Unlike assert it stays in optimised builds.
inline void Check(bool holds, const char* what) {
  if (!holds) {
    std::fprintf(stderr, "invariant broken: %s\n", what);
    std::abort();
  }
}

}  // namespace pl4120::fuzz
