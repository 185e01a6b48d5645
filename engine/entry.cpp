#include "ramvex_entry.h"

#include "engine_run.h"

namespace {
constexpr int32_t kInterfaceNumber = 13;
}

extern "C" int32_t IRAMVEX(int32_t interfaceNumber) {
  if (interfaceNumber != kInterfaceNumber) return 1;
  return ramvex::runEngine();
}

extern "C" int32_t _IRAMVEX(int32_t interfaceNumber) { return IRAMVEX(interfaceNumber); }
