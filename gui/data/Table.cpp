#include "Table.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <utility>

#include "AssignError.h"
#include "Expression.h"
#include "NumberText.h"
#include "Units.h"

namespace ramvex {

namespace {

struct TRegistry {
  std::vector<TGridTable*> Tables;
  int Counter = 0;
};

TRegistry& RegistryOf(TTableFamily family) {
  static TRegistry registries[2];
  return registries[family == TTableFamily::Chart ? 1 : 0];
}

int TextWidthWithBlanks(const std::function<int(std::string_view)>& textWidth, const std::string& text) {
  return textWidth(text + "  ");
}

int InchesToPixels(long double inches, double pixelsPerInch) {
  long double px = std::round(inches * static_cast<long double>(pixelsPerInch));
  if (!(px > -2147483648.0L && px < 2147483647.0L)) return 0;
  return static_cast<int>(px);
}

}  // namespace

// ---------------------------------------------------------------- TData

int TData::Row() const { return column_->RowOf(this); }
TGridTable* TData::GetTable() const { return column_->GetTable(Row()); }
long double TData::GetFloat() const { return column_->GetFloat(Row()); }
int TData::GetInt() const { return column_->GetInt(Row()); }
std::string TData::GetText() const { return column_->GetText(Row()); }
void TData::SetFloat(long double value) const { column_->SetFloat(Row(), value); }
void TData::SetInt(int value) const { column_->SetInt(Row(), value); }

// ---------------------------------------------------------------- TColumn

void TColumn::InsertRows(int at, int count) {
  at = std::clamp(at, 0, CellCount());
  for (int i = 0; i < count; ++i) {
    cells_.insert(cells_.begin() + at + i, std::make_unique<TData>(this));
  }
}

void TColumn::DeleteRow(int row) {
  CheckRow(row);
  cells_.erase(cells_.begin() + row);
}

std::string TColumn::HeaderLine(int i) const {
  if (i < 0 || i >= HeaderLineCount()) return {};
  return headers_[static_cast<size_t>(i)];
}

TGridTable* TColumn::GetTable(int) const { throw EInvalidCast(); }
long double TColumn::GetFloat(int) const { throw EInvalidCast(); }
void TColumn::SetFloat(int, long double) { throw EInvalidCast(); }
int TColumn::GetInt(int) const { throw EInvalidCast(); }
void TColumn::SetInt(int, int) { throw EInvalidCast(); }
std::string TColumn::GetText(int) const { return {}; }
void TColumn::SetText(int, std::string_view) {}

int TColumn::GroupSize() const { return table_ ? table_->RowGroup() : 1; }

int TColumn::MinWidth(const std::function<int(std::string_view)>& textWidth, double) const {
  int w = 0;
  for (int i = 0; i < HeaderLineCount(); ++i) w = std::max(w, TextWidthWithBlanks(textWidth, HeaderLine(i)));
  return w;
}

void TColumn::SetUnits(int, int) {}

TData* TColumn::Cell(int row) const {
  CheckRow(row);
  return cells_[static_cast<size_t>(row)].get();
}

int TColumn::RowOf(const TData* cell) const {
  for (size_t i = 0; i < cells_.size(); ++i) {
    if (cells_[i].get() == cell) return static_cast<int>(i);
  }
  return -1;
}

int TColumn::Index() const { return table_ ? table_->IndexOf(this) : -1; }

std::pair<int, int> TColumn::WriteRange(int row) const {
  if (!groupWide_) return {row, row + 1};
  int g = GroupSize();
  int first = g * (row / g);
  return {first, std::min(first + g, CellCount())};
}

void TColumn::CheckRow(int row) const {
  if (row < 0 || row >= CellCount()) throw ETableError("Index out of bounds");
}

void TColumn::NotifyCell(int row) const {
  if (table_) table_->NotifyCellChanged(Index(), row);
}

void TColumn::CopyCommonTo(TColumn& other) const {
  other.headers_ = headers_;
  other.visible_ = visible_;
  other.groupWide_ = groupWide_;
}

void TColumn::WriteDefinition(TDefinitionWriter& w) const {
  w.Int(TypeId());
  w.BeginList();
  for (const std::string& h : headers_) w.String(h);
  w.EndList();
  w.Bool(visible_);
  w.Bool(groupWide_);
}

void TColumn::ReadCommon(TDefinitionReader& r) {
  headers_.clear();
  r.BeginList();
  while (!r.EndOfList()) headers_.push_back(r.String());
  visible_ = r.Bool();
  groupWide_ = r.Bool();
}

// ---------------------------------------------------------------- TEnumColumn

TEnumColumn::TEnumColumn(TGridTable* table, std::vector<std::string> choices)
    : TColumn(table), choices_(std::move(choices)) {}

TEnumColumn::TEnumColumn(TGridTable* table, TDefinitionReader& r) : TColumn(table) {
  ReadCommon(r);
  r.BeginList();
  while (!r.EndOfList()) choices_.push_back(r.String());
}

void TEnumColumn::SetChoices(std::vector<std::string> choices) {
  choices_ = std::move(choices);
  if (Table()) Table()->SyncTemplateCounts();
}

void TEnumColumn::InsertRows(int at, int count) {
  at = std::clamp(at, 0, CellCount());
  values_.insert(values_.begin() + at, static_cast<size_t>(std::max(count, 0)), 1);
  TColumn::InsertRows(at, count);
}

void TEnumColumn::DeleteRow(int row) {
  CheckRow(row);
  values_.erase(values_.begin() + row);
  TColumn::DeleteRow(row);
}

int TEnumColumn::GetInt(int row) const {
  CheckRow(row);
  return values_[static_cast<size_t>(row)];
}

void TEnumColumn::SetInt(int row, int value) {
  CheckRow(row);
  auto [first, last] = WriteRange(row);
  bool changed = false;
  for (int r = first; r < last; ++r) {
    if (values_[static_cast<size_t>(r)] == value) continue;
    values_[static_cast<size_t>(r)] = value;
    changed = true;
    NotifyCell(r);
  }
  if (changed && Table()) {
    for (int r = first; r < last; ++r) Table()->ChoiceChanged(this, r);
  }
}

std::string TEnumColumn::GetText(int row) const { return std::to_string(GetInt(row)); }

int TEnumColumn::MinWidth(const std::function<int(std::string_view)>& textWidth, double ppi) const {
  return std::max(TColumn::MinWidth(textWidth, ppi), InchesToPixels(1.5L, ppi));
}

void TEnumColumn::WriteDefinition(TDefinitionWriter& w) const {
  TColumn::WriteDefinition(w);
  w.BeginList();
  for (const std::string& c : choices_) w.String(c);
  w.EndList();
}

std::unique_ptr<TColumn> TEnumColumn::CloneFor(TGridTable* table) const {
  auto c = std::make_unique<TEnumColumn>(table, choices_);
  CopyCommonTo(*c);
  return c;
}

// ---------------------------------------------------------------- TIntColumn

TIntColumn::TIntColumn(TGridTable* table, int def, int min, int max)
    : TColumn(table), default_(def), min_(min), max_(max) {}

TIntColumn::TIntColumn(TGridTable* table, TDefinitionReader& r) : TColumn(table) {
  ReadCommon(r);
  default_ = r.Int();
  min_ = r.Int();
  max_ = r.Int();
}

void TIntColumn::InsertRows(int at, int count) {
  at = std::clamp(at, 0, CellCount());
  values_.insert(values_.begin() + at, static_cast<size_t>(std::max(count, 0)), default_);
  TColumn::InsertRows(at, count);
}

void TIntColumn::DeleteRow(int row) {
  CheckRow(row);
  values_.erase(values_.begin() + row);
  TColumn::DeleteRow(row);
}

int TIntColumn::GetInt(int row) const {
  CheckRow(row);
  return values_[static_cast<size_t>(row)];
}

void TIntColumn::SetInt(int row, int value) {
  CheckRow(row);
  auto [first, last] = WriteRange(row);
  for (int r = first; r < last; ++r) {
    values_[static_cast<size_t>(r)] = value;
    NotifyCell(r);
  }
}

std::string TIntColumn::GetText(int row) const { return std::to_string(GetInt(row)); }

void TIntColumn::SetText(int row, std::string_view text) {
  CheckRow(row);
  long double v = Evaluate(text);
  auto rangeError = [this] {
    char buf[96];
    std::snprintf(buf, sizeof buf, "Entry must be between %d and %d.", min_, max_);
    return EAssignError(buf);
  };
  if (Table() && Table()->EditorOpen()) {
    if (std::fabs(v - std::trunc(v)) > 1e-10L) throw EAssignError("Entry must be an integer.");
    if (v < min_ || v > max_) throw rangeError();
  }
  v = RoundHalfEven(v);
  // Beyond the 32-bit range the value has no integer to become.
  if (!(v >= -2147483648.0L && v <= 2147483647.0L)) throw rangeError();
  SetInt(row, static_cast<int>(v));
}

int TIntColumn::MinWidth(const std::function<int(std::string_view)>& textWidth, double ppi) const {
  return std::max(TColumn::MinWidth(textWidth, ppi), InchesToPixels(0.5L, ppi));
}

void TIntColumn::WriteDefinition(TDefinitionWriter& w) const {
  TColumn::WriteDefinition(w);
  w.Int(default_);
  w.Int(min_);
  w.Int(max_);
}

std::unique_ptr<TColumn> TIntColumn::CloneFor(TGridTable* table) const {
  auto c = std::make_unique<TIntColumn>(table, default_, min_, max_);
  CopyCommonTo(*c);
  return c;
}

// ---------------------------------------------------------------- TFloatColumn

TFloatColumn::TFloatColumn(TGridTable* table, std::string unitString, long double def, bool topDepth)
    : TColumn(table), topDepth_(topDepth), unitString_(std::move(unitString)), default_(def) {}

TFloatColumn::TFloatColumn(TGridTable* table, TDefinitionReader& r) : TColumn(table), default_(0) {
  ReadCommon(r);
  topDepth_ = r.Bool();
  std::string marker = r.String();
  if (marker == kMarker) {
    unitString_ = r.String();
    default_ = r.Real();
  } else {
    // Older layout: the unit string alone.
    unitString_ = marker;
  }
}

TFloatColumn* TFloatColumn::NeighbourFloat(int offset) const {
  if (!Table()) return nullptr;
  int i = Index() + offset;
  if (i < 0 || i >= Table()->ColumnCount()) return nullptr;
  return dynamic_cast<TFloatColumn*>(Table()->Column(i));
}

void TFloatColumn::InsertRows(int at, int count) {
  at = std::clamp(at, 0, CellCount());
  TFloatColumn* next = topDepth_ ? NeighbourFloat(1) : nullptr;
  if (topDepth_ && !next) throw ETableError("If column if a topdepth then the next column must be a float column");
  TFloatColumn* prev = NeighbourFloat(-1);
  if (prev && !prev->topDepth_) prev = nullptr;
  for (int i = 0; i < count; ++i) {
    int d = at + i;
    long double v = default_;
    if (next) {
      // Top of the new row: bottom of the row above.
      if (d >= 1 && d <= next->CellCount() - 1) v = next->values_[static_cast<size_t>(d - 1)];
    } else if (prev) {
      // Bottom of the new row: top of the row below.
      if (d + 1 < static_cast<int>(prev->values_.size())) v = prev->values_[static_cast<size_t>(d + 1)];
    }
    values_.insert(values_.begin() + d, v);
  }
  TColumn::InsertRows(at, count);
}

void TFloatColumn::DeleteRow(int row) {
  CheckRow(row);
  if (topDepth_ && row > 0 && row < CellCount() - 1) {
    TFloatColumn* next = NeighbourFloat(1);
    if (next && row - 1 < next->CellCount()) values_[static_cast<size_t>(row + 1)] = next->values_[static_cast<size_t>(row - 1)];
  }
  values_.erase(values_.begin() + row);
  TColumn::DeleteRow(row);
}

std::string TFloatColumn::HeaderLine(int i) const {
  std::string line = TColumn::HeaderLine(i);
  if (i == HeaderLineCount() - 1 && !unitString_.empty()) {
    int system = Table() ? Table()->UnitSystem() : 1;
    line += " (" + RenderUnits(unitString_, system) + ")  ";
  }
  return line;
}

long double TFloatColumn::GetFloat(int row) const {
  CheckRow(row);
  return values_[static_cast<size_t>(row)];
}

void TFloatColumn::Store(int row, long double value) {
  values_[static_cast<size_t>(row)] = value;
  NotifyCell(row);
}

void TFloatColumn::SetFloat(int row, long double value) {
  CheckRow(row);
  // No infinity or NaN ever enters a table: it would be written as text no
  // reader takes.
  if (!std::isfinite(value)) throw EAssignError(entry_messages::kTooLarge);
  if (GroupWide()) {
    auto [first, last] = WriteRange(row);
    for (int r = first; r < last; ++r) Store(r, value);
    return;
  }
  Store(row, value);
  if (topDepth_) {
    TFloatColumn* next = NeighbourFloat(1);
    if (next && row >= 1 && row - 1 < next->CellCount()) next->Store(row - 1, value);
  } else if (TFloatColumn* prev = NeighbourFloat(-1); prev && prev->topDepth_) {
    if (row + 1 < prev->CellCount()) prev->Store(row + 1, value);
  }
}

std::string TFloatColumn::GetText(int row) const { return FormatGeneral(GetFloat(row), 8); }

void TFloatColumn::SetText(int row, std::string_view text) {
  CheckRow(row);
  SetFloat(row, Evaluate(text));
}

int TFloatColumn::MinWidth(const std::function<int(std::string_view)>& textWidth, double ppi) const {
  return std::max(TColumn::MinWidth(textWidth, ppi), InchesToPixels(0.5L, ppi));
}

void TFloatColumn::SetUnits(int from, int to) {
  long double f = UnitFactor(unitString_, from, to);
  for (size_t r = 0; r < values_.size(); ++r) {
    values_[r] *= f;
    NotifyCell(static_cast<int>(r));
  }
}

void TFloatColumn::WriteDefinition(TDefinitionWriter& w) const {
  TColumn::WriteDefinition(w);
  w.Bool(topDepth_);
  w.String(kMarker);
  w.String(unitString_);
  w.Real(default_);
}

std::unique_ptr<TColumn> TFloatColumn::CloneFor(TGridTable* table) const {
  auto c = std::make_unique<TFloatColumn>(table, unitString_, default_, topDepth_);
  CopyCommonTo(*c);
  return c;
}

// ---------------------------------------------------------------- TTableColumn

TTableColumn::TTableColumn(TGridTable* table, TGridTableList templates)
    : TColumn(table), templates_(std::move(templates)) {}

TTableColumn::TTableColumn(TGridTable* table, TDefinitionReader& r) : TColumn(table) {
  ReadCommon(r);
  if (r.NextIsString()) {
    std::string marker = r.String();
    if (marker != kMarker) throw ETableError("Unknown nested-table column layout");
  }
  r.BeginList();
  while (!r.EndOfList()) templates_.push_back({r.Int(), true});
}

TTableColumn::~TTableColumn() = default;

void TTableColumn::SetTemplateCount(int count) {
  templates_.resize(static_cast<size_t>(std::max(count, 0)), TIntWrapper{-1, true});
}

TGridTable* TTableColumn::TemplateFor(int row) const {
  int k = 1;
  if (Table() && Table()->ColumnCount() > 0 && Table()->Column(0) != this) {
    if (auto* choice = dynamic_cast<TEnumColumn*>(Table()->Column(0)); choice && row < choice->CellCount()) {
      k = choice->GetInt(row);
    }
  }
  if (k < 1 || k > static_cast<int>(templates_.size())) return nullptr;
  const TIntWrapper& e = templates_[static_cast<size_t>(k - 1)];
  TTableFamily family = Table() ? Table()->Family() : TTableFamily::Plain;
  const TTableScope* scope = Table() ? Table()->Scope().get() : nullptr;
  if (e.IsIdentifier) return scope ? scope->Find(family, e.Value) : TGridTable::Find(family, e.Value);
  const auto& reg = scope ? scope->Tables(family) : TGridTable::Registry(family);
  if (e.Value < 0 || e.Value >= static_cast<int>(reg.size())) return nullptr;
  return reg[static_cast<size_t>(e.Value)];
}

std::unique_ptr<TGridTable> TTableColumn::NewNested(int row) const {
  TGridTable* t = TemplateFor(row);
  if (!t) return nullptr;
  return t->NewFromTemplate(Table(), row + 1);
}

void TTableColumn::Renumber(int from) {
  for (size_t r = static_cast<size_t>(std::max(from, 0)); r < values_.size(); ++r) {
    if (values_[r]) values_[r]->SetNumber(static_cast<int>(r) + 1);
  }
}

void TTableColumn::InsertRows(int at, int count) {
  at = std::clamp(at, 0, CellCount());
  for (int i = 0; i < count; ++i) values_.insert(values_.begin() + at + i, nullptr);
  TColumn::InsertRows(at, count);
  for (int i = 0; i < count; ++i) values_[static_cast<size_t>(at + i)] = NewNested(at + i);
  Renumber(at);
}

void TTableColumn::DeleteRow(int row) {
  CheckRow(row);
  values_.erase(values_.begin() + row);
  TColumn::DeleteRow(row);
  Renumber(row);
}

TGridTable* TTableColumn::GetTable(int row) const {
  CheckRow(row);
  return values_[static_cast<size_t>(row)].get();
}

void TTableColumn::ReplaceTable(int row) {
  CheckRow(row);
  values_[static_cast<size_t>(row)].reset();
  values_[static_cast<size_t>(row)] = NewNested(row);
  NotifyCell(row);
}

bool TTableColumn::IsChanged() const {
  return std::any_of(values_.begin(), values_.end(), [](const auto& t) { return t && t->IsChanged(); });
}

void TTableColumn::HideEditors() {
  for (auto& t : values_) {
    if (t) t->HideEditor();
  }
}

void TTableColumn::ResetChanged() {
  for (auto& t : values_) {
    if (t) t->ResetChanged();
  }
}

int TTableColumn::MinWidth(const std::function<int(std::string_view)>& textWidth, double ppi) const {
  return std::max(TColumn::MinWidth(textWidth, ppi), InchesToPixels(2.0L, ppi));
}

void TTableColumn::SetUnits(int, int to) {
  for (auto& t : values_) {
    if (t) t->SetUnits(to);
  }
}

void TTableColumn::WriteDefinition(TDefinitionWriter& w) const {
  TColumn::WriteDefinition(w);
  w.String(kMarker);
  w.BeginList();
  for (const TIntWrapper& e : templates_) w.Int(e.IsIdentifier ? e.Value : -1);
  w.EndList();
}

std::unique_ptr<TColumn> TTableColumn::CloneFor(TGridTable* table) const {
  auto c = std::make_unique<TTableColumn>(table, templates_);
  CopyCommonTo(*c);
  return c;
}

std::string TTableColumn::ButtonCaption(int row) const {
  TGridTable* t = GetTable(row);
  return std::to_string(row + 1) + ": " + (t ? t->Caption() : std::string());
}

// ---------------------------------------------------------------- TStringColumn

TStringColumn::TStringColumn(TGridTable* table, std::string def, long double widthInches)
    : TColumn(table), default_(std::move(def)), width_(widthInches) {}

TStringColumn::TStringColumn(TGridTable* table, TDefinitionReader& r) : TColumn(table) {
  ReadCommon(r);
  default_ = r.String();
  width_ = r.Real();
}

void TStringColumn::InsertRows(int at, int count) {
  at = std::clamp(at, 0, CellCount());
  values_.insert(values_.begin() + at, static_cast<size_t>(std::max(count, 0)), default_);
  TColumn::InsertRows(at, count);
}

void TStringColumn::DeleteRow(int row) {
  CheckRow(row);
  values_.erase(values_.begin() + row);
  TColumn::DeleteRow(row);
}

std::string TStringColumn::GetText(int row) const {
  CheckRow(row);
  return values_[static_cast<size_t>(row)];
}

void TStringColumn::SetText(int row, std::string_view text) {
  CheckRow(row);
  auto [first, last] = WriteRange(row);
  for (int r = first; r < last; ++r) {
    values_[static_cast<size_t>(r)] = std::string(text);
    NotifyCell(r);
  }
}

int TStringColumn::MinWidth(const std::function<int(std::string_view)>& textWidth, double ppi) const {
  return std::max(TColumn::MinWidth(textWidth, ppi), InchesToPixels(width_, ppi));
}

void TStringColumn::WriteDefinition(TDefinitionWriter& w) const {
  TColumn::WriteDefinition(w);
  w.String(default_);
  w.Real(width_);
}

std::unique_ptr<TColumn> TStringColumn::CloneFor(TGridTable* table) const {
  auto c = std::make_unique<TStringColumn>(table, default_, width_);
  CopyCommonTo(*c);
  return c;
}

// ---------------------------------------------------------------- TColumnTypeStorage

TColumnTypeStorage& TColumnTypeStorage::Instance() {
  static TColumnTypeStorage storage;
  return storage;
}

namespace {
template <class C>
std::unique_ptr<TColumn> ReadColumn(TGridTable* table, TDefinitionReader& reader) {
  return std::make_unique<C>(table, reader);
}
}  // namespace

TColumnTypeStorage::TColumnTypeStorage() {
  factories_.emplace_back(TEnumColumn::kTypeId, ReadColumn<TEnumColumn>);
  factories_.emplace_back(TIntColumn::kTypeId, ReadColumn<TIntColumn>);
  factories_.emplace_back(TFloatColumn::kTypeId, ReadColumn<TFloatColumn>);
  factories_.emplace_back(TTableColumn::kTypeId, ReadColumn<TTableColumn>);
  factories_.emplace_back(TStringColumn::kTypeId, ReadColumn<TStringColumn>);
}

const TColumnTypeStorage::Factory* TColumnTypeStorage::Find(int typeId) const {
  for (const auto& [id, f] : factories_) {
    if (id == typeId) return &f;
  }
  return nullptr;
}

// ---------------------------------------------------------------- TGridTable

TGridTable::TGridTable(TTableFamily family) : family_(family) {
  TRegistry& reg = RegistryOf(family_);
  identifier_ = reg.Counter++;
  reg.Tables.push_back(this);
}

TGridTable::~TGridTable() {
  // An open editor would otherwise keep a dangling table.
  if (TTableListener* l = std::exchange(listener_, nullptr)) l->EditorHidden();
  // Nested tables go with their rows; the columns must not reach a table
  // that is half destroyed, so they are cleared first.
  for (auto& c : columns_) {
    for (int r = c->CellCount() - 1; r >= 0; --r) c->DeleteRow(r);
  }
  columns_.clear();
  auto& tables = RegistryOf(family_).Tables;
  tables.erase(std::remove(tables.begin(), tables.end(), this), tables.end());
  if (scope_) {
    auto& members = scope_->tables_[family_ == TTableFamily::Chart ? 1 : 0];
    members.erase(std::remove(members.begin(), members.end(), this), members.end());
  }
}

TGridTable* TTableScope::Find(TTableFamily family, int identifier) const {
  for (TGridTable* t : Tables(family)) {
    if (t->Identifier() == identifier) return t;
  }
  return nullptr;
}

const std::vector<TGridTable*>& TTableScope::Tables(TTableFamily family) const {
  return tables_[family == TTableFamily::Chart ? 1 : 0];
}

void TGridTable::SetScope(std::shared_ptr<TTableScope> scope) {
  const size_t f = family_ == TTableFamily::Chart ? 1 : 0;
  if (scope_) {
    auto& members = scope_->tables_[f];
    members.erase(std::remove(members.begin(), members.end(), this), members.end());
  }
  scope_ = std::move(scope);
  if (scope_) scope_->tables_[f].push_back(this);
}

TGridTable* TGridTable::Find(TTableFamily family, int identifier) {
  for (TGridTable* t : RegistryOf(family).Tables) {
    if (t->identifier_ == identifier) return t;
  }
  return nullptr;
}

const std::vector<TGridTable*>& TGridTable::Registry(TTableFamily family) { return RegistryOf(family).Tables; }

void TGridTable::SetIdentifier(int value) {
  if (value < 0) return;
  for (TGridTable* t : scope_ ? scope_->Tables(family_) : RegistryOf(family_).Tables) {
    if (t != this && t->identifier_ == value) t->identifier_ = identifier_;
  }
  identifier_ = value;
}

void TGridTable::SetMinRows(int value) {
  if (value < 1) {
    if (!readingDefinition_) throw ETableError("Value must be greater than 0");
    value = 1;
  }
  minRows_ = value;
}

void TGridTable::SetRowCount(int count) {
  rowCount_ = std::max(0, count);
  for (auto& c : columns_) {
    while (c->CellCount() > rowCount_) c->DeleteRow(c->CellCount() - 1);
    while (c->CellCount() < rowCount_) c->InsertRows(c->CellCount(), rowGroup_);
  }
  NotifyStructureChanged();
}

void TGridTable::AddRows() {
  for (auto& c : columns_) c->InsertRows(c->CellCount(), rowGroup_);
  rowCount_ += rowGroup_;
  NotifyStructureChanged();
}

void TGridTable::InsertRows(int row) {
  int at = std::clamp(rowGroup_ * (std::max(row, 0) / rowGroup_), 0, rowCount_);
  for (auto& c : columns_) c->InsertRows(at, rowGroup_);
  rowCount_ += rowGroup_;
  NotifyStructureChanged();
}

void TGridTable::DeleteRows(int row) {
  if (row < 0 || row >= rowCount_) throw ETableError("Index out of bounds");
  int first = rowGroup_ * (row / rowGroup_);
  int n = std::min(rowGroup_, rowCount_ - first);
  for (auto& c : columns_) {
    for (int i = 0; i < n; ++i) {
      if (first < c->CellCount()) c->DeleteRow(first);
    }
  }
  rowCount_ -= n;
  NotifyStructureChanged();
}

std::string TGridTable::UnitOverflow(int system) const {
  system = ClampUnitSystem(system);
  if (system == units_) return {};
  for (const auto& c : columns_) {
    if (auto* f = dynamic_cast<const TFloatColumn*>(c.get())) {
      const long double factor = UnitFactor(f->UnitString(), units_, system);
      for (int r = 0; r < f->CellCount(); ++r) {
        if (std::isfinite(f->GetFloat(r) * factor)) continue;
        std::string header;
        for (const std::string& line : f->Headers()) {
          std::string part = line;
          while (!part.empty() && (part.back() == ' ' || part.back() == ',')) part.pop_back();
          if (part.empty()) continue;
          header += (header.empty() ? "" : " ") + part;
        }
        return EditorTitle() + ", row " + std::to_string(r + 1) + ", column \"" + header + "\"";
      }
    } else if (auto* t = dynamic_cast<const TTableColumn*>(c.get())) {
      for (int r = 0; r < t->CellCount(); ++r) {
        const TGridTable* nested = t->GetTable(r);
        if (!nested) continue;
        std::string where = nested->UnitOverflow(system);
        if (!where.empty()) return where;
      }
    }
  }
  return {};
}

void TGridTable::SetUnits(int system) {
  system = ClampUnitSystem(system);
  if (system == units_) return;
  // A cell that would overflow would be saved as "INF" and the file could
  // not be read again: the whole switch is refused instead.
  if (const std::string where = UnitOverflow(system); !where.empty())
    throw EAssignError("The value in " + where + " is too large to convert to the other units.");
  int from = units_;
  for (auto& c : columns_) c->SetUnits(from, system);
  units_ = system;
  NotifyStructureChanged();
}

void TGridTable::SetNumber(int number) {
  if (number == number_) return;
  number_ = number;
  NotifyStructureChanged();
}

std::string TGridTable::Path() const {
  std::string p = owner_ ? owner_->Path() : std::string();
  if (number_ != 0) p += " " + std::to_string(number_);
  return p;
}

bool TGridTable::IsChanged() const {
  return changed_ || std::any_of(columns_.begin(), columns_.end(), [](const auto& c) { return c->IsChanged(); });
}

void TGridTable::ResetChanged() {
  changed_ = false;
  for (auto& c : columns_) c->ResetChanged();
}

TColumn* TGridTable::Column(int i) const {
  if (i < 0 || i >= ColumnCount()) throw ETableError("Index out of bounds");
  return columns_[static_cast<size_t>(i)].get();
}

int TGridTable::VisibleColumnCount() const {
  return static_cast<int>(std::count_if(columns_.begin(), columns_.end(), [](const auto& c) { return c->Visible(); }));
}

TColumn* TGridTable::VisibleColumn(int i) const {
  int n = 0;
  for (auto& c : columns_) {
    if (!c->Visible()) continue;
    if (n++ == i) return c.get();
  }
  throw ETableError("Index out of bounds");
}

int TGridTable::IndexOf(const TColumn* column) const {
  for (size_t i = 0; i < columns_.size(); ++i) {
    if (columns_[i].get() == column) return static_cast<int>(i);
  }
  return -1;
}

TColumn* TGridTable::AddColumn(std::unique_ptr<TColumn> column) {
  TColumn* c = column.get();
  columns_.push_back(std::move(column));
  SyncTemplateCounts();
  if (rowCount_ > 0) c->InsertRows(0, rowCount_);
  return c;
}

void TGridTable::ClearColumns() {
  for (auto& c : columns_) {
    for (int r = c->CellCount() - 1; r >= 0; --r) c->DeleteRow(r);
  }
  columns_.clear();
}

void TGridTable::HideEditor() {
  if (TTableListener* l = std::exchange(listener_, nullptr)) l->EditorHidden();
  for (auto& c : columns_) c->HideEditors();
}

void TGridTable::NotifyCellChanged(int column, int row) const {
  if (listener_) listener_->CellChanged(column, row);
}

void TGridTable::NotifyStructureChanged() const {
  if (listener_) listener_->StructureChanged();
}

void TGridTable::ChoiceChanged(const TColumn* column, int row) {
  if (columns_.empty() || columns_.front().get() != column) return;
  for (auto& c : columns_) {
    if (auto* t = dynamic_cast<TTableColumn*>(c.get())) {
      t->ReplaceTable(row);
      return;
    }
  }
}

void TGridTable::SyncTemplateCounts() {
  int n = 1;
  if (!columns_.empty()) {
    if (auto* e = dynamic_cast<TEnumColumn*>(columns_.front().get())) n = static_cast<int>(e->Choices().size());
  }
  for (auto& c : columns_) {
    if (auto* t = dynamic_cast<TTableColumn*>(c.get())) t->SetTemplateCount(n);
  }
}

std::string TGridTable::WriteDefinition() const {
  TDefinitionWriter w;
  w.Int(ColumnCount());
  w.NewLine();
  for (auto& c : columns_) {
    c->WriteDefinition(w);
    w.NewLine();
  }
  WriteExtraDefinition(w);
  return w.Text();
}

void TGridTable::ReadDefinition(std::string_view text) {
  struct Guard {
    bool& flag;
    ~Guard() { flag = false; }
  } guard{readingDefinition_ = true};
  TDefinitionReader r(text);
  int count = 0;
  try {
    count = r.Int();
  } catch (const ETableError&) {
    throw ETableError("Error reading column count");
  }
  ClearColumns();
  for (int i = 0; i < count; ++i) {
    int typeId = 0;
    try {
      typeId = r.Int();
    } catch (const ETableError& e) {
      throw ETableError("Error occured when creating column " + std::to_string(i) + ": " + e.what());
    }
    const TColumnTypeStorage::Factory* factory = TColumnTypeStorage::Instance().Find(typeId);
    if (!factory) throw ETableError("Error Column Class not defined");
    std::unique_ptr<TColumn> column;
    try {
      column = (*factory)(this, r);
    } catch (const std::exception& e) {
      throw ETableError("Error occured when creating column " + std::to_string(i) + ": " + e.what());
    }
    AddColumn(std::move(column));
  }
  ReadExtraDefinition(r);
}

void TGridTable::CopyPropertiesTo(TGridTable& t) const {
  t.caption_ = caption_;
  t.comments_ = comments_;
  t.topLeft_ = topLeft_;
  t.helpPicture_ = helpPicture_;
  t.minRows_ = minRows_;
  t.maxRows_ = maxRows_;
}

std::unique_ptr<TGridTable> TGridTable::NewFromTemplate(TGridTable* owner, int number) const {
  auto t = std::make_unique<TGridTable>();
  CopyPropertiesTo(*t);
  t->owner_ = owner;
  t->number_ = number;
  // Templates of nested tables come from the same set as this one's.
  t->scope_ = owner ? owner->scope_ : scope_;
  for (auto& c : columns_) t->AddColumn(c->CloneFor(t.get()));
  if (owner) t->units_ = owner->units_;
  t->SetRowCount(t->minRows_);
  return t;
}

// ---------------------------------------------------------------- TGridTableChart

std::unique_ptr<TGridTable> TGridTableChart::NewFromTemplate(TGridTable* owner, int number) const {
  auto t = std::make_unique<TGridTableChart>();
  CopyPropertiesTo(*t);
  // The nested curve is previewed like its template.
  t->ChartShown = ChartShown;
  t->SegmentDrawing = SegmentDrawing;
  t->XColumn = XColumn;
  t->YColumn = YColumn;
  t->X2Column = X2Column;
  t->Y2Column = Y2Column;
  t->GetDataFromFile = GetDataFromFile;
  t->OKCancelButtons = OKCancelButtons;
  t->InvertedXAxis = InvertedXAxis;
  t->InvertedYAxis = InvertedYAxis;
  t->owner_ = owner;
  t->number_ = number;
  t->scope_ = owner ? owner->scope_ : scope_;
  for (auto& c : columns_) t->AddColumn(c->CloneFor(t.get()));
  if (owner) t->units_ = owner->units_;
  t->SetRowCount(t->minRows_);
  return t;
}

void TGridTableChart::WriteExtraDefinition(TDefinitionWriter& w) const {
  w.Bool(ChartShown);
  w.Bool(SegmentDrawing);
  w.Int(XColumn);
  w.Int(YColumn);
  w.Int(X2Column);
  w.Int(Y2Column);
  w.NewLine();
}

void TGridTableChart::ReadExtraDefinition(TDefinitionReader& r) {
  try {
    bool shown = r.Bool();
    bool segments = r.Bool();
    int x = r.Int();
    int y = r.Int();
    int x2 = r.Int();
    int y2 = r.Int();
    ChartShown = shown;
    SegmentDrawing = segments;
    XColumn = x;
    YColumn = y;
    X2Column = x2;
    Y2Column = y2;
  } catch (const ETableError&) {
    throw ETableError("Error reading graphic parameters");
  }
}

// ---------------------------------------------------------------- definition text

void TDefinitionWriter::Separate() {
  if (!text_.empty() && text_.back() != '\n' && text_.back() != '(') text_ += ' ';
}

void TDefinitionWriter::Int(long long v) {
  Separate();
  text_ += std::to_string(v);
}

void TDefinitionWriter::Bool(bool v) {
  Separate();
  text_ += v ? "True" : "False";
}

void TDefinitionWriter::Real(long double v) {
  Separate();
  std::string s = FormatGeneral(v, 18);
  // A real always shows a point or an exponent, so it never reads as an
  // integer.
  if (s.find_first_of(".E") == std::string::npos) s += ".0";
  text_ += s;
}

void TDefinitionWriter::String(std::string_view v) {
  Separate();
  bool quoted = false;
  if (v.empty()) text_ += "''";
  for (char ch : v) {
    auto u = static_cast<unsigned char>(ch);
    if (u < 0x20) {
      if (quoted) text_ += '\'';
      quoted = false;
      text_ += '#' + std::to_string(u);
      continue;
    }
    if (!quoted) text_ += '\'';
    quoted = true;
    if (ch == '\'') text_ += '\'';
    text_ += ch;
  }
  if (quoted) text_ += '\'';
}

void TDefinitionWriter::BeginList() {
  Separate();
  text_ += '(';
}

void TDefinitionWriter::EndList() { text_ += ')'; }

void TDefinitionWriter::NewLine() { text_ += '\n'; }

void TDefinitionReader::SkipBlanks() {
  while (pos_ < text_.size() && static_cast<unsigned char>(text_[pos_]) <= ' ') ++pos_;
}

void TDefinitionReader::Fail(const char* what) const {
  throw ETableError(std::string(what) + " expected at position " + std::to_string(pos_));
}

std::string TDefinitionReader::Word() {
  SkipBlanks();
  size_t b = pos_;
  while (pos_ < text_.size() && static_cast<unsigned char>(text_[pos_]) > ' ' && text_[pos_] != '(' &&
         text_[pos_] != ')' && text_[pos_] != '\'' && text_[pos_] != '#') {
    ++pos_;
  }
  return std::string(text_.substr(b, pos_ - b));
}

int TDefinitionReader::Int() {
  size_t start = pos_;
  std::string w = Word();
  long double v = 0;
  if (w.empty() || w.find_first_of(".eE") != std::string::npos || ParseReal(w, v) != RealParse::Ok ||
      v < -2147483648.0L || v > 2147483647.0L) {
    pos_ = start;
    Fail("Integer");
  }
  return static_cast<int>(v);
}

bool TDefinitionReader::Bool() {
  size_t start = pos_;
  std::string w = Word();
  if (w == "True") return true;
  if (w == "False") return false;
  pos_ = start;
  Fail("Boolean");
}

long double TDefinitionReader::Real() {
  size_t start = pos_;
  std::string w = Word();
  long double v = 0;
  if (w.empty() || ParseReal(w, v) != RealParse::Ok) {
    pos_ = start;
    Fail("Real");
  }
  return v;
}

bool TDefinitionReader::NextIsString() {
  SkipBlanks();
  return pos_ < text_.size() && (text_[pos_] == '\'' || text_[pos_] == '#');
}

bool TDefinitionReader::NextIsList() {
  SkipBlanks();
  return pos_ < text_.size() && text_[pos_] == '(';
}

bool TDefinitionReader::AtEnd() {
  SkipBlanks();
  return pos_ >= text_.size();
}

std::string TDefinitionReader::String() {
  if (!NextIsString()) Fail("String");
  std::string s;
  while (pos_ < text_.size()) {
    if (text_[pos_] == '\'') {
      ++pos_;
      for (;;) {
        if (pos_ >= text_.size()) Fail("Closing quote");
        if (text_[pos_] == '\'') {
          if (pos_ + 1 < text_.size() && text_[pos_ + 1] == '\'') {
            s += '\'';
            pos_ += 2;
            continue;
          }
          ++pos_;
          break;
        }
        s += text_[pos_++];
      }
    } else if (text_[pos_] == '#') {
      ++pos_;
      size_t b = pos_;
      while (pos_ < text_.size() && text_[pos_] >= '0' && text_[pos_] <= '9' && pos_ - b < 3) ++pos_;
      if (pos_ == b) Fail("Character code");
      int code = std::stoi(std::string(text_.substr(b, pos_ - b)));
      if (code > 255) Fail("Character code");
      s += static_cast<char>(code);
    } else {
      break;
    }
  }
  return s;
}

void TDefinitionReader::BeginList() {
  SkipBlanks();
  if (pos_ >= text_.size() || text_[pos_] != '(') Fail("List");
  ++pos_;
}

bool TDefinitionReader::EndOfList() {
  SkipBlanks();
  if (pos_ >= text_.size()) Fail("Closing parenthesis");
  if (text_[pos_] != ')') return false;
  ++pos_;
  return true;
}

}  // namespace ramvex
