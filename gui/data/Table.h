// Typed input tables.
//
// A grid table is a list of typed columns of equal length.  Cells are
// reached through TData handles, which stay valid while rows are inserted
// and deleted around them.  A nested-table column holds one whole table per
// row, built from a template table found by its identifier in the family's
// registry.  Tables convert their float cells when the unit system changes
// and tell an attached editor about every change through TTableListener.
#pragma once

#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace ramvex {

class TColumn;
class TGridTable;
class TDefinitionReader;
class TDefinitionWriter;

// A table operation that cannot be carried out, or a column definition that
// cannot be read.  what() is the message for the user.
class ETableError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A typed accessor used on a column that does not hold that type.
class EInvalidCast : public std::runtime_error {
 public:
  EInvalidCast() : std::runtime_error("Data of wrong type") {}
};

// Receiver of a table's notifications: the open editor of the table.
class TTableListener {
 public:
  virtual ~TTableListener() = default;
  virtual void CellChanged(int column, int row) = 0;
  // Rows added or removed, units switched.
  virtual void StructureChanged() = 0;
  // The table drops its editor: it is hidden or the table is being
  // destroyed.  The editor must not reach the table afterwards.
  virtual void EditorHidden() {}
};

// Plain tables and chart-previewing tables keep separate registries and
// identifier counters.
enum class TTableFamily { Plain = 0, Chart = 1 };

// Handle of one cell.  Its row is its current position in the column.
class TData {
 public:
  explicit TData(TColumn* column) : column_(column) {}
  TColumn* Column() const { return column_; }
  int Row() const;
  TGridTable* GetTable() const;
  long double GetFloat() const;
  int GetInt() const;
  std::string GetText() const;
  void SetFloat(long double value) const;
  void SetInt(int value) const;

 private:
  TColumn* column_;
};

// Entry of a template list: an identifier (flag set) or a registry position.
struct TIntWrapper {
  int Value = -1;
  bool IsIdentifier = true;
  bool operator==(const TIntWrapper&) const = default;
};
using TGridTableList = std::vector<TIntWrapper>;

class TColumn {
 public:
  explicit TColumn(TGridTable* table) : table_(table) {}
  virtual ~TColumn() = default;
  TColumn(const TColumn&) = delete;
  TColumn& operator=(const TColumn&) = delete;

  // Key of the column-type registry and first item of a definition.
  virtual int TypeId() const = 0;

  virtual void InsertRows(int at, int count);
  virtual void DeleteRow(int row);
  int HeaderLineCount() const { return static_cast<int>(headers_.size()); }
  virtual std::string HeaderLine(int i) const;
  const std::vector<std::string>& Headers() const { return headers_; }
  void SetHeaders(std::vector<std::string> headers) { headers_ = std::move(headers); }

  virtual TGridTable* GetTable(int row) const;
  virtual long double GetFloat(int row) const;
  virtual void SetFloat(int row, long double value);
  virtual int GetInt(int row) const;
  virtual void SetInt(int row, int value);
  TGridTable* GetObject(int row) const { return GetTable(row); }
  virtual std::string GetText(int row) const;
  virtual void SetText(int row, std::string_view text);
  virtual bool IsChanged() const { return false; }
  int GroupSize() const;
  virtual void HideEditors() {}
  virtual void ResetChanged() {}
  // Smallest width in pixels; textWidth measures a text in the editor's
  // font.
  virtual int MinWidth(const std::function<int(std::string_view)>& textWidth, double pixelsPerInch) const;
  virtual void SetUnits(int from, int to);
  virtual void WriteDefinition(TDefinitionWriter& writer) const;
  virtual bool UsesControls() const { return false; }
  virtual std::unique_ptr<TColumn> CloneFor(TGridTable* table) const = 0;

  bool Visible() const { return visible_; }
  void SetVisible(bool v) { visible_ = v; }
  bool GroupWide() const { return groupWide_; }
  void SetGroupWide(bool v) { groupWide_ = v; }
  TGridTable* Table() const { return table_; }
  int CellCount() const { return static_cast<int>(cells_.size()); }
  TData* Cell(int row) const;
  int RowOf(const TData* cell) const;
  // Position of this column in its table, -1 without one.
  int Index() const;

 protected:
  // Rows written by a value set at row: the row's group, or the row alone.
  std::pair<int, int> WriteRange(int row) const;
  void CheckRow(int row) const;
  void NotifyCell(int row) const;
  void CopyCommonTo(TColumn& other) const;
  // Common fields of a definition, after the type id.
  void ReadCommon(TDefinitionReader& reader);

 private:
  TGridTable* table_;
  std::vector<std::string> headers_;
  bool visible_ = true;
  bool groupWide_ = false;
  std::vector<std::unique_ptr<TData>> cells_;
};

class TEnumColumn : public TColumn {
 public:
  static constexpr int kTypeId = 0;
  TEnumColumn(TGridTable* table, std::vector<std::string> choices = {});
  TEnumColumn(TGridTable* table, TDefinitionReader& reader);
  int TypeId() const override { return kTypeId; }
  const std::vector<std::string>& Choices() const { return choices_; }
  void SetChoices(std::vector<std::string> choices);
  void InsertRows(int at, int count) override;
  void DeleteRow(int row) override;
  int GetInt(int row) const override;
  void SetInt(int row, int value) override;
  std::string GetText(int row) const override;
  int MinWidth(const std::function<int(std::string_view)>& textWidth, double pixelsPerInch) const override;
  void WriteDefinition(TDefinitionWriter& writer) const override;
  bool UsesControls() const override { return true; }
  std::unique_ptr<TColumn> CloneFor(TGridTable* table) const override;

 private:
  std::vector<std::string> choices_;
  std::vector<int> values_;
};

class TIntColumn : public TColumn {
 public:
  static constexpr int kTypeId = 1;
  TIntColumn(TGridTable* table, int def = 0, int min = -2147483647 - 1, int max = 2147483647);
  TIntColumn(TGridTable* table, TDefinitionReader& reader);
  int TypeId() const override { return kTypeId; }
  int Default() const { return default_; }
  int Minimum() const { return min_; }
  int Maximum() const { return max_; }
  void InsertRows(int at, int count) override;
  void DeleteRow(int row) override;
  int GetInt(int row) const override;
  void SetInt(int row, int value) override;
  std::string GetText(int row) const override;
  void SetText(int row, std::string_view text) override;
  int MinWidth(const std::function<int(std::string_view)>& textWidth, double pixelsPerInch) const override;
  void WriteDefinition(TDefinitionWriter& writer) const override;
  std::unique_ptr<TColumn> CloneFor(TGridTable* table) const override;

 private:
  int default_;
  int min_;
  int max_;
  std::vector<int> values_;
};

class TFloatColumn : public TColumn {
 public:
  static constexpr int kTypeId = 2;
  static constexpr char kMarker[] = "FLOATCOLUMN2";
  TFloatColumn(TGridTable* table, std::string unitString = {}, long double def = 0, bool topDepth = false);
  TFloatColumn(TGridTable* table, TDefinitionReader& reader);
  int TypeId() const override { return kTypeId; }
  const std::string& UnitString() const { return unitString_; }
  long double Default() const { return default_; }
  bool TopDepth() const { return topDepth_; }
  void InsertRows(int at, int count) override;
  void DeleteRow(int row) override;
  std::string HeaderLine(int i) const override;
  long double GetFloat(int row) const override;
  void SetFloat(int row, long double value) override;
  std::string GetText(int row) const override;
  void SetText(int row, std::string_view text) override;
  int MinWidth(const std::function<int(std::string_view)>& textWidth, double pixelsPerInch) const override;
  void SetUnits(int from, int to) override;
  void WriteDefinition(TDefinitionWriter& writer) const override;
  std::unique_ptr<TColumn> CloneFor(TGridTable* table) const override;

 private:
  TFloatColumn* NeighbourFloat(int offset) const;
  void Store(int row, long double value);

  bool topDepth_;
  std::string unitString_;
  long double default_;
  std::vector<long double> values_;
};

class TTableColumn : public TColumn {
 public:
  static constexpr int kTypeId = 3;
  static constexpr char kMarker[] = "FLEXCOLUMN2";
  TTableColumn(TGridTable* table, TGridTableList templates = {});
  TTableColumn(TGridTable* table, TDefinitionReader& reader);
  ~TTableColumn() override;
  int TypeId() const override { return kTypeId; }
  const TGridTableList& Templates() const { return templates_; }
  void SetTemplateCount(int count);
  // Template of a row, from the table's first column; null when none.
  TGridTable* TemplateFor(int row) const;
  void InsertRows(int at, int count) override;
  void DeleteRow(int row) override;
  TGridTable* GetTable(int row) const override;
  // Discards the nested table of row and builds a new one from the row's
  // template.
  void ReplaceTable(int row);
  bool IsChanged() const override;
  void HideEditors() override;
  void ResetChanged() override;
  int MinWidth(const std::function<int(std::string_view)>& textWidth, double pixelsPerInch) const override;
  void SetUnits(int from, int to) override;
  void WriteDefinition(TDefinitionWriter& writer) const override;
  bool UsesControls() const override { return true; }
  std::unique_ptr<TColumn> CloneFor(TGridTable* table) const override;
  // Text of a row's button.
  std::string ButtonCaption(int row) const;

 private:
  std::unique_ptr<TGridTable> NewNested(int row) const;
  void Renumber(int from);

  TGridTableList templates_;
  std::vector<std::unique_ptr<TGridTable>> values_;
};

class TStringColumn : public TColumn {
 public:
  static constexpr int kTypeId = 4;
  TStringColumn(TGridTable* table, std::string def = {}, long double widthInches = 1);
  TStringColumn(TGridTable* table, TDefinitionReader& reader);
  int TypeId() const override { return kTypeId; }
  const std::string& Default() const { return default_; }
  long double WidthInches() const { return width_; }
  void InsertRows(int at, int count) override;
  void DeleteRow(int row) override;
  std::string GetText(int row) const override;
  void SetText(int row, std::string_view text) override;
  int MinWidth(const std::function<int(std::string_view)>& textWidth, double pixelsPerInch) const override;
  void WriteDefinition(TDefinitionWriter& writer) const override;
  std::unique_ptr<TColumn> CloneFor(TGridTable* table) const override;

 private:
  std::string default_;
  long double width_;
  std::vector<std::string> values_;
};

// Column-type registry: type id to column factory.
class TColumnTypeStorage {
 public:
  using Factory = std::function<std::unique_ptr<TColumn>(TGridTable*, TDefinitionReader&)>;
  static TColumnTypeStorage& Instance();
  // Null for an unknown id.
  const Factory* Find(int typeId) const;
  int Count() const { return static_cast<int>(factories_.size()); }

 private:
  TColumnTypeStorage();
  std::vector<std::pair<int, Factory>> factories_;
};

// A set of tables built together, such as one project's tables.  The
// nested-table columns of its members look their templates up among the
// members only, and an identifier is unique within the set, so a second set
// can never take the templates of the first.
class TTableScope {
 public:
  // First member of the family holding the identifier, in the order the
  // members joined; null when none.
  TGridTable* Find(TTableFamily family, int identifier) const;
  const std::vector<TGridTable*>& Tables(TTableFamily family) const;

 private:
  friend class TGridTable;
  std::vector<TGridTable*> tables_[2];
};

class TGridTable {
 public:
  TGridTable() : TGridTable(TTableFamily::Plain) {}
  virtual ~TGridTable();
  TGridTable(const TGridTable&) = delete;
  TGridTable& operator=(const TGridTable&) = delete;

  TTableFamily Family() const { return family_; }
  // First table of the family holding the identifier, in registry order.
  static TGridTable* Find(TTableFamily family, int identifier);
  static const std::vector<TGridTable*>& Registry(TTableFamily family);

  int Identifier() const { return identifier_; }
  // Takes the identifier; a table that held it gets this table's old one.
  // Within a scope only the scope's members are considered.
  void SetIdentifier(int value);
  // Joins a set of tables (see TTableScope); set it before the identifier.
  // Tables built from this one as a template share its scope.
  void SetScope(std::shared_ptr<TTableScope> scope);
  const std::shared_ptr<TTableScope>& Scope() const { return scope_; }
  // Where a switch to `system` would carry a cell of this table or of a
  // nested one past the largest number: the editor title, row and column.
  // Empty when every cell converts.
  std::string UnitOverflow(int system) const;
  const std::string& Caption() const { return caption_; }
  void SetCaption(std::string v) { caption_ = std::move(v); }
  const std::string& Comments() const { return comments_; }
  void SetComments(std::string v) { comments_ = std::move(v); }
  const std::string& TopLeft() const { return topLeft_; }
  void SetTopLeft(std::string v) { topLeft_ = std::move(v); }
  const std::string& HelpPicture() const { return helpPicture_; }
  void SetHelpPicture(std::string v) { helpPicture_ = std::move(v); }
  int MinRows() const { return minRows_; }
  void SetMinRows(int value);
  int MaxRows() const { return maxRows_; }
  void SetMaxRows(int value) { maxRows_ = value; }
  int RowGroup() const { return rowGroup_; }
  void SetRowGroup(int value) { rowGroup_ = value < 1 ? 1 : value; }

  int RowCount() const { return rowCount_; }
  void SetRowCount(int count);
  // Whether the editor may add or insert a group; whether it may delete
  // one.
  bool CanAddRows() const { return rowCount_ != maxRows_; }
  bool CanDeleteRows() const { return rowCount_ - rowGroup_ >= minRows_ && rowCount_ > 0; }
  void AddRows();
  // Inserts a group before the group holding row.
  void InsertRows(int row);
  // Deletes the group holding row.
  void DeleteRows(int row);

  int UnitSystem() const { return units_; }
  // Converts every float cell; a switch that would overflow a cell is
  // refused with EAssignError naming it, and nothing is converted.
  void SetUnits(int system);

  TGridTable* Owner() const { return owner_; }
  int Number() const { return number_; }
  void SetNumber(int number);
  std::string Path() const;
  std::string EditorTitle() const { return caption_ + " " + Path(); }

  bool IsChanged() const;
  void ResetChanged();
  void SetChanged() { changed_ = true; }

  int ColumnCount() const { return static_cast<int>(columns_.size()); }
  TColumn* Column(int i) const;
  int VisibleColumnCount() const;
  TColumn* VisibleColumn(int i) const;
  TData* Cell(int column, int row) const { return Column(column)->Cell(row); }
  int IndexOf(const TColumn* column) const;
  // Appends a column; it receives the table's current rows.
  TColumn* AddColumn(std::unique_ptr<TColumn> column);
  void ClearColumns();
  template <class C, class... A>
  C* Add(std::vector<std::string> headers, A&&... args) {
    auto c = std::make_unique<C>(this, std::forward<A>(args)...);
    c->SetHeaders(std::move(headers));
    return static_cast<C*>(AddColumn(std::move(c)));
  }

  // Shortcuts to a cell.
  long double Float(int column, int row) const { return Column(column)->GetFloat(row); }
  int Int(int column, int row) const { return Column(column)->GetInt(row); }
  TGridTable* Nested(int column, int row) const { return Column(column)->GetTable(row); }

  // Editor link.  The editor attaches itself when it opens; a table with a
  // listener counts as having an open editor.
  void SetListener(TTableListener* listener) { listener_ = listener; }
  TTableListener* Listener() const { return listener_; }
  bool EditorOpen() const { return listener_ != nullptr; }
  void HideEditor();
  void NotifyCellChanged(int column, int row) const;
  void NotifyStructureChanged() const;

  // Called by a choice column when the value of row changed.
  void ChoiceChanged(const TColumn* column, int row);
  // Brings every nested-table column's template list to the length of the
  // first column's choice list.
  void SyncTemplateCounts();

  // Column definitions (the Col property).
  std::string WriteDefinition() const;
  void ReadDefinition(std::string_view text);
  bool ReadingDefinition() const { return readingDefinition_; }

  // Empty table of the same family and class, owned by owner, with the
  // properties and cloned columns of this one as template.
  virtual std::unique_ptr<TGridTable> NewFromTemplate(TGridTable* owner, int number) const;

 protected:
  virtual void WriteExtraDefinition(TDefinitionWriter&) const {}
  virtual void ReadExtraDefinition(TDefinitionReader&) {}
  explicit TGridTable(TTableFamily family);
  void CopyPropertiesTo(TGridTable& table) const;

 private:
  int identifier_ = 0;
  std::string caption_;
  std::string comments_;
  std::string topLeft_;
  std::string helpPicture_;
  int minRows_ = 1;
  int maxRows_ = 0;
  int rowGroup_ = 1;
  int rowCount_ = 0;
  int units_ = 1;
  int number_ = 0;
  bool changed_ = false;
  bool readingDefinition_ = false;
  TTableFamily family_;
  TGridTable* owner_ = nullptr;
  TTableListener* listener_ = nullptr;
  std::shared_ptr<TTableScope> scope_;
  std::vector<std::unique_ptr<TColumn>> columns_;

  friend class TTableColumn;
  friend class TGridTableChart;
};

// Grid table previewed as a chart in its editor.
class TGridTableChart : public TGridTable {
 public:
  TGridTableChart() : TGridTable(TTableFamily::Chart) {}

  bool ChartShown = false;
  bool SegmentDrawing = false;
  int XColumn = 0;
  int YColumn = 1;
  int X2Column = 0;
  int Y2Column = 0;
  bool GetDataFromFile = false;
  bool OKCancelButtons = false;
  bool InvertedXAxis = false;
  bool InvertedYAxis = false;

  std::unique_ptr<TGridTable> NewFromTemplate(TGridTable* owner, int number) const override;

 protected:
  void WriteExtraDefinition(TDefinitionWriter& writer) const override;
  void ReadExtraDefinition(TDefinitionReader& reader) override;
};

// Text layout of the column definitions: integers, booleans (True, False),
// reals, quoted strings ('it''s', control characters as #13) and lists in
// parentheses, separated by blanks or line ends.
class TDefinitionWriter {
 public:
  void Int(long long v);
  void Bool(bool v);
  void Real(long double v);
  void String(std::string_view v);
  void BeginList();
  void EndList();
  void NewLine();
  const std::string& Text() const { return text_; }

 private:
  void Separate();
  std::string text_;
};

class TDefinitionReader {
 public:
  explicit TDefinitionReader(std::string_view text) : text_(text) {}
  int Int();
  bool Bool();
  long double Real();
  std::string String();
  void BeginList();
  // True and consumed when the next item closes a list.
  bool EndOfList();
  bool NextIsString();
  bool NextIsList();
  bool AtEnd();

 private:
  void SkipBlanks();
  std::string Word();
  [[noreturn]] void Fail(const char* what) const;
  std::string_view text_;
  size_t pos_ = 0;
};

}  // namespace ramvex
