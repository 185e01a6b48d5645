#include "WordRead.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace ramvex {
namespace {

// Runs f and returns the message of the EInOutError it raises.
template <typename F>
std::string ErrorOf(F f) {
  try {
    f();
  } catch (const EInOutError& e) {
    return e.what();
  }
  return "(no error)";
}

TEST(WordReader, TitleLineThenIntegers) {
  TWordReader r = TWordReader::FromText("Sheet pile wall, stage 1\n1 2\t 3\n");
  EXPECT_EQ(r.WordCount(), 5);
  EXPECT_EQ(r.ReadLine(), "Sheet pile wall, stage 1");
  EXPECT_EQ(r.WordCount(), 3);
  EXPECT_EQ(r.ReadInteger(), 1);
  EXPECT_EQ(r.ReadInteger(), 2);
  EXPECT_EQ(r.ReadInteger(), 3);
  EXPECT_FALSE(r.AtEnd());  // the position stays on the line of the last word
  EXPECT_EQ(ErrorOf([&] { r.NextWord(); }), "This file either invalid or incomplete.");
  EXPECT_TRUE(r.AtEnd());
}

TEST(WordReader, ReadLineRightAfterTheLastNumberReturnsThatLine) {
  TWordReader r = TWordReader::FromText("9\nfirst text line\nsecond\n");
  EXPECT_EQ(r.ReadInteger(), 9);
  EXPECT_EQ(r.ReadLine(), "9");
  EXPECT_EQ(r.ReadLine(), "first text line");
  EXPECT_EQ(r.ReadLine(), "second");
  EXPECT_TRUE(r.AtEnd());
  EXPECT_EQ(ErrorOf([&] { r.ReadLine(); }), "This file either invalid or incomplete.");
}

TEST(WordReader, LinesWithoutWordsAreSkipped) {
  TWordReader r = TWordReader::FromText("1\n\n \t \n2.5\r\n\r\n-3e2");
  EXPECT_EQ(r.ReadInteger(), 1);
  EXPECT_EQ(r.ReadReal(), 2.5L);
  EXPECT_EQ(r.LineIndex(), 3u);
  EXPECT_EQ(r.ReadReal(), -300.0L);
  EXPECT_EQ(r.LineIndex(), 5u);
}

TEST(WordReader, ErrorsNameLineAndItem) {
  TWordReader r = TWordReader::FromText("title\n\n3 1.5 x\n");
  r.ReadLine();
  EXPECT_EQ(r.ReadInteger(), 3);
  EXPECT_EQ(ErrorOf([&] { r.ReadInteger(); }), "Error on Line 3 Item 2\rAn integer was expected but not found.");
  EXPECT_EQ(ErrorOf([&] { r.ReadReal(); }),
            "Error on Line 3 Item 3\rA floating point number was expected but not found.");
  EXPECT_EQ(ErrorOf([&] { r.ReadReal(); }), "This file either invalid or incomplete.");
}

TEST(WordReader, NumberForms) {
  TWordReader r = TWordReader::FromText("3.0 -0 2147483647 -2147483648 2147483648 1e3 1,5 .25 +4 inf");
  EXPECT_EQ(r.ReadInteger(), 3);
  EXPECT_EQ(r.ReadInteger(), 0);
  EXPECT_EQ(r.ReadInteger(), 2147483647);
  EXPECT_EQ(r.ReadInteger(), -2147483647 - 1);
  EXPECT_EQ(ErrorOf([&] { r.ReadInteger(); }), "Error on Line 1 Item 5\rAn integer was expected but not found.");
  EXPECT_EQ(r.ReadInteger(), 1000);
  // '.' is the decimal separator whatever the locale.
  EXPECT_EQ(ErrorOf([&] { r.ReadReal(); }),
            "Error on Line 1 Item 7\rA floating point number was expected but not found.");
  EXPECT_EQ(r.ReadReal(), 0.25L);
  EXPECT_EQ(r.ReadReal(), 4.0L);
  EXPECT_EQ(ErrorOf([&] { r.ReadReal(); }),
            "Error on Line 1 Item 10\rA floating point number was expected but not found.");
}

TEST(WordReader, ReadsAFileWithItsLineTexts) {
  std::filesystem::path path = std::filesystem::path(::testing::TempDir()) / "word_read_test.rv5d";
  {
    std::ofstream out(path, std::ios::binary);
    out << "  Title  with\tblanks \r\n12 0.5\r\nlast";
  }
  TWordReader r(path);
  EXPECT_EQ(r.LineCount(), 3u);
  EXPECT_EQ(r.ReadLine(), "  Title  with\tblanks ");
  EXPECT_EQ(r.ReadInteger(), 12);
  EXPECT_EQ(r.ReadReal(), 0.5L);
  EXPECT_EQ(r.NextWord(), "last");
  std::filesystem::remove(path);

  EXPECT_THROW(TWordReader{path}, EInOutError);
}

TEST(WordReader, EmptyTextIsAtEnd) {
  TWordReader r = TWordReader::FromText("");
  EXPECT_TRUE(r.AtEnd());
  EXPECT_EQ(r.WordCount(), 0);
  EXPECT_EQ(ErrorOf([&] { r.ReadInteger(); }), "This file either invalid or incomplete.");
}

}  // namespace
}  // namespace ramvex
