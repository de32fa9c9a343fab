#pragma once
// The model of one search's results: the rows found, the ten columns that turn a row into cell texts through
// one cursor, the sort over any column, and the export entries.
#include "engine/UKvrTYPEFile.h"

#include <windows.h>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
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

// One file or folder found.
struct TRow {
    static constexpr const wchar_t* TypeNameUnknown = L"X";  // the type name until the shell has been asked

    bool DetailsFetched = false;     // the list view has fetched the row's icons and type name
    bool SelectionSnapshot = false;  // a row a file action chose, looked at once the action's work is done
    bool Gone = false;               // the file no longer exists; the row is to be removed
    bool Cut = false;                // cut to the clipboard: the list shows the row ghosted
    std::int64_t Number = 0;         // 1-based, in the order found
    int SystemIconIndex = -1;
    int ThumbnailIndex = -1;
    std::wstring Name;
    int TypeIconIndex = -1;          // the small system icon of the row's folder
    std::wstring Folder;             // ends in a backslash; Folder + Name is the full path
    std::wstring TypeName = TypeNameUnknown;
    std::wstring Ext;                // cache of ExtText
    long double Size = 0;            // bytes
    double Created = 0, LastAccess = 0, Modified = 0;
    engine::TScanAttributes Attributes;
    std::wstring AttributesCache;

    bool IsDirectory() const { return Attributes.Contains(engine::saDirectory); }
    // The extension of Name from its last dot on; empty for a folder. Cached.
    const std::wstring& ExtText();
    // The attribute letters. Cached.
    const std::wstring& AttributesText();
    // The shell's type name, asked once for the row (empty when the shell gives none).
    const std::wstring& TypeNameText();
    bool IsShortcut();
    // A new name: what was cached from the old one (extension, type name, icons) is asked anew.
    void Rename(std::wstring name);
};

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
    // to the rows that were there when it started.
    TRow& AddRow(std::int64_t number, int systemIconIndex, engine::TScanAttributes attributes, double modified,
                 double lastAccess, double created, long double size, std::wstring ext, std::wstring folder,
                 int typeIconIndex, std::wstring name, int thumbnailIndex);
    std::int64_t Count() const { return static_cast<std::int64_t>(rows_.size()); }

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

    std::vector<std::unique_ptr<TRow>> rows_;
    std::unique_ptr<TColumns> columns_;
    std::int64_t currentRow_ = -1;
    TColumnsEnum sortColumn_ = tcNumber;
    std::uint8_t sortDirection_ = 0;
    bool exporting_ = false;
    TExportsDefsArray exports_;
    std::wstring exportError_;
};

} // namespace results
