#include "WordRead.h"

#include <cmath>
#include <fstream>
#include <iterator>

#include "NumberText.h"

namespace ramvex {

namespace {

const char kIncomplete[] = "This file either invalid or incomplete.";

bool IsSeparator(char c) { return c == ' ' || c == '\t'; }

std::vector<std::string> WordsOf(std::string_view line) {
  // Trim drops every control character at the ends, as blanks.
  size_t b = 0;
  size_t e = line.size();
  while (b < e && static_cast<unsigned char>(line[b]) <= ' ') ++b;
  while (e > b && static_cast<unsigned char>(line[e - 1]) <= ' ') --e;
  std::vector<std::string> words;
  size_t i = b;
  while (i < e) {
    while (i < e && IsSeparator(line[i])) ++i;
    size_t start = i;
    while (i < e && !IsSeparator(line[i])) ++i;
    if (i > start) words.emplace_back(line.substr(start, i - start));
  }
  return words;
}

}  // namespace

TWordReader::TWordReader(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw EInOutError("Cannot open file " + path.string());
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) throw EInOutError("Cannot read file " + path.string());
  Split(text);
}

TWordReader TWordReader::FromText(std::string_view text) {
  TWordReader r;
  r.Split(text);
  return r;
}

void TWordReader::Split(std::string_view text) {
  // Lines end in CR LF, LF or a lone CR; a final line end does not start
  // another line.
  size_t i = 0;
  while (i < text.size()) {
    size_t end = text.find_first_of("\r\n", i);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(i, end - i);
    lines_.push_back({std::string(line), WordsOf(line)});
    i = end;
    if (i < text.size() && text[i] == '\r') {
      ++i;
      if (i < text.size() && text[i] == '\n') ++i;
    } else if (i < text.size()) {
      ++i;  // '\n'
    }
  }
}

int TWordReader::WordCount() const {
  return AtEnd() ? 0 : static_cast<int>(lines_[line_].Words.size());
}

std::string TWordReader::NextWord() {
  while (line_ < lines_.size() && word_ >= lines_[line_].Words.size()) {
    ++line_;
    word_ = 0;
  }
  if (line_ >= lines_.size()) throw EInOutError(kIncomplete);
  return lines_[line_].Words[word_++];
}

void TWordReader::FailItem(const char* expected) const {
  throw EInOutError("Error on Line " + std::to_string(line_ + 1) + " Item " + std::to_string(word_) + "\r" +
                    expected);
}

long double TWordReader::ReadReal() {
  std::string word = NextWord();
  long double value = 0;
  if (ParseReal(word, value) != RealParse::Ok) FailItem("A floating point number was expected but not found.");
  return value;
}

int TWordReader::ReadInteger() {
  std::string word = NextWord();
  long double value = 0;
  if (ParseReal(word, value) != RealParse::Ok || value != std::trunc(value) || value < -2147483648.0L ||
      value > 2147483647.0L) {
    FailItem("An integer was expected but not found.");
  }
  return static_cast<int>(value);
}

std::string TWordReader::ReadLine() {
  if (line_ >= lines_.size()) throw EInOutError(kIncomplete);
  std::string text = lines_[line_].Line;
  ++line_;
  word_ = 0;
  return text;
}

}  // namespace ramvex
