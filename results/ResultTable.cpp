#include "results/ResultTable.h"

#include "kit/Guard.h"
#include "kit/Strings.h"
#include "results/ResultExports.h"
#include "results/RowSort.h"

#include <windows.h>

#include <cmath>
#include <limits>
#include <string>
#include <unordered_set>
#include <utility>

namespace results {
namespace {

int Sign(int value) { return (value > 0) - (value < 0); }

template <typename T>
int Compare(const T& a, const T& b) { return (a > b) - (a < b); }

int CompareText(std::wstring_view a, std::wstring_view b) {
    const int result = CompareStringW(LOCALE_USER_DEFAULT, SortTextFlags, a.data(), static_cast<int>(a.size()),
                                      b.data(), static_cast<int>(b.size()));
    return result == 0 ? 0 : result - CSTR_EQUAL;
}

// lstrcmpW's order, empty names first.
int CompareTypeNames(TRow& a, TRow& b) {
    const std::wstring ta = kit::LowerCase(a.TypeNameText());
    const std::wstring tb = kit::LowerCase(b.TypeNameText());
    if (ta == tb) return 0;
    if (ta.empty()) return -1;
    if (tb.empty()) return 1;
    return Sign(lstrcmpW(ta.c_str(), tb.c_str()));
}

// Holds the table's export flag for the life of one export, on every path out of it.
class ExportHold {
public:
    explicit ExportHold(bool& flag) : flag_(flag) { flag_ = true; }
    ~ExportHold() { flag_ = false; }
    ExportHold(const ExportHold&) = delete;
    ExportHold& operator=(const ExportHold&) = delete;
private:
    bool& flag_;
};

TExportDef MakeExportDef(const wchar_t* title, const wchar_t* filter, const wchar_t* ext, TExportMethod writer) {
    TExportDef def;
    def.Title = title;
    def.Filter = filter;
    def.DefaultExt = ext;
    def.Writer = writer;
    return def;
}

} // namespace

TResultTable::TResultTable() : columns_(std::make_unique<TColumns>(*this)) {
    exports_ = {{
        MakeExportDef(L" Export Results as Text File", L"Text File (*.txt)|*.txt|", L".txt",
                      &TResultTable::ExportToTXTPlain),
        MakeExportDef(L" Export Results as Tab Delimited Text File", L"Tab Delimited Text File (*.txt)|*.txt|",
                      L".txt", &TResultTable::ExportToTXTTab),
        MakeExportDef(L" Export Results as Comma Separated Values File",
                      L"Comma Separated Values File (*.csv)|*.csv|", L".csv", &TResultTable::ExportToCSV),
        MakeExportDef(L" Export Results as Web Page File", L"Web Page File (*.htm; *.html)|*.html|", L".html",
                      &TResultTable::ExportToHTML),
        MakeExportDef(L" Export Results as Web Page File with Links",
                      L"Web Page File with Links (*.htm; *.html)|*.html|", L".html",
                      &TResultTable::ExportToHTMLWithLinks),
        MakeExportDef(L" Export Results as XML Document File", L"XML Document File (*.xml)|*.xml|", L".xml",
                      &TResultTable::ExportToXML),
    }};
}

TResultTable::~TResultTable() = default;

namespace {

// Whole bytes, rounded up as the size cell rounds (so 0.25 bytes show as 1 byte either way); 0 and below are 0.
std::uint64_t ByteCount(long double size) {
    constexpr auto most = static_cast<long double>(std::numeric_limits<std::uint64_t>::max());
    if (!(size > 0)) return 0;
    if (size >= most) return std::numeric_limits<std::uint64_t>::max();
    return static_cast<std::uint64_t>(std::ceil(size));
}

} // namespace

TRowFolder& TResultTable::FolderRecord(std::wstring_view path) {
    if (lastFolder_ && lastFolder_->Path == path) return *lastFolder_;
    lastFolder_ = &folders_.emplace_back(TRowFolder{std::wstring(path), -1, &typeNames_});
    return *lastFolder_;
}

TRow& TResultTable::AddRow(std::int64_t number, int systemIconIndex, engine::TScanAttributes attributes,
                           double modified, double lastAccess, double created, long double size, std::wstring_view,
                           std::wstring_view folder, int typeIconIndex, std::wstring_view name, int thumbnailIndex) {
    const std::uint32_t slot = rows_.Add();
    TRow& row = rows_[slot];
    row.Number = static_cast<std::int32_t>(number);
    row.SystemIconIndex = systemIconIndex;
    row.Attributes = attributes;
    row.Modified = modified;
    row.LastAccess = lastAccess;
    row.Created = created;
    row.size_ = ByteCount(size);
    row.folder_ = &FolderRecord(folder);
    if (typeIconIndex != -1) row.folder_->TypeIconIndex = typeIconIndex;
    row.name_ = names_.Add(name);
    row.nameLength_ = static_cast<std::uint16_t>(name.size());
    row.ThumbnailIndex = thumbnailIndex;
    order_.push_back(slot);
    return row;
}

void TResultTable::RenameRow(TRow& row, std::wstring_view name) {
    row.name_ = names_.Add(name);  // the old name's room is given back with the others at Clear
    row.nameLength_ = static_cast<std::uint16_t>(name.size());
    row.typeName_ = 0;
    row.SystemIconIndex = -1;
    row.ThumbnailIndex = -1;
    row.DetailsFetched = false;
}

void TResultTable::RewriteFolders(const std::function<void(std::wstring& path)>& rewrite) {
    for (TRowFolder& folder : folders_) rewrite(folder.Path);
}

void TResultTable::MarkGoneIn(const std::function<bool(const std::wstring& folder)>& inside) {
    std::unordered_set<const TRowFolder*> marked;
    for (const TRowFolder& folder : folders_)
        if (inside(folder.Path)) marked.insert(&folder);
    if (marked.empty()) return;
    for (const std::uint32_t slot : order_) {
        TRow& row = rows_[slot];
        if (marked.contains(row.folder_)) row.Gone = true;
    }
}

bool TResultTable::Clear() {
    if (exporting_) return false;
    // The rows' and names' blocks and the order's room stay for the next search (see TRowBlocks).
    order_.clear();
    rows_.Clear();
    folders_.clear();
    lastFolder_ = nullptr;
    names_.Clear();
    typeNames_.Clear();  // a search over many kinds leaves many names, of no use to the next
    return true;
}

bool TResultTable::DeleteRow(std::int64_t index) {
    if (exporting_ || index < 0 || index >= Count()) return false;
    order_.erase(order_.begin() + index);
    return true;
}

bool TResultTable::DeleteGoneRows() {
    if (exporting_) return false;
    std::erase_if(order_, [this](std::uint32_t slot) { return rows_[slot].Gone; });
    return true;
}

TRow* TResultTable::RowAt(std::int64_t index) {
    currentRow_ = index;
    return CurrentRowData();
}

TColumn& TResultTable::ColumnAt(std::int64_t rowIndex, TColumnsEnum kind) {
    currentRow_ = rowIndex;
    return Column(kind);
}

TRow* TResultTable::CurrentRowData() const {
    return currentRow_ >= 0 && currentRow_ < Count() ? &Row(currentRow_) : nullptr;
}

int TResultTable::CompareRows(TRow& a, TRow& b) {
    if (sortDirection_ == 0) {  // never sorted: the order rows were found in
        sortColumn_ = tcNumber;
        sortDirection_ = 1;
    }
    int result = 0;
    switch (sortColumn_) {
    case tcName: result = CompareText(a.Name(), b.Name()); break;
    case tcNumber: result = Compare(a.Number, b.Number); break;
    case tcFolder: result = CompareText(a.Folder(), b.Folder()); break;
    case tcSize: result = Compare(a.Size(), b.Size()); break;
    case tcExt: result = CompareText(a.ExtText(), b.ExtText()); break;
    case tcType: result = CompareTypeNames(a, b); break;
    case tcAttribute: result = CompareText(a.AttributesText(), b.AttributesText()); break;
    case tcDateModified: result = Compare(a.Modified, b.Modified); break;
    case tcDateCreated: result = Compare(a.Created, b.Created); break;
    case tcDateAccessed: result = Compare(a.LastAccess, b.LastAccess); break;
    }
    return sortDirection_ == 2 ? -result : result;
}

bool TResultTable::Sort(TColumnsEnum column, std::uint8_t direction, std::int64_t highIndex, std::int64_t lowIndex) {
    if (exporting_) return false;
    sortColumn_ = column;
    sortDirection_ = direction;
    if (lowIndex < 0) lowIndex = 0;
    if (highIndex > Count() - 1) highIndex = Count() - 1;
    if (lowIndex >= highIndex) return true;
    if (sortDirection_ == 0) {  // never sorted: the order rows were found in
        sortColumn_ = tcNumber;
        sortDirection_ = 1;
    }
    SortRows(rows_, order_, sortColumn_, sortDirection_, lowIndex, highIndex);
    return true;
}

template <typename Writer, typename... Args>
bool TResultTable::RunExport(const std::wstring& fileName, const std::wstring& title, Args&&... args) {
    exportError_.clear();
    if (order_.empty()) return false;
    // A second export started from the window while one runs would clear the flag under the first.
    if (exporting_) {
        exportError_ = L"Another export is running.";
        return false;
    }
    try {
        ExportHold hold(exporting_);
        Writer writer(*this, fileName, title, std::forward<Args>(args)...);
        if (writer.Execute()) return true;
        exportError_ = writer.Error();
    } catch (...) {
        exportError_ = kit::CurrentExceptionMessage();
    }
    return false;
}

bool TResultTable::ExportToTXTPlain(const std::wstring& fileName, const std::wstring& title, const TExportOptions&) {
    return RunExport<TExportTXTPlain>(fileName, title);
}

bool TResultTable::ExportToTXTTab(const std::wstring& fileName, const std::wstring& title, const TExportOptions&) {
    return RunExport<TExportTXTTab>(fileName, title);
}

bool TResultTable::ExportToCSV(const std::wstring& fileName, const std::wstring& title,
                               const TExportOptions& options) {
    const wchar_t delimiter = options.CsvDelimiterChar.empty() ? L',' : options.CsvDelimiterChar.front();
    return RunExport<TExportCSV>(fileName, title, delimiter);
}

bool TResultTable::ExportToHTML(const std::wstring& fileName, const std::wstring& title, const TExportOptions&) {
    return RunExport<TExportHTML>(fileName, title, false);
}

bool TResultTable::ExportToHTMLWithLinks(const std::wstring& fileName, const std::wstring& title,
                                         const TExportOptions&) {
    return RunExport<TExportHTML>(fileName, title, true);
}

bool TResultTable::ExportToXML(const std::wstring& fileName, const std::wstring& title, const TExportOptions&) {
    return RunExport<TExportXML>(fileName, title);
}

} // namespace results
