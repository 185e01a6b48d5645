// File-name rules of the main window: the name shown in the caption, the
// recent-file list, the version read for a file, the name proposed by Save
// As and the names of the run's files beside the data file.
#pragma once

#include <array>
#include <string>

namespace ramvex {

// Name of a project that was never saved.
inline constexpr char kNewProjectName[] = "NewWall.rv5d";
inline constexpr char kProgramTitle[] = "RAMVEX 2015";
inline constexpr char kVersionString[] = "2015.5.13";

// The file name without its folder; a name ending in ".rvd" (any case) loses
// everything from its first point, and the first character is upper-cased
// when the name is longer than one character.
std::string DisplayName(const std::string& path);

// "RAMVEX 2015.5.13 - " and the display name.
std::string MainCaption(const std::string& dataFileName);

// The data file's name with its extension replaced (".rv5o", ".rv5p",
// ".rv5r").
std::string SiblingFile(const std::string& dataFileName, const std::string& extension);

// Lower-case extension with its point, empty when the name has none.
std::string LowerExtension(const std::string& path);

// Save As proposes the data file under the current extension ".rv5d".
std::string SaveAsProposal(const std::string& dataFileName);
std::string SaveAsTitle(const std::string& proposal);

// Version read for the filter chosen in the Open dialog, by its position
// from 1: 2015, 2013, 3.0, 2.0.  "All Files" (5) and anything else give 0:
// the version is then taken from the extension.
int OpenFilterVersion(int filterIndex);

// Argument of the command line: ".rv5d" is added to a file name without a
// point.
std::string CommandLineProjectPath(const std::string& argument);

// The ten most recent files, entry 0 the most recent; empty strings are
// empty entries.
class TRecentFiles {
 public:
  static constexpr int kSize = 10;
  const std::array<std::string, kSize>& Entries() const { return entries_; }
  const std::string& Entry(int i) const { return entries_[static_cast<size_t>(i)]; }
  void SetEntry(int i, std::string path) { entries_[static_cast<size_t>(i)] = std::move(path); }
  void Clear() { entries_ = {}; }
  int Count() const;
  // Makes path the first entry: an entry already holding it (compared
  // exactly) moves up and the ones before it move down; otherwise every entry
  // moves down and the last is dropped.  Returns false when path already was
  // the first entry, so that nothing needs to be written.
  bool Use(const std::string& path);

 private:
  std::array<std::string, kSize> entries_;
};

// Caption of recent entry number (from 1): the number, a blank and the path,
// shown without the current folder when the file lies in it.
std::string RecentCaption(int number, const std::string& path, const std::string& currentFolder);

}  // namespace ramvex

namespace ramvex {

class TProgramData;

// Reads a project file.  version 0 takes the version from the extension;
// 1 to 4 read that version whatever the extension.  A staged project is
// split into its stage files, converted to the current layout when older.
void OpenProjectFile(TProgramData& data, const std::string& path, int version);

}  // namespace ramvex
