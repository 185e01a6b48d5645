// The engine's one entry point, exported under two names.  Interface number
// 13 performs a run described by "names.dat" in the current directory and
// returns 0; any other number returns 1 and touches nothing.
#pragma once

#include <cstdint>

extern "C" {
__attribute__((visibility("default"))) int32_t IRAMVEX(int32_t interfaceNumber);
__attribute__((visibility("default"))) int32_t _IRAMVEX(int32_t interfaceNumber);
}
