// Reads arbitrary text with the token reader the way the project files are
// read: words, numbers and whole lines in an order the input chooses.  Every
// read either succeeds or fails with the reader's error.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "WordRead.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  // The first byte chooses the order of the reads; the rest is the text.
  const unsigned order = data[0];
  const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
  ramvex::TWordReader r = ramvex::TWordReader::FromText(text);
  // Each read moves forward or fails, so this many reads reach the end.
  const size_t limit = 2 * size + 8;
  for (size_t i = 0; i < limit && !r.AtEnd(); ++i) {
    try {
      switch ((order >> (2 * (i % 4))) & 3u) {
        case 0: r.NextWord(); break;
        case 1:
          if (!std::isfinite(r.ReadReal())) std::abort();
          break;
        case 2: r.ReadInteger(); break;
        case 3: r.ReadLine(); break;
      }
    } catch (const ramvex::EInOutError&) {
    }
    if (r.LineIndex() > r.LineCount() || (r.WordCount() > 0 && r.WordIndex() > static_cast<size_t>(r.WordCount())))
      std::abort();
  }
  return 0;
}
