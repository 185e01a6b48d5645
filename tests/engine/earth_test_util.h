// Shared pieces of the earth-pressure tests: a run whose outputs go to a
// scratch folder, and problem inputs built in code.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "problem_input.h"
#include "run_state.h"

namespace ramvex::testing {

class EarthStepFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string(info->test_suite_name()) + "_" + info->name();
    for (char& c : name)
      if (c == '/') c = '_';
    dir_ = std::filesystem::temp_directory_path() / ("ramvex_earth_" + name);
    std::filesystem::remove_all(dir_);
    std::filesystem::create_directories(dir_);
    run.workDir = dir_.string();
    run.report.open((dir_ / "report.txt").string());
    run.notes.open((dir_ / "notes.txt").string());
  }
  void TearDown() override {
    run.report.close();
    run.notes.close();
    std::filesystem::remove_all(dir_);
  }
  std::string read(const std::string& name) {
    run.report.close();
    run.notes.close();
    std::ifstream in(dir_ / name, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
  }
  // Rows of "BMWALL.001" as numbers (depth, total, soil, surcharge).
  std::vector<std::array<double, 4>> pressureRows(int* count = nullptr) {
    std::ifstream in(dir_ / "BMWALL.001");
    int n = 0;
    in >> n;
    if (count) *count = n;
    std::vector<std::array<double, 4>> rows;
    std::array<double, 4> r{};
    while (in >> r[0] >> r[1] >> r[2] >> r[3]) rows.push_back(r);
    return rows;
  }

  RunState run;

 private:
  std::filesystem::path dir_;
};

inline SoilLayer layer(int type, double bottom, double unitWeight, double cohesion, double phi,
                       double optionalK = 0.0) {
  SoilLayer l;
  l.type = type;
  l.bottomDepth = bottom;
  l.top = {unitWeight, cohesion, phi, 0.0, 0.0, optionalK};
  l.bottom = l.top;
  return l;
}

// A problem with generated earth pressure: wall of `increments` x h, free
// height H, water tables far below unless set.
inline ProblemInput generatedProblem(int units, int increments, double h, double freeHeight) {
  ProblemInput in;
  in.control.units = units;
  in.control.earthPressureOption = 2;
  in.solution.increments = increments;
  in.solution.h = h;
  in.solution.freeHeight = freeHeight;
  in.solution.wa = 1.0;
  in.hasSite = true;
  in.site.freeHeight = freeHeight;
  in.site.wa = 1.0;
  in.site.wp = 1.0;
  in.site.waterDepthBackfill = 1.0e4;
  in.site.waterDepthExcavation = 1.0e4;
  in.site.activeFactor = 1.0;
  in.site.pressureStepOption = 1;
  return in;
}

// Rankine active coefficient for level ground, from the closed form.
inline double rankineKa(double phiDegrees) {
  const double a = (45.0 - phiDegrees / 2.0) * M_PI / 180.0;
  return std::tan(a) * std::tan(a);
}

// A value as read back from an E10.3 field agrees with `expected` to the
// three significant digits the field keeps.
inline ::testing::AssertionResult sameToThreeDigits(double actual, double expected) {
  if (expected == 0.0) {
    if (actual == 0.0) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << actual << " is not 0";
  }
  const double unit = std::pow(10.0, std::floor(std::log10(std::fabs(expected))) + 1.0 - 3.0);
  if (std::fabs(actual - expected) <= 0.5 * unit * 1.001) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << actual << " differs from " << expected << " beyond E10.3 rounding";
}

}  // namespace ramvex::testing
