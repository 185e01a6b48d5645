// The project object: the scalar settings of a wall project, the option
// flags that decide which tables are written, and the data file and stage
// files in the engine's record layout.
#pragma once

#include <array>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "DefinedTables.h"

namespace ramvex {

class TWordReader;

// Versions of a project file.
enum TFileVersion { kVersion2015 = 1, kVersion2013 = 2, kVersion30 = 3, kVersion20 = 4 };

class TProgramData {
 public:
  explicit TProgramData(TProjectTables& tables);

  int UnitSystem = 1;
  std::string DataFileName = "NewWall.rv5d";
  std::string StageFileName;
  std::string SaveFileName;
  std::string PreviousFileName;
  std::string Title = "New Wall";
  int EarthPressureMode = 2;
  int EarthPressureOption = 0;
  int PYOption = 0;
  int MEICurveCount = 0;
  int TiebackCount = 0;
  int IncrementCount = 0;
  long double IncrementLength = 0;
  long double MaxDeflection = 100;
  long double ClosureTolerance = 1e-5L;
  long double FreeHeight = 0;
  long double ActiveWidth = 0;
  long double PYWidth = 0;
  long double WaterDepthBackfill = 0;
  long double WaterDepthExcavation = 0;
  long double ActivePressureFactor = 1;
  int SiteOptionCode = 1;
  long double BackfillSlope = 0;
  long double SurfacePressure = 0;
  // Horizontal distance, point load, line load, strip load, strip width.
  std::array<long double, 5> LegacySurcharge{};
  int StageCount = 1;
  int CurrentStage = 1;
  int Continuation = 0;
  bool StageFilesHaveMEICount = true;
  bool StageFilesHaveTiebackCount = true;

  bool UserEarthPressure = false;
  bool GeneratedEarthPressure = false;
  bool GeneratePYCurves = true;
  bool ApplyExternalPYCurves = false;
  bool ApplyEICurves = false;
  bool ApplyPYModification = false;
  bool ApplyConcentratedLoads = false;
  bool ApplySprings = false;
  bool ApplyTiebacks = false;
  bool ApplySurcharge = false;
  bool ApplyRestraints = false;
  bool LongTermAnalysis = false;

  // The main window's modified flag.
  bool Modified = false;
  // Status bar text of stage operations.
  std::function<void(const std::string&)> StatusMessage;
  // What the user must be told after an operation that succeeded in part of
  // what was asked: a staged file opened with fewer stage parts than its
  // stage count, a save that had to rebuild missing stage files.  Shown in
  // an information box; without a handler the text goes to StatusMessage.
  std::function<void(const std::string&)> WarningMessage;

  TProjectTables& Tables() const { return *tables_; }

  // Defaults, every table at its MinRows, unit system 1.
  void NewProject();
  void DeriveOptions(bool longTerm);

  // Text of one problem, without the continuation record.
  std::string ProblemText(bool longTerm, int stage = 0);
  // The whole data file of an unstaged project.
  std::string DataFileText();
  // Saves the data file: unstaged projects directly, staged ones by storing
  // the current stage and merging the stage files.  Returns the stages whose
  // stage file was missing and which were taken from the data file as last
  // saved (RestoreMissingStages); the user is told through WarningMessage.
  std::vector<int> WriteDataFile();
  // Before a staged project is merged: every stage without a stage file gets
  // one, from its part of the data file as last saved, or, when the data
  // file has no such part, as a copy of the stage before it.  Returns the
  // stages taken from the data file; tells the user through WarningMessage
  // of every stage rebuilt.  The tables hold the current stage afterwards.
  std::vector<int> RestoreMissingStages();

  // Reads a data file of the given version into the project and the tables.
  // A read error keeps what was read and is raised as EInOutError naming the
  // file.
  void ReadProject(const std::filesystem::path& path, int version);
  // Version of a file by its extension: ".rv4d" 2013, ".rvd" 3.0 (a 2.0
  // file shares the extension and is read with an explicit version), any
  // other extension the current version.
  static int VersionOf(const std::filesystem::path& path);
  // Reads a project file; a staged project is split into its stage files
  // (converted to the current layout when older).  version 0 takes the
  // version from the extension (VersionOf); otherwise it is the TFileVersion
  // the Open dialog's filter chose.  A conversion that fails leaves no half
  // converted project: the open fails as a whole (EInOutError) and the
  // project is a new one.
  void OpenProject(const std::filesystem::path& path, int version = 0);

  std::filesystem::path StageFilePath(int stage) const;
  void WriteStageFile();
  void ReadStageFile(const std::filesystem::path& path);
  void StoreStage();
  void LoadStage();
  void SwitchStage(int stage);
  void CopyPreviousStage();
  void ChangeStageCount(int count);
  void SplitStages();
  void ConvertStages(int version);
  void MergeStages(const std::filesystem::path& target, const std::filesystem::path& base);

  void SwitchUnits(int system);

 private:
  struct TLayout;
  void ReadProblem(TWordReader& r, const TLayout& layout, bool longTerm);
  void ReadSoilLayers(TWordReader& r, TGridTable& soil, const TLayout& layout, bool longTerm);
  void FillToMinRows();
  void EmptyTables();
  void Warn(const std::string& text) const;
  // The stage parts of a staged data file's text, stage 1 first.
  static std::vector<std::string> StageParts(const std::string& text);
  // The message of a unit switch that would overflow; empty when none.
  std::string UnitSwitchOverflow(int system) const;

  TProjectTables* tables_;
};

// Writes text to path through a temporary file in the same folder, so that
// a failed write leaves the previous file as it was.
void SaveTextFile(const std::filesystem::path& path, const std::string& text);

}  // namespace ramvex
