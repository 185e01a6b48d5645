#include "data_file.h"

#include <gtest/gtest.h>

#include "data_reader.h"

namespace ramvex {
namespace {

TEST(DataFile, RecordSplitOverLinesReadsAsOneAndIgnoresTheRestOfItsLastLine) {
  DataFile file("1 2\n3 4 99 99\n5\n");
  file.beginRecord();
  EXPECT_EQ(file.readInt(), 1);
  EXPECT_EQ(file.readInt(), 2);
  EXPECT_EQ(file.readInt(), 3);
  EXPECT_EQ(file.readInt(), 4);
  file.endRecord();
  file.beginRecord();
  EXPECT_EQ(file.readInt(), 5);
  file.endRecord();
  EXPECT_TRUE(file.atEnd());
}

TEST(DataFile, SeparatorsAreBlanksTabsAndCommasAndBothLineEndsRead) {
  DataFile file("1,\t2 ,3\r\n4.5D+01\r\n");
  file.beginRecord();
  EXPECT_EQ(file.readInt(), 1);
  EXPECT_EQ(file.readInt(), 2);
  EXPECT_EQ(file.readInt(), 3);
  file.endRecord();
  file.beginRecord();
  EXPECT_DOUBLE_EQ(file.readReal(), 45.0);
  file.endRecord();
}

TEST(DataFile, TitleIsTheFirstSeventyCharactersPadded) {
  const std::string longLine(75, 'x');
  DataFile file(longLine + "\nshort\r\n");
  EXPECT_EQ(file.readText(70), std::string(70, 'x'));
  EXPECT_EQ(file.readText(70), "short" + std::string(65, ' '));
}

TEST(DataFile, ErrorsNameTheLineWhereReadingFailed) {
  DataFile file("1 2\n\nx\n");
  file.beginRecord();
  file.readInt();
  file.readInt();
  file.endRecord();
  try {
    file.beginRecord();
    file.readInt();
    FAIL();
  } catch (const DataReadError& e) {
    EXPECT_EQ(e.kind, DataReadError::Kind::BadValue);
    EXPECT_EQ(e.line, 3);
  }
  DataFile shortFile("1\n");
  shortFile.beginRecord();
  shortFile.readInt();
  try {
    shortFile.readInt();
    FAIL();
  } catch (const DataReadError& e) {
    EXPECT_EQ(e.kind, DataReadError::Kind::EndOfFile);
    EXPECT_EQ(e.line, 2);
  }
}

TEST(DataFile, NumberSyntax) {
  struct Case {
    const char* token;
    bool isInt, isReal;
    double value;
  };
  const Case cases[] = {
      {"12", true, true, 12},        {"-3", true, true, -3},     {"+7", true, true, 7},
      {"1.5", false, true, 1.5},     {".5", false, true, 0.5},   {"2.", false, true, 2},
      {"1E-5", false, true, 1e-5},   {"1.0d3", false, true, 1000}, {"29000000", true, true, 29e6},
      {"abc", false, false, 0},      {"1.2.3", false, false, 0}, {"nan", false, false, 0},
      {"inf", false, false, 0},      {"1e999", false, false, 0}, {"-", false, false, 0},
      {"99999999999", false, true, 99999999999.0},
  };
  for (const Case& c : cases) {
    int i = 0;
    double r = 0;
    EXPECT_EQ(parseFortranInt(c.token, i), c.isInt) << c.token;
    EXPECT_EQ(parseFortranReal(c.token, r), c.isReal) << c.token;
    if (c.isReal) {
      EXPECT_DOUBLE_EQ(r, c.value) << c.token;
    }
  }
}

TEST(DataReader, TiebackStationRoundsToTheNearestStation) {
  EXPECT_EQ(tiebackStation(10.04, 1, 6.0, 1), 20);  // 120.48 in / 6 = 20.08
  EXPECT_EQ(tiebackStation(10.26, 1, 6.0, 1), 21);  // 123.12 in / 6 = 20.52
  EXPECT_EQ(tiebackStation(1.25, 2, 0.5, 1), 3);    // exactly halfway: away from zero
  EXPECT_THROW(tiebackStation(1.0e12, 2, 0.5, 1), DataReadError);
}

TEST(DataReader, SiSurchargeDistancesAreMillimetres) {
  DataFile file(
      "3 1 1 2 0 0 1 0\n"
      "0 0 0 0 0 0\n"
      "1\n"
      "3 10 1500 2500\n"
      "1\n"
      "4 10\n"
      "18 0 30 0 0 0\n"
      "18 0 30 0 0 0\n");
  ProblemInput input;
  readSiteRecords(file, 2, input);
  ASSERT_EQ(input.surcharges.size(), 1u);
  EXPECT_DOUBLE_EQ(input.surcharges[0].distance, 1.5);
  EXPECT_DOUBLE_EQ(input.surcharges[0].width, 2.5);
  ASSERT_EQ(input.layers.size(), 1u);
  EXPECT_EQ(input.layers[0].type, 4);
  EXPECT_DOUBLE_EQ(input.layers[0].top[2], 30.0);
}

}  // namespace
}  // namespace ramvex
