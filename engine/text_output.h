// A sequential text file written line by line, as a Fortran unit opened for
// formatted output.  Lines end with a line feed.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace ramvex {

class TextOutput {
 public:
  TextOutput() = default;
  TextOutput(const TextOutput&) = delete;
  TextOutput& operator=(const TextOutput&) = delete;
  ~TextOutput() { close(); }

  // Creates or replaces the file; false when it cannot be opened.
  bool open(const std::string& path) {
    close();
    file_ = std::fopen(path.c_str(), "wb");
    return file_ != nullptr;
  }
  bool isOpen() const { return file_ != nullptr; }
  void close() {
    if (file_) std::fclose(file_);
    file_ = nullptr;
  }

  void line(std::string_view text) {
    if (!file_) return;
    // An empty view may carry a null pointer, which fwrite must not get.
    if (!text.empty()) std::fwrite(text.data(), 1, text.size(), file_);
    std::fputc('\n', file_);
    bytes_ += text.size() + 1;
  }
  void empty(int count = 1) {
    for (int i = 0; i < count; ++i) line({});
  }
  unsigned long long bytesWritten() const { return bytes_; }

 private:
  std::FILE* file_ = nullptr;
  unsigned long long bytes_ = 0;
};

}  // namespace ramvex
