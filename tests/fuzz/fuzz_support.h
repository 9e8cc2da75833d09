// Shared by the fuzz targets of the database files: a check that stops the fuzzer on failure.
#pragma once

#define FUZZ_CHECK(condition)           \
  do {                                  \
    if (!(condition)) __builtin_trap(); \
  } while (0)
