// The data file read record by record, with the rules of a Fortran
// list-directed READ: a record starts at the beginning of a line, takes as
// many values as it needs from as many lines as needed (blanks, tabs and
// commas separate values) and ignores the rest of its last line.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace ramvex {

// A read that failed; `line` is the 1-based line of the data file where the
// failing value was (or would have been) read.
struct DataReadError {
  enum class Kind { BadValue, EndOfFile, OutOfRange };
  Kind kind = Kind::BadValue;
  int line = 0;
  std::string what;  // for out-of-range values: what the value is and its limits
};

class DataFile {
 public:
  // Splits the text into lines; CR LF and LF line ends both read.
  explicit DataFile(std::string_view text);

  // A title record: the first `width` characters of the next line, padded
  // with blanks.
  std::string readText(int width);

  // Opens the next record at the beginning of the next unread line.
  void beginRecord();
  int readInt();
  double readReal();
  // Closes the record: the rest of its last line is passed over.
  void endRecord();

  // Line where the current record began (for messages about its values).
  int recordLine() const { return recordLine_; }
  bool atEnd() const { return nextLine_ >= lines_.size(); }

 private:
  std::string_view nextToken();

  std::vector<std::string> lines_;
  size_t nextLine_ = 0;      // first line not yet taken by any record
  size_t tokenLine_ = 0;     // line the record is reading from
  size_t tokenPos_ = 0;      // position in that line
  bool inRecord_ = false;
  int recordLine_ = 0;
  int lastTokenLine_ = 0;
};

// Parses an integer or real token as Fortran reads one, independent of the
// locale: "12", "-3", "1.5", ".5", "2.", "1E-5", "1.0D+03".
bool parseFortranInt(std::string_view token, int& value);
bool parseFortranReal(std::string_view token, double& value);

}  // namespace ramvex
