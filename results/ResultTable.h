#pragma once
// The model of one search's results: the rows found, the ten columns that turn a row into cell texts through
// one cursor, the sort over any column, and the export entries.
#include "engine/UKvrTYPEFile.h"
#include "kit/TextArena.h"
#include "results/ResultRow.h"

#include <windows.h>

#include <array>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace results {

class TExport;
class TResultTable;
class TColumns;

enum TColumnsEnum : std::uint8_t {
    tcName, tcNumber, tcFolder, tcSize, tcExt, tcType, tcAttribute, tcDateModified, tcDateCreated, tcDateAccessed
};
inline constexpr int ColumnCount = tcDateAccessed + 1;

// The order of TColumnsEnum, which the column list and the XML field list follow.
inline constexpr std::array<TColumnsEnum, ColumnCount> KindOrder = {
    tcName, tcNumber, tcFolder, tcSize, tcExt, tcType, tcAttribute, tcDateModified, tcDateCreated, tcDateAccessed};
// The order people read the columns in, and every export writes them in: the number comes first.
inline constexpr std::array<TColumnsEnum, ColumnCount> DisplayOrder = {
    tcNumber, tcName, tcFolder, tcSize, tcExt, tcType, tcAttribute, tcDateModified, tcDateCreated, tcDateAccessed};

enum TAlignment : std::uint8_t { taLeftJustify, taRightJustify };
enum TColumnDataType : std::uint8_t { dtString, dtI4, dtDateTime };

struct TColumnDef {
    TColumnsEnum Kind;
    const wchar_t* Key;
    const wchar_t* Caption;
    TAlignment Alignment;
    TColumnDataType DataType;
    int TextWidth;
    int Width;
};

// A column reads the row under the table's cursor (TResultTable::ColumnAt sets it), so one object serves every row.
class TColumn {
public:
    TColumn(TResultTable& table, TColumns& columns, int index, const TColumnDef& def);
    virtual ~TColumn() = default;
    TColumn(const TColumn&) = delete;
    TColumn& operator=(const TColumn&) = delete;

    // The current row's cell; empty when the cursor is on no row.
    std::wstring CellText() {
        TRow* row = Current();
        return row ? RowText(*row) : std::wstring();
    }
    // The cell of any row, wherever the cursor is.
    virtual std::wstring RowText(TRow& /*row*/) { return {}; }
    virtual long double NumericValue() { return 0; }
    virtual engine::TScanAttributes AttributeSet() { return {}; }
    virtual double DateValue() { return 0; }

    TResultTable& Table() const { return table_; }
    TColumns& Columns() const { return columns_; }

    int Index;                 // position in the column list
    TColumnsEnum Kind;
    std::wstring Key;
    std::wstring Caption;
    TAlignment Alignment;
    TColumnDataType DataType;
    int TextWidth;             // characters; the fixed-width and XML exports raise it, nothing lowers it
    int Width;                 // pixels
    int DefaultIndex;          // equal to the kind
    std::wstring FormatText;   // the fixed-width export's format, e.g. "%-4s"

protected:
    TRow* Current() const;

private:
    TResultTable& table_;
    TColumns& columns_;
};

// The ten columns, in TColumnsEnum order.
class TColumns {
public:
    explicit TColumns(TResultTable& table);
    TColumn& Items(TColumnsEnum kind) const { return *items_[kind]; }
    TResultTable& Table() const { return table_; }
private:
    TResultTable& table_;
    std::array<std::unique_ptr<TColumn>, ColumnCount> items_;
};

const std::array<TColumnDef, ColumnCount>& DefaultColumns();

// The CSV delimiter is the first character of the user's "ExportToCSV" delimiter option ("," or ";").
struct TExportOptions {
    std::wstring CsvDelimiterChar = L",";
};

using TExportMethod = bool (TResultTable::*)(const std::wstring& fileName, const std::wstring& title,
                                             const TExportOptions& options);

// What the export flow builds its save dialog from, the entry it then calls and how it opens the file written.
struct TExportDef {
    static constexpr int OpenFile = 1;     // the shell's "open" on the file written
    static constexpr int OpenProgram = 2;  // the shell's "open" on Program, with the file as its parameter

    std::wstring Title;
    std::wstring Filter;          // "Caption|pattern|", bars between the pieces
    std::wstring DefaultExt;
    TExportMethod Writer;
    int OpenMode = OpenFile;
    std::wstring Program;
    int ShowCommand = SW_SHOWNORMAL;
};
using TExportsDefsArray = std::array<TExportDef, 6>;

using TExportStartedEvent = std::function<void(TExport& sender, std::int64_t totalRows)>;
using TExportExecuteEvent = std::function<void(TExport& sender, std::int64_t totalRows, int percent)>;
using TExportDoneEvent = std::function<void(TExport& sender, std::int64_t totalRows)>;

class TResultTable {
public:
    TResultTable();
    ~TResultTable();
    TResultTable(const TResultTable&) = delete;
    TResultTable& operator=(const TResultTable&) = delete;

    // Appends a row with flags off and the type name not yet fetched. Allowed during an export: the writer keeps
    // to the rows that were there when it started. The size is kept as a whole count of bytes (a fraction counts
    // as a byte, which the cell shows alike). The extension is always read from the name: `ext` is the one the
    // caller knows, the name's own or empty, and is not kept.
    TRow& AddRow(std::int64_t number, int systemIconIndex, engine::TScanAttributes attributes, double modified,
                 double lastAccess, double created, long double size, std::wstring_view ext,
                 std::wstring_view folder, int typeIconIndex, std::wstring_view name, int thumbnailIndex);
    std::int64_t Count() const { return static_cast<std::int64_t>(order_.size()); }
    // The distinct type names the rows hold, until Clear.
    std::size_t TypeNameCount() const { return typeNames_.Count(); }

    // A new name for the row: what was kept of the old one (type name, icons) is asked anew.
    void RenameRow(TRow& row, std::wstring_view name);
    // Hands every folder record's path to `rewrite`, which may change it: the rows of a renamed folder follow it.
    void RewriteFolders(const std::function<void(std::wstring& path)>& rewrite);
    // Flags Gone every row whose folder `inside` answers true for; it is asked once per folder record.
    void MarkGoneIn(const std::function<bool(const std::wstring& folder)>& inside);

    // While an export holds the table these refuse and return false, so the writer never reads a freed or moved
    // row; they return true when they did their work.
    bool Clear();
    bool DeleteRow(std::int64_t index);
    // Deletes every row flagged Gone, in one pass.
    bool DeleteGoneRows();
    // Sorts rows lowIndex..highIndex (the list view passes Count - 1 and 0) by a column; direction 0 sorts by
    // number ascending, 1 ascending, 2 descending.
    bool Sort(TColumnsEnum column, std::uint8_t direction, std::int64_t highIndex, std::int64_t lowIndex);

    // Moves the cursor to the row; null for an index outside the table.
    TRow* RowAt(std::int64_t index);
    // Moves the cursor to the row and returns the column, whose CellText then gives the cell.
    TColumn& ColumnAt(std::int64_t rowIndex, TColumnsEnum kind);
    TColumn& Column(TColumnsEnum kind) const { return columns_->Items(kind); }
    TColumns& Columns() const { return *columns_; }
    std::int64_t CurrentRow() const { return currentRow_; }
    // The row under the cursor; null when the cursor is on no row.
    TRow* CurrentRowData() const;

    // Negative, zero or positive as row a sorts before, with or after row b by the sort column and direction.
    int CompareRows(TRow& a, TRow& b);
    TColumnsEnum SortColumn() const { return sortColumn_; }
    std::uint8_t SortDirection() const { return sortDirection_; }

    bool Exporting() const { return exporting_; }
    const TExportsDefsArray& Exports() const { return exports_; }
    // Why the last export entry answered false; empty after one that wrote its file or found the table empty.
    const std::wstring& ExportError() const { return exportError_; }

    // The export entries: false for an empty table (no file is made), while another export runs, or when the file
    // could not be written; they never throw.
    bool ExportToTXTPlain(const std::wstring& fileName, const std::wstring& title, const TExportOptions& options);
    bool ExportToTXTTab(const std::wstring& fileName, const std::wstring& title, const TExportOptions& options);
    bool ExportToCSV(const std::wstring& fileName, const std::wstring& title, const TExportOptions& options);
    bool ExportToHTML(const std::wstring& fileName, const std::wstring& title, const TExportOptions& options);
    bool ExportToHTMLWithLinks(const std::wstring& fileName, const std::wstring& title, const TExportOptions& options);
    bool ExportToXML(const std::wstring& fileName, const std::wstring& title, const TExportOptions& options);

    TExportStartedEvent OnExportStartedEvent;
    TExportExecuteEvent OnExportExecuteEvent;
    TExportDoneEvent OnExportDoneEvent;

private:
    template <typename Writer, typename... Args>
    bool RunExport(const std::wstring& fileName, const std::wstring& title, Args&&... args);

    // The folder record for rows of `path`: entries of one folder arrive together, so the last one nearly
    // always serves. A folder met again after others gets a record of its own, which changes nothing.
    TRowFolder& FolderRecord(std::wstring_view path);
    TRow& Row(std::int64_t index) const { return rows_[order_[static_cast<size_t>(index)]]; }

    TRowBlocks rows_;
    std::vector<std::uint32_t> order_;  // the slot of each row, in the table's order
    std::deque<TRowFolder> folders_;    // never moved: rows point at them
    TRowFolder* lastFolder_ = nullptr;
    kit::TextArena names_;
    TTypeNames typeNames_;  // the rows' type names; their folder records point here
    std::unique_ptr<TColumns> columns_;
    std::int64_t currentRow_ = -1;
    TColumnsEnum sortColumn_ = tcNumber;
    std::uint8_t sortDirection_ = 0;
    bool exporting_ = false;
    TExportsDefsArray exports_;
    std::wstring exportError_;
};

} // namespace results
