// What every fuzz target uses to report a broken promise of the code under
// test: the message goes to stderr and the run stops, so libFuzzer keeps
// the input as a crash.
#pragma once

#include <cstdio>
#include <cstdlib>

namespace corvane::fuzz {

inline void Check(bool holds, const char* promise) {
  if (holds) return;
  std::fprintf(stderr, "broken promise: %s\n", promise);
  std::abort();
}

}  // namespace corvane::fuzz
