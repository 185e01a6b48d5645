#include "golden.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <sstream>
#include <stdexcept>
#include <system_error>
#include <vector>

#include <stdlib.h>  // mkdtemp

namespace ramvex::test {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kDatePrefix = "               Date:  ";
constexpr std::string_view kTimeMark = "Time:  ";
constexpr std::string_view kMaskedDateTime = "               Date:  (masked)     Time:  (masked)";
// Differing lines shown after the first one, so a shifted block is visible.
constexpr int kMoreDifferences = 4;

bool updating() {
  const char* value = std::getenv("RAMVEX_UPDATE_GOLDEN");
  return value != nullptr && *value != '\0' && std::string_view(value) != "0";
}

// A text as its lines, without their line feeds.  A last line without a
// line feed is marked, so a missing final line feed is a difference too.
struct Lines {
  std::vector<std::string_view> lines;
  bool unterminated = false;

  bool open(std::size_t i) const { return unterminated && i + 1 == lines.size(); }
};

Lines splitLines(std::string_view text) {
  Lines out;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) {
      out.lines.push_back(text.substr(start));
      out.unterminated = true;
      break;
    }
    out.lines.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return out;
}

bool sameLine(const Lines& a, const Lines& b, std::size_t i) {
  return i < a.lines.size() && i < b.lines.size() && a.lines[i] == b.lines[i] && a.open(i) == b.open(i);
}

// A line as printed in a failure message: bracketed, with carriage returns
// and other control characters made visible.
std::string shown(const Lines& text, std::size_t i) {
  if (i >= text.lines.size()) return "(end of text)";
  std::string out = "[";
  for (const char c : text.lines[i]) {
    if (c == '\r') {
      out += "\\r";
    } else if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) {
      static const char* hex = "0123456789abcdef";
      out += "\\x";
      out += hex[(static_cast<unsigned char>(c) >> 4) & 0xf];
      out += hex[static_cast<unsigned char>(c) & 0xf];
    } else {
      out += c;
    }
  }
  out += "]";
  if (text.open(i)) out += " (no line feed at end)";
  return out;
}

void writeTextFile(const fs::path& path, std::string_view text) {
  if (path.has_parent_path()) fs::create_directories(path.parent_path());
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(text.data(), static_cast<std::streamsize>(text.size()));
  out.close();
  if (!out) throw std::runtime_error("cannot write " + path.string());
}

// Where the actual text of a failed comparison is kept: the reference's path
// below tests/golden, mirrored under the build folder.
fs::path actualCopyPath(const fs::path& expectedFile) {
  const fs::path root = fs::path(RAMVEX_BINARY_DIR) / "golden-actual";
  const fs::path goldenRoot = fs::weakly_canonical(goldenFile(""));
  const fs::path expected = fs::weakly_canonical(fs::absolute(expectedFile));
  const fs::path relative = expected.lexically_relative(goldenRoot);
  if (!relative.empty() && *relative.begin() != "..") return root / relative;
  return root / expectedFile.filename();
}

::testing::AssertionResult compare(std::string_view actual, const fs::path& expectedFile,
                                   const fs::path* actualFile) {
  if (updating()) {
    writeTextFile(expectedFile, maskDateTime(actual));
    std::cerr << "RAMVEX_UPDATE_GOLDEN: rewrote " << expectedFile.string() << " (review its diff)\n";
    return ::testing::AssertionSuccess();
  }
  std::error_code ec;
  if (!fs::is_regular_file(expectedFile, ec)) {
    return ::testing::AssertionFailure()
           << "reference file " << expectedFile.string()
           << " does not exist; create it with RAMVEX_UPDATE_GOLDEN=1 and review it by eye";
  }
  const std::string expectedText = maskDateTime(readTextFile(expectedFile));
  const std::string actualText = maskDateTime(actual);
  if (expectedText == actualText) return ::testing::AssertionSuccess();

  // The copy outlives a scratch folder the actual file may be in.
  std::string copy = actualCopyPath(expectedFile).string();
  try {
    writeTextFile(copy, actual);
  } catch (const std::exception& e) {
    copy = "(no copy kept: " + std::string(e.what()) + ")";
  }
  const std::string actualPath = actualFile == nullptr ? copy : actualFile->string() + ", copy kept at " + copy;

  const Lines want = splitLines(expectedText);
  const Lines got = splitLines(actualText);
  ::testing::AssertionResult result = ::testing::AssertionFailure();
  result << "text differs from its reference\n"
         << "  reference: " << expectedFile.string() << "\n"
         << "  actual:    " << actualPath << "\n";
  int shownCount = 0;
  const std::size_t count = std::max(want.lines.size(), got.lines.size());
  for (std::size_t i = 0; i < count && shownCount <= kMoreDifferences; ++i) {
    if (sameLine(want, got, i)) continue;
    result << "  line " << (i + 1) << ":\n"
           << "    expected " << shown(want, i) << "\n"
           << "    actual   " << shown(got, i) << "\n";
    ++shownCount;
  }
  result << "  (" << want.lines.size() << " lines expected, " << got.lines.size() << " actual)";
  return result;
}

}  // namespace

fs::path goldenFile(std::string_view name) {
  return fs::path(RAMVEX_SOURCE_DIR) / "tests" / "golden" / fs::path(name);
}

bool isDateTimeLine(std::string_view line) {
  return line.substr(0, kDatePrefix.size()) == kDatePrefix &&
         line.find(kTimeMark, kDatePrefix.size()) != std::string_view::npos;
}

std::string maskDateTime(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  const Lines lines = splitLines(text);
  for (std::size_t i = 0; i < lines.lines.size(); ++i) {
    out += isDateTimeLine(lines.lines[i]) ? kMaskedDateTime : lines.lines[i];
    if (!lines.open(i)) out += '\n';
  }
  return out;
}

std::string readTextFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot open " + path.string());
  std::ostringstream content;
  content << in.rdbuf();
  if (in.bad()) throw std::runtime_error("cannot read " + path.string());
  return content.str();
}

::testing::AssertionResult matchesGolden(std::string_view actual, const fs::path& expectedFile) {
  return compare(actual, expectedFile, nullptr);
}

::testing::AssertionResult fileMatchesGolden(const fs::path& actualFile, const fs::path& expectedFile) {
  std::string actual;
  try {
    actual = readTextFile(actualFile);
  } catch (const std::exception& e) {
    return ::testing::AssertionFailure() << e.what() << " (compared with " << expectedFile.string() << ")";
  }
  const fs::path absoluteActual = fs::absolute(actualFile);
  return compare(actual, expectedFile, &absoluteActual);
}

ScratchDir::ScratchDir() {
  previous_ = fs::current_path();
  std::string pattern = (fs::temp_directory_path() / "ramvex-test-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("cannot make a scratch folder from " + pattern);
  path_ = pattern;
  fs::current_path(path_);
}

ScratchDir::~ScratchDir() {
  std::error_code ec;
  fs::current_path(previous_, ec);
  fs::remove_all(path_, ec);
}

}  // namespace ramvex::test
