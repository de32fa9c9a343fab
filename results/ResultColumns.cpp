// The ten column kinds of the result table.
#include "results/CellFormat.h"
#include "results/DateTimeText.h"
#include "results/ResultTable.h"

namespace results {

TColumn::TColumn(TResultTable& table, TColumns& columns, int index, const TColumnDef& def)
    : Index(index), Kind(def.Kind), Key(def.Key), Caption(def.Caption), Alignment(def.Alignment),
      DataType(def.DataType), TextWidth(def.TextWidth), Width(def.Width), DefaultIndex(def.Kind), table_(table),
      columns_(columns) {}

TRow* TColumn::Current() const { return table_.CurrentRowData(); }

namespace {

class TNameColumn : public TColumn {
public:
    using TColumn::TColumn;
    std::wstring RowText(TRow& row) override { return std::wstring(row.Name()); }
};

class TNumberColumn : public TColumn {
public:
    using TColumn::TColumn;
    std::wstring RowText(TRow& row) override { return std::to_wstring(row.Number); }
};

class TFolderColumn : public TColumn {
public:
    using TColumn::TColumn;
    std::wstring RowText(TRow& row) override { return row.Folder(); }
};

class TSizeColumn : public TColumn {
public:
    using TColumn::TColumn;
    std::wstring RowText(TRow& row) override { return row.IsDirectory() ? std::wstring() : SizeText(row.Size()); }
};

class TExtColumn : public TColumn {
public:
    using TColumn::TColumn;
    std::wstring RowText(TRow& row) override { return std::wstring(row.ExtText()); }
};

class TTypeColumn : public TColumn {
public:
    using TColumn::TColumn;
    std::wstring RowText(TRow& row) override { return row.TypeNameText(); }
};

class TAttributeColumn : public TColumn {
public:
    using TColumn::TColumn;
    std::wstring RowText(TRow& row) override { return row.AttributesText(); }
    engine::TScanAttributes AttributeSet() override {
        TRow* row = Current();
        return row ? row->Attributes : engine::TScanAttributes();
    }
};

// The three date kinds differ only in the row's field they read.
template <double TRow::*Field>
class TDateColumn : public TColumn {
public:
    using TColumn::TColumn;
    std::wstring RowText(TRow& row) override { return FormatRowDate(row.*Field); }
    double DateValue() override { TRow* row = Current(); return row ? row->*Field : 0; }
};
using TDateModifiedColumn = TDateColumn<&TRow::Modified>;
using TDateCreatedColumn = TDateColumn<&TRow::Created>;
using TDateAccessedColumn = TDateColumn<&TRow::LastAccess>;

std::unique_ptr<TColumn> MakeColumn(TResultTable& table, TColumns& columns, const TColumnDef& def) {
    const int index = def.Kind;
    switch (def.Kind) {
    case tcName: return std::make_unique<TNameColumn>(table, columns, index, def);
    case tcNumber: return std::make_unique<TNumberColumn>(table, columns, index, def);
    case tcFolder: return std::make_unique<TFolderColumn>(table, columns, index, def);
    case tcSize: return std::make_unique<TSizeColumn>(table, columns, index, def);
    case tcExt: return std::make_unique<TExtColumn>(table, columns, index, def);
    case tcType: return std::make_unique<TTypeColumn>(table, columns, index, def);
    case tcAttribute: return std::make_unique<TAttributeColumn>(table, columns, index, def);
    case tcDateModified: return std::make_unique<TDateModifiedColumn>(table, columns, index, def);
    case tcDateCreated: return std::make_unique<TDateCreatedColumn>(table, columns, index, def);
    case tcDateAccessed: return std::make_unique<TDateAccessedColumn>(table, columns, index, def);
    }
    return std::make_unique<TColumn>(table, columns, index, def);
}

} // namespace

const std::array<TColumnDef, ColumnCount>& DefaultColumns() {
    static const std::array<TColumnDef, ColumnCount> defs = {{
        {tcName, L"Name", L" Name", taLeftJustify, dtString, 4, 105},
        {tcNumber, L"Number", L" N\u00B0", taRightJustify, dtI4, 2, 30},
        {tcFolder, L"Folder", L" Folder", taLeftJustify, dtString, 5, 190},
        {tcSize, L"Size", L" Size", taRightJustify, dtI4, 4, 80},
        {tcExt, L"Ext", L" Ext", taLeftJustify, dtString, 3, 39},
        {tcType, L"Type", L" Type", taLeftJustify, dtString, 4, 105},
        {tcAttribute, L"Attributes", L" Attributes", taLeftJustify, dtString, 10, 70},
        {tcDateModified, L"ModifiedDate", L" Modified Date", taLeftJustify, dtDateTime, 19, 118},
        {tcDateCreated, L"CreationDate", L" Creation Date", taLeftJustify, dtDateTime, 19, 118},
        {tcDateAccessed, L"LastAccessDate", L" Last Access Date", taLeftJustify, dtDateTime, 19, 118},
    }};
    return defs;
}

TColumns::TColumns(TResultTable& table) : table_(table) {
    for (const TColumnDef& def : DefaultColumns()) items_[def.Kind] = MakeColumn(table, *this, def);
}

} // namespace results
