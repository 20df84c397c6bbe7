#pragma once

#include <cstdio>
#include <cstdlib>

// A broken invariant is a finding like a crash: name it and abort, so that
// libFuzzer keeps the input. Stays on in every build type.
#define FUZZ_CHECK(condition)                                                         \
  do {                                                                                \
    if (!(condition)) {                                                               \
      std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition); \
      std::abort();                                                                   \
    }                                                                                 \
  } while (false)
