// Feeds arbitrary text to the expression evaluator: every entry is either a
// finite number or an entry error, never a crash, a hang or an infinity.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "AssignError.h"
#include "Expression.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  try {
    if (!std::isfinite(ramvex::Evaluate(text))) std::abort();
  } catch (const ramvex::EAssignError&) {
  }
  try {
    if (!std::isfinite(ramvex::EvaluateTerm(text))) std::abort();
  } catch (const ramvex::EAssignError&) {
  }
  return 0;
}
