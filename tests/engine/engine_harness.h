// Runs the engine on a data file in a private scratch folder, the way the
// interactive program does: names.dat in the current directory, relative
// file names, so reports do not depend on where the test runs.
#pragma once

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "golden.h"
#include "ramvex_entry.h"

namespace ramvex::testing {

class EngineHarness {
 public:
  const std::filesystem::path& dir() const { return scratch_.path(); }

  void write(const std::string& name, const std::string& text) const {
    std::ofstream(dir() / name, std::ios::binary) << text;
  }
  std::string read(const std::string& name) const {
    std::ifstream in(dir() / name, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
  }
  bool exists(const std::string& name) const { return std::filesystem::exists(dir() / name); }

  void writeNames(const std::string& namesFile = "names.dat") const {
    write(namesFile, "2015.5.13\ncase.rv5d\ncase.rv5o\ncase.rv5p\ncase.rv5r\n");
  }
  // Writes the data file and names.dat, runs the entry; returns its status.
  int run(const std::string& data) const {
    write("case.rv5d", data);
    writeNames();
    return IRAMVEX(13);
  }
  std::string report() const { return read("case.rv5o"); }
  std::string plot() const { return read("case.rv5p"); }
  std::string notes() const { return read("case.rv5r"); }

 private:
  test::ScratchDir scratch_;
};

}  // namespace ramvex::testing
