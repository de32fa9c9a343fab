#include "results/ResultTable.h"

#include "kit/Guard.h"
#include "kit/Strings.h"
#include "results/ResultExports.h"
#include "results/RowSort.h"

#include <windows.h>

#include <string>
#include <utility>

namespace results {
namespace {

int Sign(int value) { return (value > 0) - (value < 0); }

template <typename T>
int Compare(const T& a, const T& b) { return (a > b) - (a < b); }

int CompareText(const std::wstring& a, const std::wstring& b) {
    const int result = CompareStringW(LOCALE_USER_DEFAULT, SortTextFlags, a.c_str(), static_cast<int>(a.size()),
                                      b.c_str(), static_cast<int>(b.size()));
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

TRow& TResultTable::AddRow(std::int64_t number, int systemIconIndex, engine::TScanAttributes attributes,
                           double modified, double lastAccess, double created, long double size, std::wstring ext,
                           std::wstring folder, int typeIconIndex, std::wstring name, int thumbnailIndex) {
    auto row = std::make_unique<TRow>();
    row->Number = number;
    row->SystemIconIndex = systemIconIndex;
    row->Attributes = attributes;
    row->Modified = modified;
    row->LastAccess = lastAccess;
    row->Created = created;
    row->Size = size;
    row->Ext = std::move(ext);
    row->Folder = std::move(folder);
    row->TypeIconIndex = typeIconIndex;
    row->Name = std::move(name);
    row->ThumbnailIndex = thumbnailIndex;
    rows_.push_back(std::move(row));
    return *rows_.back();
}

bool TResultTable::Clear() {
    if (exporting_) return false;
    rows_.clear();
    return true;
}

bool TResultTable::DeleteRow(std::int64_t index) {
    if (exporting_ || index < 0 || index >= Count()) return false;
    rows_.erase(rows_.begin() + index);
    return true;
}

bool TResultTable::DeleteGoneRows() {
    if (exporting_) return false;
    std::erase_if(rows_, [](const std::unique_ptr<TRow>& row) { return row->Gone; });
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
    return currentRow_ >= 0 && currentRow_ < Count() ? rows_[static_cast<size_t>(currentRow_)].get() : nullptr;
}

int TResultTable::CompareRows(TRow& a, TRow& b) {
    if (sortDirection_ == 0) {  // never sorted: the order rows were found in
        sortColumn_ = tcNumber;
        sortDirection_ = 1;
    }
    int result = 0;
    switch (sortColumn_) {
    case tcName: result = CompareText(a.Name, b.Name); break;
    case tcNumber: result = Compare(a.Number, b.Number); break;
    case tcFolder: result = CompareText(a.Folder, b.Folder); break;
    case tcSize: result = Compare(a.Size, b.Size); break;
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
    SortRows(rows_, sortColumn_, sortDirection_, lowIndex, highIndex);
    return true;
}

template <typename Writer, typename... Args>
bool TResultTable::RunExport(const std::wstring& fileName, const std::wstring& title, Args&&... args) {
    exportError_.clear();
    if (rows_.empty()) return false;
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
