// The fuzz targets' assertion: a property that does not hold prints itself
// and aborts, which libFuzzer reports as a crash and saves the input. Unlike
// assert it stays on in the optimised build.
#pragma once
#include <cstdio>
#include <cstdlib>

#define FUZZ_CHECK(condition)                                                          \
  do {                                                                                 \
    if (!(condition)) {                                                                \
      std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition); \
      std::abort();                                                                    \
    }                                                                                  \
  } while (0)
