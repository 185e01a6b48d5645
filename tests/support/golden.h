// Whole-report comparison against reference files, and a scratch folder per
// test.
//
// A reference ("golden") file holds the complete expected text of a report,
// run-notes or plot-data file.  The comparison is exact, line by line, except
// for the report's date and time line (15 blanks, "Date:  ", ... "Time:  "),
// which changes with every run and is masked on both sides.
//
// Regenerating a reference after an intended change of the output:
//
//   RAMVEX_UPDATE_GOLDEN=1 ctest --test-dir build -R <test name>
//
// With RAMVEX_UPDATE_GOLDEN=1 every comparison writes the actual text to its
// reference file instead of comparing (the date and time line is written in
// a fixed masked form, so references do not change with the clock), and the
// test passes with a note of the file it rewrote.  Then run the tests again
// without the switch, and read the diff of every regenerated reference
// (git diff tests/golden) line by line before committing it: a regenerated
// file is only as right as the code that wrote it, and an unreviewed one
// turns a fault into the expected output.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <string_view>

namespace ramvex::test {

// Reference files live under tests/golden in the source tree.
std::filesystem::path goldenFile(std::string_view name);

// True for the report's date and time line.
bool isDateTimeLine(std::string_view line);

// The text with every date and time line replaced by its masked form.
std::string maskDateTime(std::string_view text);

// The whole content of a file; throws std::runtime_error when it cannot be
// read.
std::string readTextFile(const std::filesystem::path& path);

// Compares `actual` with the reference file.  On a difference the actual
// text is saved under the build folder (golden-actual/) so the two files can
// be compared with a diff tool, and the message names both files and the
// first differing lines.
::testing::AssertionResult matchesGolden(std::string_view actual, const std::filesystem::path& expectedFile);

// As matchesGolden, for an output file the engine wrote.
::testing::AssertionResult fileMatchesGolden(const std::filesystem::path& actualFile,
                                             const std::filesystem::path& expectedFile);

// A fresh temporary folder that is the current directory while the object
// lives, for code that reads and writes files in the current directory.  The
// destructor goes back to the previous current directory and removes the
// folder with everything in it.
class ScratchDir {
 public:
  ScratchDir();
  ~ScratchDir();
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;

  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
  std::filesystem::path previous_;
};

// Fixture for tests that each need their own current directory.
class ScratchDirTest : public ::testing::Test {
 protected:
  ScratchDir scratch_;
};

}  // namespace ramvex::test
