// The rows' texts worked out when asked, the pool of type names and the blocks the rows live in.
#include "results/ResultRow.h"

#include "results/CellFormat.h"
#include "results/ShellKinds.h"

#include <windows.h>

#include <algorithm>

namespace results {

TTypeNames::TTypeNames() : names_{TRow::TypeNameUnknown}, numbers_{{TRow::TypeNameUnknown, 0}} {}

std::uint32_t TTypeNames::Number(const std::wstring& name) {
    const auto [found, added] = numbers_.try_emplace(name, static_cast<std::uint32_t>(names_.size()));
    if (added) names_.push_back(name);
    return found->second;
}

std::wstring TRow::FullPath() const {
    std::wstring path;
    path.reserve(Folder().size() + nameLength_);
    path += Folder();
    path += Name();
    return path;
}

const std::wstring& TRow::TypeName() const { return folder_->TypeNames->Name(typeName_); }

void TRow::SetTypeName(const std::wstring& name) { typeName_ = folder_->TypeNames->Number(name); }

std::wstring_view TRow::ExtText() const {
    if (IsDirectory()) return {};
    const std::wstring_view name = Name();
    const size_t dot = name.rfind(L'.');
    return dot == std::wstring_view::npos ? std::wstring_view() : name.substr(dot);
}

std::wstring TRow::AttributesText() const { return AttributeLetters(Attributes); }

const std::wstring& TRow::TypeNameText() {
    if (typeName_ == 0) SetTypeName(ShellKinds().TypeName(Folder(), std::wstring(Name()), IsDirectory()));
    return TypeName();
}

bool TRow::IsShortcut() const {
    std::wstring ext(ExtText());
    CharLowerBuffW(ext.data(), static_cast<DWORD>(ext.size()));
    return ext == L".lnk" || ext == L".url";
}

std::uint32_t TRowBlocks::Add() {
    if (used_ == blocks_.size() * BlockRows) blocks_.push_back(std::unique_ptr<TRow[]>(new TRow[BlockRows]));
    TRow& row = (*this)[used_];
    if (used_ < reused_) row = TRow();  // a block kept from before the last Clear
    return used_++;
}

void TRowBlocks::Clear() {
    reused_ = std::max(reused_, used_);
    used_ = 0;
}

} // namespace results
