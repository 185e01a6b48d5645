// State of one engine run.  A fresh object is made for every call of the
// entry point, so nothing of an earlier run survives into the next.
#pragma once

#include <string>

#include "text_output.h"

namespace ramvex {

// Unit texts of the report headings, set from the unit system of each
// problem; any other unit code keeps the previous problem's labels.
struct UnitLabels {
  std::string length3 = "  L";
  std::string force4 = "   F";
  std::string length2 = " L";
  std::string force3 = "  F";

  void setFor(int units) {
    if (units == 1) {
      length3 = " IN"; force4 = " LBS"; length2 = "IN"; force3 = "LBS";
    } else if (units == 2) {
      length3 = "  M"; force4 = "  KN"; length2 = " M"; force3 = " KN";
    }
  }
};

struct RunState {
  std::string versionText;  // 12 characters, as read
  std::string dataPath, reportPath, plotPath, notesPath;

  TextOutput report;
  TextOutput plot;
  TextOutput notes;

  int problemCounter = 0;
  std::string firstTitle;
  std::string currentTitle;
  int resultSetCount = 1;
  UnitLabels labels;

  // Folder for the intermediate files ("BMWALL.001", "SOILDATA"): the
  // current directory of the run.
  std::string workDir = ".";
};

}  // namespace ramvex
