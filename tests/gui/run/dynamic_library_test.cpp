#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "AnalysisRun.h"
#include "DynamicLibrary.h"
#include "golden.h"

namespace ramvex {
namespace {

namespace fs = std::filesystem;

const fs::path kEngine = fs::path(ENGINE_FOLDER) / EngineLibraryFileName();

TEST(DynamicLibrary, LoadsTheEngineAndFindsItsEntries) {
  TDynamicLibrary lib(kEngine.string());
  EXPECT_FALSE(lib.Loaded());
  lib.Load();
  EXPECT_TRUE(lib.Loaded());
  lib.Load();  // nothing happens when loaded
  EXPECT_NE(lib.Entry("_IRAMVEX"), nullptr);
  EXPECT_NE(lib.Entry("IRAMVEX"), nullptr);
  EXPECT_EQ(lib.Entry("NoSuchEntry"), nullptr);
  lib.SetFileName("elsewhere.so");  // unloads first
  EXPECT_FALSE(lib.Loaded());
}

TEST(DynamicLibrary, FailuresRaiseTheirOwnErrors) {
  test::ScratchDir scratch;
  TDynamicLibrary missing((scratch.path() / "none.so").string());
  try {
    missing.Load();
    FAIL() << "no exception";
  } catch (const EFileNotFoundError& e) {
    EXPECT_STREQ(e.what(), "Library could not be located");
  }

  std::ofstream(scratch.path() / "text.so") << "not a library\n";
  TDynamicLibrary broken((scratch.path() / "text.so").string());
  try {
    broken.Load();
    FAIL() << "no exception";
  } catch (const EInitError& e) {
    EXPECT_STREQ(e.what(), "Library failed to properly initialize");
  }
  try {
    broken.Entry("_IRAMVEX");
    FAIL() << "no exception";
  } catch (const EDLLNotOpenError& e) {
    EXPECT_STREQ(e.what(), "Library is not open");
  }
  // All of them are caught as the family's base.
  EXPECT_THROW(missing.Load(), EDLLError);
}

}  // namespace
}  // namespace ramvex
