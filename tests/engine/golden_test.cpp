// The reference-file comparison and the scratch folder used by the report
// tests.
#include "golden.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace ramvex::test {
namespace {

namespace fs = std::filesystem;

void writeFile(const fs::path& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary);
  out << text;
}

const std::string kHeader = "     BANNER\n";
const std::string kDate1 = "               Date:  March 05, 2024     Time:  09:07:03\n";
const std::string kDate2 = "               Date:  December 31, 2025     Time:  23:59:59\n";
const std::string kTail = "     END OF ANALYSIS                             \n";

class GoldenTest : public ScratchDirTest {};

TEST_F(GoldenTest, MasksTheDateTimeLineAndNothingElse) {
  struct Case {
    const char* what;
    std::string expected;
    std::string actual;
    bool matches;
  };
  const Case cases[] = {
      {"identical", kHeader + kDate1 + kTail, kHeader + kDate1 + kTail, true},
      {"other date and time", kHeader + kDate1 + kTail, kHeader + kDate2 + kTail, true},
      {"date line of 14 blanks is compared", kHeader + kDate1.substr(1) + kTail, kHeader + kDate2.substr(1) + kTail,
       false},
      {"date line without time is compared", kHeader + "               Date:  March 05, 2024\n" + kTail,
       kHeader + "               Date:  March 06, 2024\n" + kTail, false},
      {"a changed field", kHeader + kDate1 + kTail, kHeader + kDate1 + "     END OF ANALYSIS\n", false},
      {"a missing final line feed", kHeader + kTail, kHeader + kTail.substr(0, kTail.size() - 1), false},
      {"a line feed turned into CR LF", kHeader + kTail, "     BANNER\r\n" + kTail, false},
      {"an extra empty line", kHeader + kTail, kHeader + kTail + "\n", false},
      {"an empty text", "", "", true},
  };
  for (const Case& c : cases) {
    writeFile("expected.txt", c.expected);
    EXPECT_EQ(static_cast<bool>(matchesGolden(c.actual, "expected.txt")), c.matches) << c.what;
  }
}

TEST_F(GoldenTest, FailureNamesBothFilesAndTheFirstDifferingLines) {
  const fs::path reference = scratch_.path() / "report.rv5o";
  writeFile(reference, kHeader + kDate1 + "  A\n  B\n  C\n" + kTail);
  const std::string actual = kHeader + kDate2 + "  A\n  X\n  C\n" + kTail + "  extra\n";
  const ::testing::AssertionResult result = matchesGolden(actual, reference);
  ASSERT_FALSE(result);
  const std::string message = result.message();
  const fs::path copy = fs::path(RAMVEX_BINARY_DIR) / "golden-actual" / "report.rv5o";
  EXPECT_NE(message.find(reference.string()), std::string::npos) << message;
  EXPECT_NE(message.find(copy.string()), std::string::npos) << message;
  EXPECT_NE(message.find("line 4:\n    expected [  B]\n    actual   [  X]"), std::string::npos) << message;
  EXPECT_NE(message.find("line 7:\n    expected (end of text)\n    actual   [  extra]"), std::string::npos)
      << message;
  EXPECT_EQ(message.find("line 2:"), std::string::npos) << "the date line was not masked:\n" << message;
  // The copy holds the actual text as it was, date included.
  EXPECT_EQ(readTextFile(copy), actual);
}

TEST_F(GoldenTest, ComparesAFileTheEngineWrote) {
  writeFile("expected.rv5p", "0\n 2 0\n");
  writeFile("out.rv5p", "0\n 2 0\n");
  EXPECT_TRUE(fileMatchesGolden("out.rv5p", "expected.rv5p"));
  writeFile("out.rv5p", "0\n 1 0\n");
  const ::testing::AssertionResult result = fileMatchesGolden("out.rv5p", "expected.rv5p");
  ASSERT_FALSE(result);
  EXPECT_NE(std::string(result.message()).find("out.rv5p"), std::string::npos) << result.message();
  EXPECT_FALSE(fileMatchesGolden("missing.rv5p", "expected.rv5p"));
}

TEST_F(GoldenTest, MissingReferenceFailsAndSaysHowToCreateIt) {
  const ::testing::AssertionResult result = matchesGolden("text\n", "no-such-reference.txt");
  ASSERT_FALSE(result);
  EXPECT_NE(std::string(result.message()).find("RAMVEX_UPDATE_GOLDEN=1"), std::string::npos);
}

TEST_F(GoldenTest, UpdateSwitchRewritesTheReferenceWithAMaskedDate) {
  writeFile("expected.txt", "old\n");
  ASSERT_EQ(setenv("RAMVEX_UPDATE_GOLDEN", "1", 1), 0);
  const bool updated = matchesGolden(kHeader + kDate1 + kTail, "sub/expected.txt") &&
                       matchesGolden(kHeader + kDate1 + kTail, "expected.txt");
  unsetenv("RAMVEX_UPDATE_GOLDEN");
  EXPECT_TRUE(updated);
  const std::string written = readTextFile("expected.txt");
  EXPECT_EQ(readTextFile("sub/expected.txt"), written);
  EXPECT_EQ(written.find("March"), std::string::npos) << written;
  EXPECT_EQ(maskDateTime(kHeader + kDate2 + kTail), written);
  EXPECT_TRUE(matchesGolden(kHeader + kDate2 + kTail, "expected.txt"));
  EXPECT_FALSE(matchesGolden(kHeader + kTail, "expected.txt"));
}

TEST(ScratchDir, IsTheCurrentDirectoryWhileItLivesAndIsRemovedAfter) {
  const fs::path before = fs::current_path();
  fs::path outer;
  fs::path inner;
  {
    ScratchDir scratch;
    outer = scratch.path();
    EXPECT_EQ(fs::current_path(), fs::canonical(outer));
    EXPECT_TRUE(fs::is_empty(outer));
    writeFile("BMWALL.001", "x");
    EXPECT_TRUE(fs::exists(outer / "BMWALL.001"));
    {
      ScratchDir nested;
      inner = nested.path();
      EXPECT_NE(inner, outer);
      EXPECT_FALSE(fs::exists("BMWALL.001"));
      fs::create_directories("deep/er");
      writeFile("deep/er/SOILDATA", "y");
    }
    EXPECT_FALSE(fs::exists(inner));
    EXPECT_EQ(fs::current_path(), fs::canonical(outer));
  }
  EXPECT_FALSE(fs::exists(outer));
  EXPECT_EQ(fs::current_path(), before);
}

}  // namespace
}  // namespace ramvex::test
