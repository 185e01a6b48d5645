#include "data_file.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace ramvex {
namespace {

bool isSeparator(char c) { return c == ' ' || c == '\t' || c == ','; }

}  // namespace

DataFile::DataFile(std::string_view text) {
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string line(text.substr(start, end - start));
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines_.push_back(std::move(line));
    start = end + 1;
  }
}

std::string DataFile::readText(int width) {
  if (nextLine_ >= lines_.size())
    throw DataReadError{DataReadError::Kind::EndOfFile, static_cast<int>(nextLine_) + 1, {}};
  recordLine_ = static_cast<int>(nextLine_) + 1;
  std::string text = lines_[nextLine_++];
  if (static_cast<int>(text.size()) > width) text.resize(static_cast<size_t>(width));
  for (char& c : text)
    if (c == '\t') c = ' ';
  text.resize(static_cast<size_t>(width), ' ');
  return text;
}

void DataFile::beginRecord() {
  inRecord_ = true;
  tokenLine_ = nextLine_;
  tokenPos_ = 0;
  recordLine_ = static_cast<int>(nextLine_) + 1;
  lastTokenLine_ = recordLine_;
}

void DataFile::endRecord() {
  if (!inRecord_) return;
  inRecord_ = false;
  // The record ends on the line of its last value; the next starts after it.
  nextLine_ = static_cast<size_t>(lastTokenLine_);
  if (nextLine_ > lines_.size()) nextLine_ = lines_.size();
}

std::string_view DataFile::nextToken() {
  if (!inRecord_) beginRecord();
  while (tokenLine_ < lines_.size()) {
    const std::string& line = lines_[tokenLine_];
    while (tokenPos_ < line.size() && isSeparator(line[tokenPos_])) ++tokenPos_;
    if (tokenPos_ < line.size()) {
      const size_t start = tokenPos_;
      while (tokenPos_ < line.size() && !isSeparator(line[tokenPos_])) ++tokenPos_;
      lastTokenLine_ = static_cast<int>(tokenLine_) + 1;
      return std::string_view(line).substr(start, tokenPos_ - start);
    }
    ++tokenLine_;
    tokenPos_ = 0;
  }
  throw DataReadError{DataReadError::Kind::EndOfFile, static_cast<int>(lines_.size()) + 1, {}};
}

int DataFile::readInt() {
  const std::string_view token = nextToken();
  int value = 0;
  if (!parseFortranInt(token, value))
    throw DataReadError{DataReadError::Kind::BadValue, lastTokenLine_, {}};
  return value;
}

double DataFile::readReal() {
  const std::string_view token = nextToken();
  double value = 0;
  if (!parseFortranReal(token, value))
    throw DataReadError{DataReadError::Kind::BadValue, lastTokenLine_, {}};
  return value;
}

bool parseFortranInt(std::string_view token, int& value) {
  if (!token.empty() && token.front() == '+') token.remove_prefix(1);
  if (token.empty()) return false;
  const auto result = std::from_chars(token.data(), token.data() + token.size(), value);
  return result.ec == std::errc() && result.ptr == token.data() + token.size();
}

bool parseFortranReal(std::string_view token, double& value) {
  // A Fortran real may use D as exponent letter; "inf" and "nan" spellings
  // are refused: no analysis can use them.
  std::string text(token);
  if (!text.empty() && text.front() == '+') text.erase(0, 1);
  if (text.empty()) return false;
  bool digit = false;
  for (char& c : text) {
    if (c == 'D' || c == 'd') c = 'E';
    if (c >= '0' && c <= '9') digit = true;
    else if (c != '.' && c != 'E' && c != 'e' && c != '-' && c != '+') return false;
  }
  if (!digit) return false;
  const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
  if (result.ec != std::errc() || result.ptr != text.data() + text.size()) return false;
  return std::isfinite(value);
}

}  // namespace ramvex
