#include "MainFiles.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace ramvex {
namespace {

TEST(DisplayName, Table) {
  const std::pair<const char*, const char*> cases[] = {
      {"NewWall.rv5d", "NewWall.rv5d"},
      {"wall.rv5d", "Wall.rv5d"},
      {"/projects/site a/wall.rvd", "Wall"},
      {"/p/WALL.RVD", "WALL"},
      {"/p/my.wall.rvd", "My"},     // everything from the first point goes
      {"/p/old.rv4d", "Old.rv4d"},  // only the default extension is dropped
      {"/p.d/x", "x"},              // one character stays as it is
      {"/p/a.rvd", "a"},
      {"/p/échafaud.rv5d", "échafaud.rv5d"},  // a multi-byte first letter is left alone
  };
  for (auto [path, shown] : cases) EXPECT_EQ(DisplayName(path), shown) << path;
}

TEST(DisplayName, Caption) {
  EXPECT_EQ(MainCaption(kNewProjectName), "RAMVEX 2015.5.13 - NewWall.rv5d");
  EXPECT_EQ(MainCaption("/x/wall.rvd"), "RAMVEX 2015.5.13 - Wall");
}

TEST(SaveAs, ProposalAndTitle) {
  EXPECT_EQ(SaveAsProposal("/p/old.rv4d"), "/p/old.rv5d");
  EXPECT_EQ(SaveAsProposal("/p/old.rvd"), "/p/old.rv5d");
  EXPECT_EQ(SaveAsProposal("/p/new.rv5d"), "/p/new.rv5d");
  EXPECT_EQ(SaveAsProposal("/p/NEW.RV5D"), "/p/NEW.RV5D");
  EXPECT_EQ(SaveAsTitle("/p/old.rv5d"), "Save Old.rv5d As");
  EXPECT_EQ(SiblingFile("/p/a.b/wall.rv5d", ".rv5p"), "/p/a.b/wall.rv5p");
}

TEST(OpenDialog, FilterDecidesTheVersion) {
  // 2015, 2013, 3.0, 2.0; "All Files" leaves it to the extension.
  const int expected[] = {0, 1, 2, 3, 4, 0, 0};
  for (int i = 0; i <= 6; ++i) EXPECT_EQ(OpenFilterVersion(i), expected[i]) << i;
}

TEST(CommandLine, ExtensionAddedToABareName) {
  EXPECT_EQ(CommandLineProjectPath("wall"), "wall.rv5d");
  EXPECT_EQ(CommandLineProjectPath("site.v2/wall"), "site.v2/wall.rv5d");
  EXPECT_EQ(CommandLineProjectPath("wall.rvd"), "wall.rvd");
  EXPECT_EQ(CommandLineProjectPath(""), "");
}

std::vector<std::string> Entries(const TRecentFiles& r) { return {r.Entries().begin(), r.Entries().end()}; }

TRecentFiles Letters() {
  TRecentFiles r;
  for (int i = 0; i < TRecentFiles::kSize; ++i) r.SetEntry(i, std::string(1, static_cast<char>('A' + i)));
  return r;
}

TEST(RecentFiles, ThirdEntryMovesToTheTop) {
  TRecentFiles r = Letters();
  EXPECT_TRUE(r.Use("C"));
  EXPECT_EQ(Entries(r), (std::vector<std::string>{"C", "A", "B", "D", "E", "F", "G", "H", "I", "J"}));
}

TEST(RecentFiles, FirstEntryChangesNothing) {
  TRecentFiles r = Letters();
  EXPECT_FALSE(r.Use("A"));
  EXPECT_EQ(Entries(r), Entries(Letters()));
}

TEST(RecentFiles, LastEntryAndNewFile) {
  TRecentFiles r = Letters();
  EXPECT_TRUE(r.Use("J"));
  EXPECT_EQ(Entries(r), (std::vector<std::string>{"J", "A", "B", "C", "D", "E", "F", "G", "H", "I"}));
  EXPECT_TRUE(r.Use("K"));  // a new file pushes the oldest out
  EXPECT_EQ(Entries(r), (std::vector<std::string>{"K", "J", "A", "B", "C", "D", "E", "F", "G", "H"}));
}

TEST(RecentFiles, CaseMattersAndEmptyEntriesFill) {
  TRecentFiles r;
  EXPECT_EQ(r.Count(), 0);
  r.Use("/p/wall.rv5d");
  r.Use("/p/Wall.rv5d");
  EXPECT_EQ(r.Count(), 2);
  r.Use("/p/wall.rv5d");
  EXPECT_EQ(r.Entry(0), "/p/wall.rv5d");
  EXPECT_EQ(r.Entry(1), "/p/Wall.rv5d");
  EXPECT_EQ(r.Count(), 2);
}

TEST(RecentFiles, CaptionDropsTheCurrentFolder) {
  EXPECT_EQ(RecentCaption(1, "/home/u/walls/a.rv5d", "/home/u/walls"), "1 a.rv5d");
  EXPECT_EQ(RecentCaption(2, "/home/u/walls/a.rv5d", "/home/u/walls/"), "2 a.rv5d");
  EXPECT_EQ(RecentCaption(3, "/home/u/walls2/a.rv5d", "/home/u/walls"), "3 /home/u/walls2/a.rv5d");
  EXPECT_EQ(RecentCaption(10, "/home/u/a.rv5d", "/"), "10 home/u/a.rv5d");
}

}  // namespace
}  // namespace ramvex
