#pragma once
// Shared by the libFuzzer targets.
#include <cstdio>
#include <cstdlib>

// A fuzz target's verdict: prints what failed and aborts, which libFuzzer
// reports as a crash with the input that caused it.
#define FUZZ_CHECK(cond, ...)                              \
  do {                                                     \
    if (!(cond)) {                                         \
      std::fprintf(stderr, "check failed: %s\n  ", #cond); \
      std::fprintf(stderr, __VA_ARGS__);                   \
      std::fprintf(stderr, "\n");                          \
      std::abort();                                        \
    }                                                      \
  } while (0)
