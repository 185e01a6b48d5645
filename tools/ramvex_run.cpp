// Command-line runner: analyses one data file with the engine library.
//
//   ramvex-run [-o OUTPUT_FOLDER] WALL.rv5d
//
// The engine reads its run context from "names.dat" in the current
// directory and leaves intermediate files there, so the runner works in a
// private temporary folder that it removes afterwards.  The report (.rv5o),
// plot data (.rv5p) and run notes (.rv5r) are written beside the data file,
// or into OUTPUT_FOLDER when one is given.
#include <dlfcn.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>

namespace fs = std::filesystem;

namespace {

int usage() {
  std::fprintf(stderr, "usage: ramvex-run [-o OUTPUT_FOLDER] DATA_FILE.rv5d\n");
  return 2;
}

fs::path programFolder() {
  std::error_code ec;
  fs::path self = fs::read_symlink("/proc/self/exe", ec);
  return ec ? fs::current_path() : self.parent_path();
}

}  // namespace

int main(int argc, char** argv) {
  std::string dataArg, outArg;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    if (arg == "-o" && i + 1 < argc) {
      outArg = argv[++i];
    } else if (!arg.empty() && arg[0] == '-') {
      return usage();
    } else if (dataArg.empty()) {
      dataArg = arg;
    } else {
      return usage();
    }
  }
  if (dataArg.empty()) return usage();

  std::error_code ec;
  const fs::path data = fs::absolute(dataArg, ec);
  if (ec || !fs::is_regular_file(data, ec)) {
    std::fprintf(stderr, "ramvex-run: no such data file: %s\n", dataArg.c_str());
    return 3;
  }
  fs::path outFolder = outArg.empty() ? data.parent_path() : fs::absolute(outArg, ec);
  fs::create_directories(outFolder, ec);
  const fs::path stem = outFolder / data.stem();
  const std::string report = stem.string() + ".rv5o";
  const std::string plot = stem.string() + ".rv5p";
  const std::string notes = stem.string() + ".rv5r";

  const fs::path libraryPath = programFolder() / "libRamVex2015_DLL.so";
  void* library = dlopen(libraryPath.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!library) {
    std::fprintf(stderr, "ramvex-run: cannot load the engine library: %s\n", dlerror());
    return 4;
  }
  using Entry = int32_t (*)(int32_t);
  auto entry = reinterpret_cast<Entry>(dlsym(library, "_IRAMVEX"));
  if (!entry) {
    std::fprintf(stderr, "ramvex-run: the engine library has no entry _IRAMVEX\n");
    dlclose(library);
    return 4;
  }

  std::string pattern = (fs::temp_directory_path() / "ramvex-run-XXXXXX").string();
  if (!mkdtemp(pattern.data())) {
    std::fprintf(stderr, "ramvex-run: cannot make a working folder\n");
    dlclose(library);
    return 5;
  }
  const fs::path work = pattern;
  {
    std::ofstream names(work / "names.dat", std::ios::binary);
    names << "2015.5.13\n" << data.string() << "\n" << report << "\n" << plot << "\n" << notes << "\n";
  }
  const fs::path previous = fs::current_path();
  fs::current_path(work, ec);
  const int32_t status = ec ? -1 : entry(13);
  fs::current_path(previous, ec);
  fs::remove_all(work, ec);
  dlclose(library);

  if (status != 0) {
    std::fprintf(stderr, "ramvex-run: the engine refused the call (status %d)\n", static_cast<int>(status));
    return 6;
  }
  std::printf("report:     %s\nplot data:  %s\nrun notes:  %s\n", report.c_str(), plot.c_str(), notes.c_str());
  return 0;
}
