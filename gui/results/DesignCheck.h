// Design checks over a project: the embedment sweep (the same wall analysed
// at a range of lengths) and the mesh check (the same wall at h and h/2).
//
// Engineers choose the embedment by lengthening the wall until the top
// deflection stops changing and the limits hold; the finite-difference
// scheme converges at first order in h, so the increment length deserves a
// check of its own.  These functions rewrite a project through its object
// and tables and judge the results of runs made elsewhere (the engine keeps
// its working files in the current directory, so every run is a process of
// its own).  No widgets and no processes here.
#pragma once

#include <iosfwd>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "ReportOutcome.h"
#include "ResultsSummary.h"

namespace ramvex {

class TProgramData;

// A study that cannot be set up as asked; what() is the message for the
// user.
class EDesignError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The engine's limit on the number of increments.
constexpr int kMaxIncrements = 300;

// Lengths of a study are given as the program shows wall lengths: feet in
// US projects, metres in SI ones, the stored unit in other units.
const char* WallLengthUnit(int system);
// Stored length (inches, metres) of one shown length unit.
long double WallLengthFactor(int system);

// Shown length of the wall, N x h.
double WallLength(const TProgramData& project);
// Increments that make a wall of `length` (shown units) at the project's h.
// Raises EDesignError when the length is not a whole number of increments
// or needs more than kMaxIncrements.
int IncrementsForLength(const TProgramData& project, double length);
// The lengths from `from` to `to` (inclusive) by `step`.
std::vector<double> SweepLengths(double from, double to, double step);

// Rewrites the project as a wall of `increments` increments at the same h.
// The wall's stiffness rows and moment-EI ranges end at the new toe; a
// restraint, spring or load row that referred to the old toe node follows
// the toe; every other node reference keeps its depth.  A restraint, spring
// or load that would lie below the new toe raises EDesignError and leaves
// the project as it was; stiffness and moment-EI rows below the new toe are
// dropped with the part of the wall they described (moment-EI curves that
// all lie below it are switched off).
void SetWallIncrements(TProgramData& project, int increments);

// The finer mesh of the mesh check: 2N increments of h/2 when 2N is within
// the limit; otherwise the project itself is the finer mesh and the coarser
// one is N/2 increments of 2h, possible only when every node reference is
// even.
struct TMeshPlan {
  bool Refine = true;  // false: coarsen the project instead
  int CoarseIncrements = 0, FineIncrements = 0;
  long double CoarseLength = 0, FineLength = 0;  // h, stored units
};
TMeshPlan PlanMesh(const TProgramData& project);
// Rewrites the project at `increments` increments of `length`, scaling every
// node reference exactly by the ratio of the increment counts (2 or 1/2).
void SetMesh(TProgramData& project, int increments, long double incrementLength);

struct TCaseTieback {
  std::string Name;  // "T1", or "Long-Term T1" when the job has more problems
  double Depth = 0;
  double Force = 0;
};

// One run of a study, in the summary's units.  Over the problems of a job
// (short and long term) the extremes are the largest in magnitude and the
// outcome is the worst.
struct TCaseResult {
  double Length = 0;  // shown units
  int Increments = 0;
  double IncrementLength = 0;  // stored units
  double Embedment = 0;        // below the excavation, shown units
  bool Ran = false;            // the engine wrote a report
  TOutcome Outcome = TOutcome::ErrorStop;
  std::string Message;  // the engine's message, or why the case did not run
  bool HasResults = false;
  double TopDeflection = 0;
  TExtreme Moment, Shear;
  std::vector<TCaseTieback> Tiebacks;
};

// The case from the summary of its run.
TCaseResult CaseFromSummary(const TResultsSummary& summary);
// The length columns of a case of the project as it now stands.
void SetCaseGeometry(TCaseResult& c, const TProgramData& project);

struct TSweepVerdict {
  // Index of the shortest length that closed within the maximum deflection;
  // -1 when none did.
  int Shortest = -1;
  // Index of the critical length: from it on, every longer wall's top
  // deflection is within the tolerance of the longest wall's; -1 when the
  // longest wall did not close.
  int Critical = -1;
};
// Cases in ascending length; tolerance is relative (0.05 for 5 %);
// maxDeflection in the summary's deflection unit.
TSweepVerdict JudgeSweep(const std::vector<TCaseResult>& cases, double tolerance,
                         std::optional<double> maxDeflection);

// Relative change of a result from the coarser to the finer mesh, against
// the finer one; 0 when both are 0.
double RelativeChange(double coarse, double fine);

struct TMeshChange {
  std::string Quantity;
  double Coarse = 0, Fine = 0, Change = 0;
};
struct TMeshVerdict {
  bool Judged = false;  // both runs closed with results
  int CoarseIncrements = 0, FineIncrements = 0;
  std::vector<TMeshChange> Changes;
  bool Adequate = false;
  std::string Text;
};
constexpr double kMeshLimit = 0.02;
TMeshVerdict JudgeMesh(const TCaseResult& coarse, const TCaseResult& fine, const TSummaryUnits& units);

// The study's table as the tool prints it and the window shows it.
TTextTable SweepTable(const std::vector<TCaseResult>& cases, int units);
TTextTable MeshTable(const TMeshVerdict& verdict, const TSummaryUnits& units);
std::string SweepVerdictText(const std::vector<TCaseResult>& cases, const TSweepVerdict& verdict, int units,
                             double tolerance, std::optional<double> maxDeflection);

// The cases as CSV: the first line names the unit system, the second the
// columns; numbers in full precision with a point whatever the locale.
void WriteCasesCsv(std::ostream& out, const std::vector<TCaseResult>& cases, int units);
// Reads what WriteCasesCsv wrote; raises EDesignError naming the line that
// does not fit.
std::vector<TCaseResult> ReadCasesCsv(std::istream& in, int& units);

}  // namespace ramvex
