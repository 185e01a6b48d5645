// Feeds arbitrary bytes to the engine as a data file: every input must end
// in an orderly way, without a crash, a hang or a sanitizer report.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "ramvex_entry.h"

namespace {

const std::filesystem::path& workFolder() {
  static const std::filesystem::path folder = [] {
    std::string pattern = (std::filesystem::temp_directory_path() / "ramvex-fuzz-XXXXXX").string();
    if (!mkdtemp(pattern.data())) std::abort();
    std::filesystem::current_path(pattern);
    std::FILE* names = std::fopen("names.dat", "wb");
    std::fputs("2015.5.13\ncase.rv5d\ncase.rv5o\ncase.rv5p\ncase.rv5r\n", names);
    std::fclose(names);
    return std::filesystem::path(pattern);
  }();
  return folder;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  workFolder();
  std::FILE* file = std::fopen("case.rv5d", "wb");
  if (!file) return 0;
  std::fwrite(data, 1, size, file);
  std::fclose(file);
  if (IRAMVEX(13) != 0) std::abort();
  return 0;
}
