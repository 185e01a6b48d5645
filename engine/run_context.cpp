#include "run_context.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

namespace ramvex {
namespace {

constexpr size_t kVersionWidth = 12;
constexpr size_t kPathWidth = 255;

std::string lowerCase(std::string s) {
  for (char& c : s)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return s;
}

// A field is cut to its width; the blanks that pad it are not part of the name.
std::string fieldOf(std::string line, size_t width) {
  if (line.size() > width) line.resize(width);
  while (!line.empty() && (line.back() == ' ' || line.back() == '\t')) line.pop_back();
  return line;
}

}  // namespace

std::optional<std::string> findNamesFile(const std::string& folder) {
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(folder, ec)) {
    if (lowerCase(entry.path().filename().string()) != "names.dat") continue;
    if (entry.is_regular_file(ec)) return entry.path().string();
  }
  return std::nullopt;
}

std::optional<RunContext> parseRunContext(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size() && lines.size() < 5) {
    size_t end = text.find('\n', start);
    const bool lastLine = end == std::string::npos;
    std::string line = text.substr(start, lastLine ? std::string::npos : end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
    if (lastLine) break;
    start = end + 1;
  }
  if (lines.size() < 5) return std::nullopt;
  RunContext context;
  std::string version = lines[0].substr(0, std::min(lines[0].size(), kVersionWidth));
  version.resize(kVersionWidth, ' ');
  context.versionText = version;
  context.dataPath = fieldOf(lines[1], kPathWidth);
  context.reportPath = fieldOf(lines[2], kPathWidth);
  context.plotPath = fieldOf(lines[3], kPathWidth);
  context.notesPath = fieldOf(lines[4], kPathWidth);
  return context;
}

bool readRunContext(RunState& run) {
  const auto path = findNamesFile(".");
  if (!path) return false;
  std::ifstream in(*path, std::ios::binary);
  if (!in) return false;
  std::ostringstream buffer;
  buffer << in.rdbuf();
  in.close();
  const auto context = parseRunContext(buffer.str());
  if (!context) return false;
  run.versionText = context->versionText;
  run.dataPath = context->dataPath;
  run.reportPath = context->reportPath;
  run.plotPath = context->plotPath;
  run.notesPath = context->notesPath;
  return true;
}

}  // namespace ramvex
