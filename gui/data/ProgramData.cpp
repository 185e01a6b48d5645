#include "ProgramData.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <sstream>
#include <system_error>
#include <vector>

#include "AssignError.h"
#include "NumberText.h"
#include "Units.h"
#include "WordRead.h"

namespace ramvex {

namespace {

namespace fs = std::filesystem;

constexpr char kStageMarker[] = " Stage No :";
// Longest row count a file may ask for; anything above is a damaged file,
// not a project.
constexpr int kMaxFileRows = 10000;

// Feet in the table, inches in the file.
constexpr long double kFoot = 12.0L;
// Per cubic foot and per square foot in the table, per inch in the file.
constexpr long double kCubicFoot = 1728.0L;
constexpr long double kSquareFoot = 144.0L;
// Square millimetres in the table, square metres in the file.
constexpr long double kSquareMetreInMm2 = 1000000.0L;
// Surcharge distances and widths: millimetres in the table of an SI project,
// metres in the legacy surcharge record of older files.
constexpr long double kMetreInMm = 1000.0L;

constexpr long double kInchInMetres = 0.0254L;
constexpr long double kPoundInKilonewtons = 0.004448222468060651L;

// Column of a soil parameter table for each of the six values of a layer
// row, by soil type; -1 where the type has no value.
constexpr int kSoilColumns[8][6] = {
    {-1, -1, -1, -1, -1, -1},
    {0, 1, -1, 2, 3, 4},     // soft clay
    {0, 1, -1, 2, 3, 4},     // stiff clay with free water
    {0, 1, -1, 2, 3, 4},     // stiff clay without free water
    {0, -1, 1, -1, 2, 3},    // sand
    {0, 2, 1, 3, 4, 5},      // silt
    {0, 1, -1, -1, -1, -1},  // strong rock
    {0, 1, -1, 2, 3, 4},     // weak rock
};

int SoilTypeIndex(int type) { return type >= 1 && type <= 7 ? type : 0; }
bool HasCohesion(int type) { return (type >= 1 && type <= 3) || type == 5; }

// One record: tokens separated by tabs, CR LF at the end.
class TRecord {
 public:
  explicit TRecord(std::string& out) : out_(out) {}
  ~TRecord() { out_ += "\r\n"; }
  TRecord& I(long long v) { return Put(std::to_string(v)); }
  TRecord& R(long double v) {
    // A value past the largest number would be written as "INF", which no
    // reader takes: the save fails and the previous file stays.
    if (!std::isfinite(v)) throw EInOutError("A value of the project is too large to be written to the data file.");
    return Put(FormatGeneral(v, 8));
  }
  TRecord& Text(const std::string& s) {
    out_ += s;
    first_ = false;
    return *this;
  }

 private:
  TRecord& Put(const std::string& s) {
    if (!first_) out_ += '\t';
    out_ += s;
    first_ = false;
    return *this;
  }
  std::string& out_;
  bool first_ = true;
};

// A title is one line of the file.
std::string TitleLine(const std::string& title) {
  std::string t = title;
  std::replace(t.begin(), t.end(), '\r', ' ');
  std::replace(t.begin(), t.end(), '\n', ' ');
  return t;
}

// Moves to the next line after a record, as the engine does: the rest of
// the record's last line is ignored.
void EndRecord(TWordReader& r) {
  if (!r.AtEnd() && r.WordIndex() > 0) r.ReadLine();
}

int ReadCount(TWordReader& r) {
  int n = r.ReadInteger();
  if (n > kMaxFileRows) {
    throw EInOutError("Error on Line " + std::to_string(r.LineIndex() + 1) + " Item " + std::to_string(r.WordIndex()) +
                      "\rThis file either invalid or incomplete.");
  }
  return std::max(n, 0);
}

// A value read from a file and brought to the table's units must stay a
// number: an overflow would be written back as "INF", which no reader takes,
// and the saved project could never be opened again.
long double Checked(const TWordReader& r, long double value) {
  if (!std::isfinite(value)) {
    throw EInOutError("Error on Line " + std::to_string(r.LineIndex() + 1) + " Item " + std::to_string(r.WordIndex()) +
                      "\rThe value is too large for the project's units.");
  }
  return value;
}

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  size_t i = 0;
  while (i < text.size()) {
    size_t e = text.find_first_of("\r\n", i);
    if (e == std::string::npos) e = text.size();
    lines.emplace_back(text.substr(i, e - i));
    i = e;
    if (i < text.size() && text[i] == '\r') ++i;
    if (i < text.size() && text[i] == '\n') ++i;
  }
  return lines;
}

std::string ReadWholeFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw EInOutError("Cannot open file " + path.string());
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

}  // namespace

void SaveTextFile(const fs::path& path, const std::string& text) {
  fs::path temp = path;
  temp += ".tmp~";
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    if (!out) throw EInOutError("Cannot create file " + temp.string());
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    out.flush();
    if (!out) {
      out.close();
      std::error_code ec;
      fs::remove(temp, ec);
      throw EInOutError("Cannot write file " + path.string());
    }
  }
  std::error_code ec;
  fs::rename(temp, path, ec);
  if (ec) {
    std::error_code ignored;
    fs::remove(temp, ignored);
    throw EInOutError("Cannot write file " + path.string() + ": " + ec.message());
  }
}

struct TProgramData::TLayout {
  bool StageCount = true;
  bool MEICount = true;
  bool TiebackCount = true;  // also the width of the solution control record
  bool SurchargeRows = true;
  bool PYMultipliers = true;
  bool Continuation = true;
  bool LayerThickness = false;

  static TLayout ForVersion(int version) {
    TLayout l;
    if (version == kVersion2015) return l;
    l.TiebackCount = false;
    if (version == kVersion2013) return l;
    l.MEICount = false;
    l.SurchargeRows = false;
    l.PYMultipliers = false;
    if (version == kVersion30) return l;
    l.StageCount = false;
    l.Continuation = false;
    l.LayerThickness = true;
    return l;
  }
  static TLayout ForStageFiles(bool meiCount, bool tiebackCount) {
    TLayout l;
    l.MEICount = meiCount;
    l.SurchargeRows = meiCount;
    l.PYMultipliers = meiCount;
    l.TiebackCount = tiebackCount;
    return l;
  }
};

TProgramData::TProgramData(TProjectTables& tables) : tables_(&tables) {}

void TProgramData::NewProject() {
  // Empty tables switch without converting anything, and the old scalar
  // values are dropped, not converted.
  for (TGridTable* t : tables_->All()) t->SetRowCount(0);
  for (TGridTable* t : tables_->All()) t->SetUnits(1);
  TProgramData defaults(*tables_);
  defaults.StatusMessage = StatusMessage;
  defaults.WarningMessage = WarningMessage;
  *this = defaults;
  for (TGridTable* t : tables_->All()) t->SetRowCount(t->MinRows());
  SwitchUnits(1);
  Modified = false;
  StageFilesHaveMEICount = true;
  StageFilesHaveTiebackCount = true;
}

void TProgramData::DeriveOptions(bool longTerm) {
  if (!ApplyConcentratedLoads) tables_->BoundCond->SetRowCount(0);
  if (!ApplyRestraints) tables_->SoilLayer->SetRowCount(0);
  if (!ApplyExternalPYCurves) tables_->PYCurves2->SetRowCount(0);
  if (!ApplyPYModification) tables_->PYMod->SetRowCount(0);
  int mode = longTerm ? 2 : EarthPressureMode;
  if (UserEarthPressure) {
    EarthPressureOption = 1;
    GeneratedEarthPressure = false;
  } else {
    EarthPressureOption = GeneratePYCurves ? mode : 0;
    if (GeneratedEarthPressure) EarthPressureOption = mode;
  }
  PYOption = GeneratePYCurves ? 2 : (ApplyExternalPYCurves ? 1 : 0);
  MEICurveCount = ApplyEICurves ? tables_->MEICurves2->RowCount() : 0;
  TiebackCount = ApplyTiebacks ? tables_->TiebackTable1->RowCount() : 0;
}

std::string TProgramData::ProblemText(bool longTerm, int stage) {
  DeriveOptions(longTerm);
  TProjectTables& t = *tables_;
  const bool english = UnitSystem == 1;
  const bool si = UnitSystem == 2;
  const long double foot = english ? kFoot : 1.0L;
  std::string out;

  if (stage >= 2) {
    TRecord(out).Text(std::string(kStageMarker) + " " + std::to_string(stage));
  } else {
    TRecord(out).Text(TitleLine(Title));
  }
  TRecord(out)
      .I(UnitSystem)
      .I(t.SoilLayer->RowCount())
      .I(t.PileSect->RowCount())
      .I(t.PYMod->RowCount())
      .I(EarthPressureOption)
      .I(PYOption)
      .I(t.PYCurves2->RowCount())
      .I(StageCount)
      .I(MEICurveCount)
      .I(TiebackCount);
  TRecord(out).I(IncrementCount).R(IncrementLength).R(MaxDeflection).R(ClosureTolerance).R(FreeHeight).R(ActiveWidth);

  if (ApplyRestraints) {
    TGridTable& s = *t.SoilLayer;
    for (int r = 0; r < s.RowCount(); ++r) TRecord(out).I(s.Int(0, r)).I(s.Int(1, r)).R(s.Float(2, r)).R(s.Float(3, r));
  }

  TGridTable& pile = *t.PileSect;
  if (pile.RowCount() > 0) pile.Column(2)->SetInt(pile.RowCount() - 1, 1);
  for (int r = 0; r < pile.RowCount(); ++r) {
    TRecord(out).I(pile.Int(0, r)).I(pile.Int(1, r)).I(pile.Int(2, r)).R(pile.Float(3, r));
  }

  TGridTable& loads = *t.BoundCond;
  TRecord(out).I(loads.RowCount());
  for (int r = 0; r < loads.RowCount(); ++r) {
    TRecord(out)
        .I(loads.Int(0, r))
        .I(loads.Int(1, r))
        .I(loads.Int(2, r))
        .R(loads.Float(3, r))
        .R(loads.Float(4, r))
        .R(loads.Float(5, r));
  }

  if (!ApplySprings) t.SoilStrength->SetRowCount(0);
  TGridTable& springs = *t.SoilStrength;
  TRecord(out).I(springs.RowCount());
  for (int r = 0; r < springs.RowCount(); ++r) {
    TRecord(out)
        .I(springs.Int(1, r))
        .I(springs.Int(2, r))
        .I(springs.Int(0, r))
        .R(springs.Float(3, r))
        .R(springs.Float(4, r));
  }
  if (!ApplyTiebacks) t.TiebackTable1->SetRowCount(0);
  TGridTable& ties = *t.TiebackTable1;
  for (int r = 0; r < TiebackCount; ++r) {
    TRecord(out)
        .R(ties.Float(0, r))
        .R(si ? ties.Float(1, r) / kSquareMetreInMm2 : ties.Float(1, r))
        .R(ties.Float(2, r))
        .R(ties.Float(3, r))
        .R(ties.Float(4, r))
        .R(ties.Float(5, r))
        .R(ties.Float(6, r));
  }

  if (ApplyPYModification) {
    TGridTable& m = *t.PYMod;
    for (int r = 0; r < m.RowCount(); ++r) TRecord(out).R(m.Float(0, r) * foot).R(m.Float(1, r)).R(m.Float(2, r));
  }

  if (EarthPressureOption == 1) {
    TGridTable& d = longTerm ? *t.LongDist : *t.DistLoad;
    TRecord(out).I(d.RowCount());
    for (int r = 0; r < d.RowCount(); ++r) TRecord(out).R(d.Float(0, r) * foot).R(d.Float(1, r) / foot);
  }

  if (EarthPressureOption >= 2 || PYOption == 2) {
    TRecord(out)
        .R(FreeHeight)
        .R(ActiveWidth)
        .R(PYWidth)
        .R(WaterDepthBackfill)
        .R(WaterDepthExcavation)
        .R(ActivePressureFactor)
        .I(SiteOptionCode)
        .R(BackfillSlope);
    {
      TRecord rec(out);
      rec.R(SurfacePressure);
      for (long double v : LegacySurcharge) rec.R(v);
    }
    if (!ApplySurcharge) t.SurchargeTable->SetRowCount(0);
    TGridTable& sur = *t.SurchargeTable;
    TRecord(out).I(sur.RowCount());
    for (int r = 0; r < sur.RowCount(); ++r) {
      TRecord(out).I(sur.Int(0, r)).R(sur.Float(1, r)).R(sur.Float(2, r)).R(sur.Float(3, r));
    }
    TGridTable& soil = longTerm ? *t.LongSoil : *t.NewSoil;
    TRecord(out).I(soil.RowCount());
    const long double cube = english ? kCubicFoot : 1.0L;
    const long double square = english ? kSquareFoot : 1.0L;
    for (int r = 0; r < soil.RowCount(); ++r) {
      int type = soil.Int(0, r);
      TRecord(out).I(type).R(soil.Float(1, r) * foot);
      TGridTable* p = soil.Nested(2, r);
      const int* cols = kSoilColumns[SoilTypeIndex(type)];
      for (int row = 0; row < 2; ++row) {
        TRecord rec(out);
        for (int pos = 0; pos < 6; ++pos) {
          long double v = 0;
          int c = cols[pos];
          if (p && c >= 0 && c < p->ColumnCount() && row < p->RowCount()) v = p->Float(c, row);
          if (pos == 0) v /= cube;
          if (pos == 1 && HasCohesion(type)) v /= square;
          // The long-term profile uses the computed active coefficient.
          if (pos == 5 && longTerm && type != kStrongRock && type != kWeakRock) v = 0;
          rec.R(v);
        }
      }
    }
  }

  if (ApplyExternalPYCurves) {
    TGridTable& sets = *t.PYCurves2;
    for (int r = 0; r < sets.RowCount(); ++r) {
      TGridTable* curve = sets.Nested(1, r);
      int n = curve ? curve->RowCount() : 0;
      TRecord(out).I(sets.Int(0, r)).I(n).R(sets.Float(2, r)).R(sets.Float(3, r));
      for (int k = 0; k < n; ++k) TRecord(out).R(curve->Float(0, k)).R(curve->Float(1, k));
    }
  }

  if (ApplyEICurves) {
    TGridTable& mei = *t.MEICurves2;
    for (int r = 0; r < mei.RowCount(); ++r) {
      TGridTable* curve = mei.Nested(2, r);
      int n = curve ? curve->RowCount() : 0;
      TRecord(out).I(mei.Int(0, r)).I(mei.Int(1, r)).I(n);
      for (int k = 0; k < n; ++k) TRecord(out).R(curve->Float(0, k)).R(curve->Float(1, k));
    }
  }
  return out;
}

std::string TProgramData::DataFileText() {
  std::string text = ProblemText(false);
  TRecord(text).I(LongTermAnalysis ? 9 : 0);
  if (LongTermAnalysis) {
    text += ProblemText(true);
    TRecord(text).I(0);
  }
  return text;
}

std::vector<int> TProgramData::WriteDataFile() {
  std::vector<int> fromDataFile;
  if (StageCount > 1) {
    StoreStage();
    fromDataFile = RestoreMissingStages();
    MergeStages(DataFileName, DataFileName);
  } else {
    SaveTextFile(DataFileName, DataFileText());
  }
  Modified = false;
  StageFilesHaveMEICount = true;
  StageFilesHaveTiebackCount = true;
  return fromDataFile;
}

std::vector<int> TProgramData::RestoreMissingStages() {
  std::vector<int> missing;
  for (int k = 1; k <= StageCount; ++k) {
    if (!fs::exists(StageFilePath(k))) missing.push_back(k);
  }
  // Without a data file there is nothing saved to take a stage from (a
  // project saved under a new name merges from its old stage files):
  // the merge reports the missing file.
  if (missing.empty() || !fs::exists(DataFileName)) return {};

  // The data file as last saved is the concatenation of the stage files
  // then; its parts are what the user last saved of the missing stages.
  const std::vector<std::string> parts = StageParts(ReadWholeFile(DataFileName));

  const int current = CurrentStage;
  const bool modified = Modified;
  std::vector<int> fromDataFile, copied;
  try {
    for (int k : missing) {
      if (k <= static_cast<int>(parts.size())) {
        SaveTextFile(StageFilePath(k), parts[static_cast<size_t>(k - 1)]);
        fromDataFile.push_back(k);
      } else {
        // Nothing of this stage was ever saved: it starts from the stage
        // before it, as switching to a stage without a file does.
        CurrentStage = k - 1;
        LoadStage();
        copied.push_back(k);
      }
      // Read and stored again, so the stage carries the project's stage
      // count and the current layout like every other stage file.
      CurrentStage = k;
      LoadStage();
      StoreStage();
    }
  } catch (...) {
    // The current stage was stored first: the tables go back to it.
    CurrentStage = current;
    LoadStage();
    Modified = modified;
    throw;
  }
  CurrentStage = current;
  LoadStage();
  Modified = modified;

  auto list = [](const std::vector<int>& stages) {
    std::string text;
    for (size_t i = 0; i < stages.size(); ++i) {
      if (i) text += i + 1 == stages.size() ? " and " : ", ";
      text += std::to_string(stages[i]);
    }
    return text;
  };
  std::string text;
  if (!fromDataFile.empty()) {
    text += (fromDataFile.size() == 1 ? "The stage file of stage " : "The stage files of stages ") + list(fromDataFile) +
            (fromDataFile.size() == 1 ? " was" : " were") + " missing; taken from the data file as last saved.";
  }
  if (!copied.empty()) {
    if (!text.empty()) text += "\r";
    text += (copied.size() == 1 ? "Stage " : "Stages ") + list(copied) +
            (copied.size() == 1 ? " was" : " were") + " never saved; copied from the stage before.";
  }
  Warn(text);
  return fromDataFile;
}

// ---------------------------------------------------------------- reading

void TProgramData::EmptyTables() {
  for (TGridTable* t : tables_->Plain()) t->SetRowCount(0);
}

void TProgramData::FillToMinRows() {
  // Chart tables keep their count: an added p-y curve set or moment-EI
  // curve would be written as data.
  for (TGridTable* t : tables_->Plain()) {
    if (t->RowCount() < t->MinRows()) t->SetRowCount(t->MinRows());
  }
}

void TProgramData::ReadSoilLayers(TWordReader& r, TGridTable& soil, const TLayout& layout, bool longTerm) {
  const bool english = UnitSystem == 1 && !layout.LayerThickness;
  const long double foot = english ? kFoot : 1.0L;
  const long double cube = english ? kCubicFoot : 1.0L;
  const long double square = english ? kSquareFoot : 1.0L;
  int layers = ReadCount(r);
  EndRecord(r);
  soil.SetRowCount(layers);
  long double bottom = 0;
  for (int i = 0; i < layers; ++i) {
    int type = r.ReadInteger();
    long double depth = r.ReadReal();
    if (layout.LayerThickness) {
      bottom += depth;
      // The table holds the sum as read; the writer gives it in inches.
      Checked(r, bottom * (UnitSystem == 1 ? kFoot : 1.0L));
    }
    EndRecord(r);
    // A new choice builds the row's parameter table of that soil.
    soil.Column(0)->SetInt(i, type);
    if (layout.LayerThickness) {
      soil.Column(1)->SetFloat(i, bottom);
    } else {
      soil.Column(1)->SetFloat(i, depth / foot);
    }
    TGridTable* p = soil.Nested(2, i);
    if (p) {
      p->SetNumber(i + 1);
      p->SetRowCount(p->MinRows());
    }
    const int* cols = kSoilColumns[SoilTypeIndex(type)];
    auto store = [&](int row, int pos, long double v) {
      int c = cols[pos];
      if (!p || c < 0 || c >= p->ColumnCount() || row >= p->RowCount()) return;
      if (pos == 0) v *= cube;
      if (pos == 1 && HasCohesion(type)) v *= square;
      // Called right after the value is read, so the reader names it.
      p->Column(c)->SetFloat(row, Checked(r, v));
    };
    if (layout.LayerThickness) {
      long double v[5];
      for (long double& x : v) x = r.ReadReal();
      EndRecord(r);
      for (int row = 0; row < 2; ++row) {
        for (int pos = 0; pos < 5; ++pos) store(row, pos, v[pos]);
      }
    } else {
      for (int row = 0; row < 2; ++row) {
        for (int pos = 0; pos < 6; ++pos) {
          long double v = r.ReadReal();
          if (pos == 5 && longTerm && type != kStrongRock && type != kWeakRock) continue;
          store(row, pos, v);
        }
        EndRecord(r);
      }
    }
  }
}

void TProgramData::ReadProblem(TWordReader& r, const TLayout& layout, bool longTerm) {
  TProjectTables& t = *tables_;
  std::string title = r.ReadLine();
  if (!longTerm) Title = title;
  const int units = r.ReadInteger();
  try {
    SwitchUnits(units);
  } catch (const EAssignError& e) {
    throw EInOutError("Error on Line " + std::to_string(r.LineIndex() + 1) + " Item " + std::to_string(r.WordIndex()) +
                      "\r" + e.what());
  }
  const bool english = UnitSystem == 1;
  const bool si = UnitSystem == 2;
  const long double foot = english ? kFoot : 1.0L;

  int nsds = ReadCount(r);
  int nstif = ReadCount(r);
  int npymod = ReadCount(r);
  int epo = r.ReadInteger();
  int pyo = r.ReadInteger();
  int nupy = ReadCount(r);
  int nstage = layout.StageCount ? r.ReadInteger() : StageCount;
  int nmei = layout.MEICount ? ReadCount(r) : 0;
  int ntie = layout.TiebackCount ? ReadCount(r) : 0;
  EndRecord(r);

  t.SoilLayer->SetRowCount(nsds);
  t.PileSect->SetRowCount(nstif);
  t.PYMod->SetRowCount(npymod);
  EarthPressureOption = epo;
  PYOption = pyo;
  if (!longTerm) {
    // The long-term problem always carries the triangular distribution;
    // the short-term choice stands.
    // The mode is a menu choice of 1 to 3; a file without earth pressure
    // leaves the default, so turning generation on later generates the
    // triangular distribution instead of writing option 0 again.
    EarthPressureMode = epo >= 1 && epo <= 3 ? epo : 2;
    ApplyRestraints = nsds > 0;
    GeneratedEarthPressure = epo > 1;
    GeneratePYCurves = pyo == 2;
    UserEarthPressure = epo == 1;
    ApplyExternalPYCurves = pyo == 1 || nupy > 0;
    LongTermAnalysis = false;
    ApplyPYModification = npymod > 0;
    StageCount = std::clamp(nstage, 1, 5);
    ApplyEICurves = nmei > 0;
    ApplyTiebacks = ntie > 0;
  }
  t.PYCurves2->SetRowCount(nupy);
  t.MEICurves2->SetRowCount(nmei);
  t.TiebackTable1->SetRowCount(ntie);

  IncrementCount = r.ReadInteger();
  IncrementLength = r.ReadReal();
  MaxDeflection = r.ReadReal();
  ClosureTolerance = r.ReadReal();
  FreeHeight = r.ReadReal();
  // The width is kept: without site records it is the only place that
  // holds it, and tieback forces are scaled by it.
  if (layout.TiebackCount) ActiveWidth = r.ReadReal();
  EndRecord(r);

  TGridTable& s = *t.SoilLayer;
  for (int i = 0; i < nsds; ++i) {
    s.Column(0)->SetInt(i, r.ReadInteger());
    s.Column(1)->SetInt(i, r.ReadInteger());
    s.Column(2)->SetFloat(i, r.ReadReal());
    s.Column(3)->SetFloat(i, r.ReadReal());
    EndRecord(r);
  }
  TGridTable& pile = *t.PileSect;
  for (int i = 0; i < nstif; ++i) {
    pile.Column(0)->SetInt(i, r.ReadInteger());
    pile.Column(1)->SetInt(i, r.ReadInteger());
    pile.Column(2)->SetInt(i, r.ReadInteger());
    pile.Column(3)->SetFloat(i, r.ReadReal());
    EndRecord(r);
  }
  int nloads = ReadCount(r);
  EndRecord(r);
  TGridTable& loads = *t.BoundCond;
  loads.SetRowCount(nloads);
  for (int i = 0; i < nloads; ++i) {
    for (int c = 0; c < 3; ++c) loads.Column(c)->SetInt(i, r.ReadInteger());
    for (int c = 3; c < 6; ++c) loads.Column(c)->SetFloat(i, r.ReadReal());
    EndRecord(r);
  }
  if (!longTerm) ApplyConcentratedLoads = nloads > 0;
  int nsprings = ReadCount(r);
  EndRecord(r);
  TGridTable& springs = *t.SoilStrength;
  springs.SetRowCount(nsprings);
  for (int i = 0; i < nsprings; ++i) {
    springs.Column(1)->SetInt(i, r.ReadInteger());
    springs.Column(2)->SetInt(i, r.ReadInteger());
    springs.Column(0)->SetInt(i, r.ReadInteger());
    springs.Column(3)->SetFloat(i, r.ReadReal());
    springs.Column(4)->SetFloat(i, r.ReadReal());
    EndRecord(r);
  }
  if (!longTerm) ApplySprings = nsprings > 0;
  TGridTable& ties = *t.TiebackTable1;
  for (int i = 0; i < ntie; ++i) {
    for (int c = 0; c < 6; ++c) {
      long double v = r.ReadReal();
      if (c == 1 && si) v = Checked(r, v * kSquareMetreInMm2);
      ties.Column(c)->SetFloat(i, v);
    }
    // Older tieback rows end after the spacing.
    if (static_cast<int>(r.WordIndex()) < r.WordCount()) ties.Column(6)->SetFloat(i, r.ReadReal());
    EndRecord(r);
  }
  TGridTable& mod = *t.PYMod;
  for (int i = 0; i < npymod; ++i) {
    mod.Column(0)->SetFloat(i, r.ReadReal() / foot);
    mod.Column(1)->SetFloat(i, r.ReadReal());
    mod.Column(2)->SetFloat(i, r.ReadReal());
    EndRecord(r);
  }

  if (epo == 1) {
    TGridTable& d = longTerm ? *t.LongDist : *t.DistLoad;
    int n = ReadCount(r);
    EndRecord(r);
    d.SetRowCount(n);
    for (int i = 0; i < n; ++i) {
      d.Column(0)->SetFloat(i, r.ReadReal() / foot);
      d.Column(1)->SetFloat(i, Checked(r, r.ReadReal() * foot));
      EndRecord(r);
    }
    if (!longTerm) UserEarthPressure = n >= 1;
  }

  if (epo > 1 || pyo > 1) {
    FreeHeight = r.ReadReal();
    ActiveWidth = r.ReadReal();
    PYWidth = r.ReadReal();
    WaterDepthBackfill = r.ReadReal();
    WaterDepthExcavation = r.ReadReal();
    ActivePressureFactor = r.ReadReal();
    // 0.036 was a placeholder of earlier versions, not a factor.
    if (ActivePressureFactor == 0.036L) ActivePressureFactor = 1;
    SiteOptionCode = r.ReadInteger();
    BackfillSlope = r.ReadReal();
    EndRecord(r);
    SurfacePressure = r.ReadReal();
    for (long double& v : LegacySurcharge) v = r.ReadReal();
    // The legacy distance and strip width are metres in an SI file; the
    // surcharge table holds millimetres.
    const long double legacyLength = si ? kMetreInMm : 1.0L;
    const long double legacyDistance = layout.SurchargeRows ? 0 : Checked(r, LegacySurcharge[0] * legacyLength);
    const long double legacyWidth = layout.SurchargeRows ? 0 : Checked(r, LegacySurcharge[4] * legacyLength);
    EndRecord(r);
    TGridTable& sur = *t.SurchargeTable;
    if (layout.SurchargeRows) {
      int n = ReadCount(r);
      EndRecord(r);
      sur.SetRowCount(n);
      for (int i = 0; i < n; ++i) {
        sur.Column(0)->SetInt(i, r.ReadInteger());
        for (int c = 1; c < 4; ++c) sur.Column(c)->SetFloat(i, r.ReadReal());
        EndRecord(r);
      }
      if (!longTerm) ApplySurcharge = n > 0;
    } else if (LegacySurcharge[0] > 0) {
      sur.SetRowCount(3);
      for (int i = 0; i < 3; ++i) {
        sur.Column(0)->SetInt(i, i + 1);
        sur.Column(1)->SetFloat(i, LegacySurcharge[static_cast<size_t>(i + 1)]);
        sur.Column(2)->SetFloat(i, legacyDistance);
        sur.Column(3)->SetFloat(i, legacyWidth);
      }
      ApplySurcharge = true;
    }
    ReadSoilLayers(r, longTerm ? *t.LongSoil : *t.NewSoil, layout, longTerm);
  }

  TGridTable& sets = *t.PYCurves2;
  for (int i = 0; i < nupy; ++i) {
    sets.Column(0)->SetInt(i, r.ReadInteger());
    int n = ReadCount(r);
    long double pm = 1;
    long double ym = 1;
    if (layout.PYMultipliers) {
      pm = r.ReadReal();
      ym = r.ReadReal();
    }
    EndRecord(r);
    sets.Column(2)->SetFloat(i, pm);
    sets.Column(3)->SetFloat(i, ym);
    TGridTable* curve = sets.Nested(1, i);
    if (curve) curve->SetRowCount(n);
    for (int k = 0; k < n; ++k) {
      long double y = r.ReadReal();
      long double p = r.ReadReal();
      EndRecord(r);
      if (curve) {
        curve->Column(0)->SetFloat(k, y);
        curve->Column(1)->SetFloat(k, p);
      }
    }
  }
  // The option stays as the control record set it (p-y option 1, or user
  // curves present): a project whose user-curve option is on without any
  // curve yet keeps it through a save and a reopen.

  TGridTable& mei = *t.MEICurves2;
  for (int i = 0; i < nmei; ++i) {
    mei.Column(0)->SetInt(i, r.ReadInteger());
    mei.Column(1)->SetInt(i, r.ReadInteger());
    int n = ReadCount(r);
    EndRecord(r);
    TGridTable* curve = mei.Nested(2, i);
    if (curve) curve->SetRowCount(n);
    for (int k = 0; k < n; ++k) {
      long double m = r.ReadReal();
      long double ei = r.ReadReal();
      EndRecord(r);
      if (curve) {
        curve->Column(0)->SetFloat(k, m);
        curve->Column(1)->SetFloat(k, ei);
      }
    }
  }
}

void TProgramData::ReadProject(const fs::path& path, int version) {
  if (version < kVersion2015 || version > kVersion20) version = kVersion20;
  NewProject();
  EmptyTables();
  DataFileName = path.string();
  const TLayout layout = TLayout::ForVersion(version);
  try {
    TWordReader r(path);
    ReadProblem(r, layout, false);
    if (layout.Continuation) {
      Continuation = r.ReadInteger();
      if (Continuation == 9) {
        LongTermAnalysis = true;
        r.ReadLine();
        ReadProblem(r, layout, true);
      }
    }
  } catch (const EInOutError& e) {
    FillToMinRows();
    Modified = false;
    StageFilesHaveMEICount = true;
    StageFilesHaveTiebackCount = version == kVersion2015;
    throw EInOutError("File " + path.string() + "\r" + e.what());
  }
  FillToMinRows();
  Modified = false;
  StageFilesHaveMEICount = true;
  StageFilesHaveTiebackCount = version == kVersion2015;
}

int TProgramData::VersionOf(const fs::path& path) {
  std::string ext = path.extension().string();
  std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  if (ext == ".rv4d") return kVersion2013;
  if (ext == ".rvd") return kVersion30;
  return kVersion2015;
}

void TProgramData::OpenProject(const fs::path& path, int version) {
  if (version == 0) version = VersionOf(path);
  ReadProject(path, version);
  if (StageCount <= 1) return;
  try {
    SplitStages();
    if (version != kVersion2015) ConvertStages(version);
  } catch (const EInOutError&) {
    // Stage files of two layouts would merge into a data file that does
    // not reopen: nothing of the file is kept open.
    std::error_code ec;
    for (int k = 1; k <= 5; ++k) fs::remove(StageFilePath(k), ec);
    NewProject();
    throw;
  }
  const int parts = static_cast<int>(StageParts(ReadWholeFile(path)).size());
  if (parts < StageCount) {
    std::string missing;
    for (int k = parts + 1; k <= StageCount; ++k) missing += (missing.empty() ? "" : ", ") + std::to_string(k);
    Warn("The file " + path.string() + " holds " + std::to_string(parts) + " of its " + std::to_string(StageCount) +
         " construction stages.\r" + (StageCount - parts == 1 ? "Stage " : "Stages ") + missing +
         (StageCount - parts == 1 ? " starts" : " start") +
         " with the data of another stage; check it before running the analysis.");
  }
}

void TProgramData::Warn(const std::string& text) const {
  if (WarningMessage) {
    WarningMessage(text);
  } else if (StatusMessage) {
    StatusMessage(text);
  }
}

// ---------------------------------------------------------------- stages

fs::path TProgramData::StageFilePath(int stage) const {
  fs::path p(DataFileName);
  p.replace_extension(".st" + std::to_string(stage));
  return p;
}

void TProgramData::WriteStageFile() {
  std::string text = ProblemText(false, CurrentStage);
  TRecord(text).I(CurrentStage);
  SaveTextFile(StageFileName, text);
  Modified = false;
}

void TProgramData::ReadStageFile(const fs::path& path) {
  // A stage replaces the tables and options of the previous one.
  EmptyTables();
  ApplyRestraints = ApplyConcentratedLoads = ApplySprings = ApplyTiebacks = ApplySurcharge = ApplyEICurves = false;
  const TLayout layout = TLayout::ForStageFiles(StageFilesHaveMEICount, StageFilesHaveTiebackCount);
  try {
    TWordReader r(path);
    ReadProblem(r, layout, false);
    Continuation = r.ReadInteger();
    LongTermAnalysis = Continuation == 9;
  } catch (const EInOutError& e) {
    FillToMinRows();
    Modified = false;
    throw EInOutError("File " + path.string() + "\r" + e.what());
  }
  FillToMinRows();
  Modified = false;
}

void TProgramData::StoreStage() {
  StageFileName = StageFilePath(CurrentStage).string();
  WriteStageFile();
}

void TProgramData::LoadStage() {
  fs::path p = StageFilePath(CurrentStage);
  if (!fs::exists(p)) return;
  StageFileName = p.string();
  int stages = StageCount;
  ReadStageFile(p);
  // The stage count belongs to the project, whatever an old stage file says.
  StageCount = stages;
}

void TProgramData::SwitchStage(int stage) {
  if (stage == CurrentStage || stage < 1 || stage > StageCount) return;
  bool modified = Modified;
  StoreStage();
  CurrentStage = stage;
  LoadStage();
  Modified = modified;
  if (StatusMessage) StatusMessage("Construction Stage Number: " + std::to_string(stage));
}

void TProgramData::CopyPreviousStage() {
  if (CurrentStage <= 1) return;
  int stage = CurrentStage;
  CurrentStage = stage - 1;
  LoadStage();
  CurrentStage = stage;
  StoreStage();
}

void TProgramData::ChangeStageCount(int count) {
  count = std::clamp(count, 1, 5);
  int previous = StageCount;
  if (count == previous) return;
  // What the user typed in the current stage goes to its file before any
  // stage is loaded over it.
  if (previous > 1) StoreStage();
  StageCount = count;
  if (count == 1 || previous == 1 || count < previous) CurrentStage = 1;
  if (CurrentStage > count) CurrentStage = 1;
  std::error_code ec;
  if (count == 1) {
    // Stage 1 becomes the whole project.
    LoadStage();
    StageCount = 1;
    Modified = true;
    for (int k = 1; k <= 5; ++k) fs::remove(StageFilePath(k), ec);
    return;
  }
  if (count != previous) {
    int current = CurrentStage;
    for (int k = 1; k <= count; ++k) {
      CurrentStage = k;
      LoadStage();
      StoreStage();
    }
    CurrentStage = current;
    LoadStage();
    Modified = true;
  }
  for (int k = count + 1; k <= 5; ++k) fs::remove(StageFilePath(k), ec);
}

std::vector<std::string> TProgramData::StageParts(const std::string& text) {
  // A stage begins with a problem's title record: the first line, then the
  // title record the writer gives every later stage, " Stage No : " and the
  // number of that stage, in order.  A project title that merely contains
  // the words does not start a stage.
  std::vector<std::string> parts;
  for (const std::string& line : SplitLines(text)) {
    std::string trimmed = line;
    while (!trimmed.empty() && (trimmed.back() == ' ' || trimmed.back() == '\t')) trimmed.pop_back();
    const std::string next = std::string(kStageMarker) + " " + std::to_string(parts.size() + 1);
    if (parts.empty() || trimmed == next) parts.emplace_back();
    parts.back() += line + "\r\n";
  }
  return parts;
}

void TProgramData::SplitStages() {
  std::vector<std::string> parts = StageParts(ReadWholeFile(DataFileName));
  std::error_code ec;
  for (int k = 1; k <= 5; ++k) fs::remove(StageFilePath(k), ec);
  int n = std::min(static_cast<int>(parts.size()), StageCount);
  for (int k = 1; k <= n; ++k) SaveTextFile(StageFilePath(k), parts[static_cast<size_t>(k - 1)]);
}

void TProgramData::ConvertStages(int version) {
  // Every stage is read in the old layout before any is written in the new
  // one: a stage that cannot be read leaves all stage files as they were,
  // never some converted and some not.
  const int stages = StageCount;
  std::vector<std::pair<fs::path, std::string>> converted;
  try {
    for (int k = 1; k <= stages; ++k) {
      CurrentStage = k;
      StageFilesHaveMEICount = version == kVersion2013;
      StageFilesHaveTiebackCount = false;
      fs::path p = StageFilePath(k);
      if (fs::exists(p)) {
        ReadStageFile(p);
        StageCount = stages;
        StageFilesHaveMEICount = true;
        StageFilesHaveTiebackCount = true;
        std::string text = ProblemText(false, k);
        TRecord(text).I(k);
        converted.emplace_back(p, std::move(text));
      }
      if (StatusMessage) StatusMessage("Construction Stage Number: " + std::to_string(k));
    }
  } catch (...) {
    StageCount = stages;
    StageFilesHaveMEICount = true;
    StageFilesHaveTiebackCount = true;
    throw;
  }
  for (const auto& [path, text] : converted) SaveTextFile(path, text);
  StageFilesHaveMEICount = true;
  StageFilesHaveTiebackCount = true;
  CurrentStage = 1;
  LoadStage();
}

void TProgramData::MergeStages(const fs::path& target, const fs::path& base) {
  TProgramData names(*tables_);
  names.DataFileName = base.string();
  std::string text;
  for (int k = 1; k <= StageCount; ++k) {
    fs::path p = names.StageFilePath(k);
    if (!fs::exists(p)) throw EInOutError("Stage file " + p.string() + " is missing");
    for (const std::string& line : SplitLines(ReadWholeFile(p))) text += line + "\r\n";
  }
  SaveTextFile(target, text);
  if (fs::path(target) != fs::path(base)) {
    TProgramData targetNames(*tables_);
    targetNames.DataFileName = target.string();
    for (int k = 1; k <= StageCount; ++k) {
      std::error_code ec;
      fs::rename(names.StageFilePath(k), targetNames.StageFilePath(k), ec);
      if (ec) throw EInOutError("Cannot move stage file " + names.StageFilePath(k).string() + ": " + ec.message());
    }
  }
}

// ---------------------------------------------------------------- units

namespace {

// Length and force factors of a switch between unit systems.
std::pair<long double, long double> SwitchFactors(int from, int to) {
  if (from == 1 && to == 2) return {kInchInMetres, kPoundInKilonewtons};
  // Exact reciprocals, so that switching back and forth does not drift.
  if (from == 2 && to == 1) return {1.0L / kInchInMetres, 1.0L / kPoundInKilonewtons};
  return {1.0L, 1.0L};
}

long double SurchargeFactor(int loadType, long double b, long double c) {
  switch (loadType) {
    case 1: return c;
    case 2: return c / b;
    case 3: return c / (b * b);
    default: return 1;
  }
}

}  // namespace

std::string TProgramData::UnitSwitchOverflow(int system) const {
  const auto [b, c] = SwitchFactors(UnitSystem, system);
  const std::pair<const char*, long double> scalars[] = {
      {"Increment Length", IncrementLength * b},
      {"Maximum Allowable Deflection", MaxDeflection * b},
      {"Deflection Closure Tolerance", ClosureTolerance * b},
      {"Free Height of Wall", FreeHeight * b},
      {"Width for Active Earth Pressure", ActiveWidth * b},
      {"Width for Soil Resistance", PYWidth * b},
      {"Depth to Water Table at Backfill", WaterDepthBackfill * b},
      {"Depth to Water Table at Excavation", WaterDepthExcavation * b},
      {"Uniform Surface Pressure", SurfacePressure * (c / (b * b))},
      {"Surcharge Distance", LegacySurcharge[0] * b},
      {"Point Load", LegacySurcharge[1] * c},
      {"Line Load", LegacySurcharge[2] * (c / b)},
      {"Strip Load", LegacySurcharge[3] * (c / (b * b))},
      {"Strip Width", LegacySurcharge[4] * b},
  };
  for (const auto& [name, value] : scalars) {
    if (!std::isfinite(value)) return std::string("\"") + name + "\"";
  }
  for (const TGridTable* t : tables_->All()) {
    std::string where = t->UnitOverflow(system);
    if (!where.empty()) return where;
  }
  const TGridTable& sur = *tables_->SurchargeTable;
  for (int r = 0; r < sur.RowCount(); ++r) {
    if (!std::isfinite(sur.Float(1, r) * SurchargeFactor(sur.Int(0, r), b, c)))
      return sur.EditorTitle() + ", row " + std::to_string(r + 1) + ", column \"Load Magnitude\"";
  }
  return {};
}

void TProgramData::SwitchUnits(int system) {
  system = ClampUnitSystem(system);
  // A value carried past the largest number would be saved as "INF", and
  // the project could never be opened again: the switch is refused whole.
  if (const std::string where = UnitSwitchOverflow(system); !where.empty())
    throw EAssignError("The value of " + where + " is too large to convert to the other units.");
  const auto [b, c] = SwitchFactors(UnitSystem, system);
  for (long double* v : {&IncrementLength, &MaxDeflection, &ClosureTolerance, &FreeHeight, &ActiveWidth, &PYWidth,
                         &WaterDepthBackfill, &WaterDepthExcavation, &LegacySurcharge[0], &LegacySurcharge[4]}) {
    *v *= b;
  }
  SurfacePressure *= c / (b * b);
  LegacySurcharge[1] *= c;
  LegacySurcharge[2] *= c / b;
  LegacySurcharge[3] *= c / (b * b);
  UnitSystem = system;
  for (TGridTable* t : tables_->All()) t->SetUnits(system);
  TGridTable& sur = *tables_->SurchargeTable;
  for (int r = 0; r < sur.RowCount(); ++r) sur.Column(1)->SetFloat(r, sur.Float(1, r) * SurchargeFactor(sur.Int(0, r), b, c));
}

}  // namespace ramvex
