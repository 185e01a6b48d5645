// Stand-in engine libraries for the run tests: they answer like the engine
// without analysing anything.  Each build chooses its answer:
//   FAKE_RESULT   the value returned for the interface number 13;
//   FAKE_NO_ENTRY exports no entry at all.
// The stand-in copies the run-context file it finds in the current
// directory to "<data file>.names", writes that directory to
// "<data file>.cwd", and leaves the engine's intermediate
// files in the current directory, so a test can see where it ran and that
// the working folder was cleared afterwards.
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace {

int32_t Answer(int32_t interfaceNumber) {
  std::ifstream names("names.dat");
  std::stringstream text;
  text << names.rdbuf();
  std::string version, data;
  std::istringstream lines(text.str());
  std::getline(lines, version);
  std::getline(lines, data);
  if (!data.empty()) {
    std::ofstream(data + ".names") << text.str();
    std::ofstream(data + ".cwd") << std::filesystem::current_path().string();
  }
  std::ofstream("BMWALL.001") << "0\n";
  std::ofstream("SOILDATA") << "0\n";
  return interfaceNumber == 13 ? FAKE_RESULT : 1;
}

}  // namespace

#ifndef FAKE_NO_ENTRY
extern "C" __attribute__((visibility("default"))) int32_t _IRAMVEX(int32_t interfaceNumber) {
  return Answer(interfaceNumber);
}
#else
extern "C" __attribute__((visibility("default"))) int32_t OTHER_ENTRY(int32_t interfaceNumber) {
  return Answer(interfaceNumber);
}
#endif
