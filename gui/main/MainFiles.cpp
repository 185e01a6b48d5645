#include "MainFiles.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

namespace ramvex {

namespace fs = std::filesystem;

std::string LowerExtension(const std::string& path) {
  std::string ext = fs::path(path).extension().string();
  std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return ext;
}

std::string DisplayName(const std::string& path) {
  std::string name = fs::path(path).filename().string();
  // The Open dialog's default extension; files of that version are shown by
  // their bare name.
  if (LowerExtension(name) == ".rvd") name = name.substr(0, name.find('.'));
  if (name.size() > 1) name[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(name[0])));
  return name;
}

std::string MainCaption(const std::string& dataFileName) {
  return std::string("RAMVEX ") + kVersionString + " - " + DisplayName(dataFileName);
}

std::string SiblingFile(const std::string& dataFileName, const std::string& extension) {
  fs::path p(dataFileName);
  p.replace_extension(extension);
  return p.string();
}

std::string SaveAsProposal(const std::string& dataFileName) {
  if (LowerExtension(dataFileName) == ".rv5d") return dataFileName;
  return SiblingFile(dataFileName, ".rv5d");
}

std::string SaveAsTitle(const std::string& proposal) { return "Save " + DisplayName(proposal) + " As"; }

int OpenFilterVersion(int filterIndex) { return filterIndex >= 1 && filterIndex <= 4 ? filterIndex : 0; }

std::string CommandLineProjectPath(const std::string& argument) {
  if (argument.empty()) return argument;
  if (fs::path(argument).filename().string().find('.') == std::string::npos) return argument + ".rv5d";
  return argument;
}

int TRecentFiles::Count() const {
  return static_cast<int>(std::count_if(entries_.begin(), entries_.end(), [](const std::string& e) { return !e.empty(); }));
}

bool TRecentFiles::Use(const std::string& path) {
  if (entries_[0] == path) return false;
  auto found = std::find(entries_.begin() + 1, entries_.end(), path);
  // Entries before the found one (or all but the last) move down one place.
  auto end = found == entries_.end() ? entries_.end() - 1 : found;
  std::move_backward(entries_.begin(), end, end + 1);
  entries_[0] = path;
  return true;
}

std::string RecentCaption(int number, const std::string& path, const std::string& currentFolder) {
  std::string shown = path;
  if (!currentFolder.empty()) {
    std::string prefix = currentFolder;
    if (prefix.back() != '/') prefix += '/';
    if (shown.starts_with(prefix)) shown = shown.substr(prefix.size());
  }
  return std::to_string(number) + " " + shown;
}

}  // namespace ramvex

#include "ProgramData.h"

namespace ramvex {

void OpenProjectFile(TProgramData& data, const std::string& path, int version) {
  if (version == 0) {
    data.OpenProject(path);
    return;
  }
  data.ReadProject(path, version);
  if (data.StageCount > 1) {
    data.SplitStages();
    if (LowerExtension(path) != ".rv5d") data.ConvertStages(version);
  }
}

}  // namespace ramvex
