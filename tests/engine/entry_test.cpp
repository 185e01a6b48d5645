#include <dlfcn.h>

#include <gtest/gtest.h>

#include "engine_harness.h"
#include "engine_test_data.h"
#include "ramvex_entry.h"

namespace ramvex::testing {
namespace {

bool contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

TEST(Entry, OtherInterfaceNumbersAreRefusedWithoutTouchingAnyFile) {
  EngineHarness h;
  h.write("case.rv5d", plainProblem());
  h.writeNames();
  EXPECT_EQ(IRAMVEX(12), 1);
  EXPECT_EQ(_IRAMVEX(14), 1);
  EXPECT_FALSE(h.exists("case.rv5o"));
  EXPECT_FALSE(h.exists("case.rv5p"));
  EXPECT_FALSE(h.exists("case.rv5r"));
}

TEST(Entry, ValidRunEndsWithEndOfAnalysis) {
  EngineHarness h;
  EXPECT_EQ(h.run(plainProblem()), 0);
  const std::string report = h.report();
  EXPECT_TRUE(contains(report, "\n\n\n\n     END OF ANALYSIS                             \n")) << report;
  EXPECT_TRUE(h.exists("case.rv5p"));
  EXPECT_TRUE(h.exists("case.rv5r"));
}

TEST(Entry, NamesFileIsFoundWhateverItsLetterCase) {
  for (const char* spelling : {"NAMES.dat", "Names.dat", "names.DAT"}) {
    EngineHarness h;
    h.write("case.rv5d", plainProblem());
    h.writeNames(spelling);
    EXPECT_EQ(IRAMVEX(13), 0);
    EXPECT_TRUE(contains(h.report(), "END OF ANALYSIS")) << spelling;
  }
}

TEST(Entry, MissingOrShortNamesFileWritesTheConsoleMessageAndNoOutput) {
  for (const char* names : {"", "2015.5.13\ncase.rv5d\n"}) {
    EngineHarness h;
    h.write("case.rv5d", plainProblem());
    if (*names) h.write("names.dat", names);
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(IRAMVEX(13), 0);
    const std::string console = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(console, " PLEASE CREATE AN INPUT DATA FILE AND SAVE IT\n BEFORE COMPUTATION.  TRY IT AGAIN!\n");
    EXPECT_FALSE(h.exists("case.rv5o"));
  }
}

TEST(Entry, TrailingBlanksInNamesFileNameTheSameFiles) {
  EngineHarness h;
  h.write("case.rv5d", plainProblem());
  h.write("names.dat", "2015.5.13   \ncase.rv5d    \ncase.rv5o  \ncase.rv5p\t\ncase.rv5r \n");
  EXPECT_EQ(IRAMVEX(13), 0);
  const std::string report = h.report();
  EXPECT_TRUE(contains(report, "     Name of input data file     : case.rv5d\n")) << report;
  EXPECT_TRUE(contains(report, "Version 2015.5.13   \n"));
}

TEST(Entry, TwoRunsInARowGiveIdenticalOutputs) {
  EngineHarness h;
  const std::string data = plainProblem("FIRST", "1 0 1 0 0 0 0 0 0 0", "", "20 6 10 0.001 60 12", "9") +
                           plainProblem("SECOND");
  h.run(data);
  const std::string first = test::maskDateTime(h.report());
  const std::string firstPlot = h.plot();
  h.run(data);
  EXPECT_EQ(test::maskDateTime(h.report()), first);
  EXPECT_EQ(h.plot(), firstPlot);
}

TEST(Entry, LongTermProblemGetsItsOwnHeaderTitledWithTheFirstTitle) {
  EngineHarness h;
  h.run(plainProblem("SHORT TERM WALL", "1 0 1 0 0 0 0 0 0 0", "", "20 6 10 0.001 60 12", "9") +
        plainProblem("IGNORED TITLE"));
  const std::string report = h.report();
  const std::string banner = "     =========================================================================\n";
  const size_t first = report.find(banner);
  const size_t second = report.find(banner, report.find(banner, first + 1) + 1);
  ASSERT_NE(second, std::string::npos);
  EXPECT_EQ(report.substr(second - 2, 2), "\n\n");
  EXPECT_TRUE(contains(report, "\n      Long Term :  SHORT TERM WALL"));
  EXPECT_FALSE(contains(report, "IGNORED TITLE"));
}

TEST(Entry, StagedTitleLinesCarryTheProblemCounter) {
  EngineHarness h;
  const std::string control = "1 0 1 0 0 0 0 3 0 0";
  h.run(plainProblem("STAGED WALL", control, "", "20 6 10 0.001 60 12", "1") +
        plainProblem(" Stage No : 2", control, "", "20 6 10 0.001 60 12", "2") +
        plainProblem(" Stage No : 3", control, "", "20 6 10 0.001 60 12", "3"));
  const std::string report = h.report();
  for (const char* title : {"      Stage No : 1  STAGED WALL", "      Stage No : 2  STAGED WALL",
                            "      Stage No : 3  STAGED WALL"})
    EXPECT_TRUE(contains(report, title)) << title;
}

TEST(SharedLibrary, ExportsOnlyTheTwoEntryNames) {
  void* library = dlopen(RAMVEX_BINARY_DIR "/bin/libRamVex2015_DLL.so", RTLD_NOW | RTLD_LOCAL);
  ASSERT_NE(library, nullptr) << dlerror();
  EXPECT_NE(dlsym(library, "IRAMVEX"), nullptr);
  EXPECT_NE(dlsym(library, "_IRAMVEX"), nullptr);
  EXPECT_EQ(dlsym(library, "_ZN6ramvex9runEngineEv"), nullptr);
  using Entry = int32_t (*)(int32_t);
  auto entry = reinterpret_cast<Entry>(dlsym(library, "_IRAMVEX"));
  ASSERT_NE(entry, nullptr);
  EXPECT_EQ(entry(12), 1);
  dlclose(library);
}

}  // namespace
}  // namespace ramvex::testing
