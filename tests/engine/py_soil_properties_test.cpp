// Strength and unit-weight lookups on hand-made tables.
#include <gtest/gtest.h>

#include "py_soil_properties.h"
#include "py_test_support.h"
#include "run_errors.h"

namespace ramvex {
namespace {

using testing::ScratchRun;

// Two layers meeting at x = 2, the second ending at 5.
PyProfile twoLayerTable(double lowerCohesion, double lowerPhi) {
  PyProfile p;
  p.strength = {{0.0, 10, 0.5, 0.01, 0}, {2.0, 20, 0.6, 0.02, 0}, {2.0, lowerCohesion, lowerPhi, 0.04, 0}, {5.0, 60, 0.9, 0.07, 0}};
  p.unitWeights = {{0.0, 0.0}, {2.0, 18}, {2.0, 10}, {5.0, 10}};
  return p;
}

TEST(PySoilProperties, StrengthBetweenPointsAndAtALayerBoundary) {
  ScratchRun s;
  const PyProfile p = twoLayerTable(30, 0.8);
  EXPECT_NEAR(cohesionAt(s.run, p, 1.0), 15, 1e-12);
  EXPECT_NEAR(phiAt(s.run, p, 3.5), 0.85, 1e-12);
  EXPECT_NEAR(e50At(p, 0.5), 0.0125, 1e-12);
  // At the boundary: the lower layer's cohesion, phi and E50 averaged.
  EXPECT_EQ(cohesionAt(s.run, p, 2.0), 30);
  EXPECT_NEAR(phiAt(s.run, p, 2.0), 0.7, 1e-12);
  EXPECT_NEAR(e50At(p, 2.0), 0.03, 1e-12);
  EXPECT_EQ(cohesionAt(s.run, p, 5.0), 60);
  EXPECT_EQ(e50At(p, 9.0), 0.07);

  // A value of zero on one side of the step: the other side's.
  const PyProfile zero = twoLayerTable(0, 0);
  EXPECT_EQ(cohesionAt(s.run, zero, 2.0), 20);
  EXPECT_NEAR(phiAt(s.run, zero, 2.0), 0.6, 1e-12);
}

TEST(PySoilProperties, LookupsBeyondTheTablesStopTheRun) {
  const PyProfile p = twoLayerTable(30, 0.8);
  struct Case {
    int which, code;
  } cases[] = {{0, 1}, {1, 0}, {2, 4}};
  for (const Case& c : cases) {
    ScratchRun s;
    try {
      if (c.which == 0) cohesionAt(s.run, p, 5.5);
      else if (c.which == 1) phiAt(s.run, p, 5.5);
      else meanUnitWeight(s.run, p, 5.5);
      ADD_FAILURE() << "no stop for lookup " << c.which;
    } catch (const SoilModelStop& stop) {
      EXPECT_EQ(stop.code, c.code);
      EXPECT_NE(s.report().find("THE VALUE OF X =  0.6D+01"), std::string::npos) << s.report();
    }
  }
}

TEST(PySoilProperties, MeanUnitWeightIntegratesTheTable) {
  ScratchRun s;
  const PyProfile p = twoLayerTable(30, 0.8);
  EXPECT_EQ(meanUnitWeight(s.run, p, 0.0), 18);  // the first positive weight
  EXPECT_NEAR(meanUnitWeight(s.run, p, 1.0), 4.5, 1e-12);  // 0 to 9 over the first metre
  EXPECT_NEAR(meanUnitWeight(s.run, p, 2.0), 9.0, 1e-12);
  EXPECT_NEAR(meanUnitWeight(s.run, p, 4.0), (18.0 + 20.0) / 4.0, 1e-12);
}

TEST(PySoilProperties, MeanCohesionOfALayer) {
  ScratchRun s;
  const PyProfile p = twoLayerTable(30, 0.8);
  EXPECT_EQ(meanCohesion(s.run, p, 2.0, 1), 30);                 // at the top: c there
  EXPECT_NEAR(meanCohesion(s.run, p, 3.5, 1), (30 + 45) / 2.0, 1e-12);
  EXPECT_NEAR(meanCohesion(s.run, p, 1.0, 0), 12.5, 1e-12);
}

}  // namespace
}  // namespace ramvex
