// Token reader for the program's text files (project data files, stage
// files, plot data): the whole file is read at once and handed out as
// blank- or tab-separated words, integers, reals or whole lines.
#pragma once

#include <cstddef>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace ramvex {

// A file that cannot be read, or a word that is not what the caller wants.
// what() is the message for the user.
class EInOutError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct TWordContainer {
  std::string Line;                // the line as read, without its line end
  std::vector<std::string> Words;  // empty for a line of blanks
};

class TWordReader {
 public:
  // Reads the whole file; fails with EInOutError when it cannot be opened.
  explicit TWordReader(const std::filesystem::path& path);
  // Reads from text already in memory.
  static TWordReader FromText(std::string_view text);

  bool AtEnd() const { return line_ == lines_.size(); }
  // Words of the current line (0 at the end).
  int WordCount() const;

  // The next word, moving past lines without words when the current line
  // is used up.  The position stays on a line after its last word.
  std::string NextWord();
  long double ReadReal();
  int ReadInteger();
  // The full text of the current line; the position moves to the start of
  // the following line.  Right after the last word of a line this is that
  // same line.
  std::string ReadLine();

  // 0-based position.
  std::size_t LineIndex() const { return line_; }
  std::size_t WordIndex() const { return word_; }
  std::size_t LineCount() const { return lines_.size(); }

 private:
  TWordReader() = default;
  void Split(std::string_view text);
  [[noreturn]] void FailItem(const char* expected) const;

  std::vector<TWordContainer> lines_;
  std::size_t line_ = 0;
  std::size_t word_ = 0;
};

}  // namespace ramvex
