// The UTF-16 string lists of the file formats.
#include "dragdrop/DragDropFile.h"

#include <stdexcept>

#include "kit/Exception.h"
#include "kit/Strings.h"

namespace dragdrop {

// --- TUnicodeStrings

void TUnicodeStrings::CheckIndex(int index, int limit) const {
    if (index < 0 || index >= limit) throw kit::Exception(kit::Format(L"List index out of bounds (%d)", index));
}

void TUnicodeStrings::Changing() {
    if (updateCount_ == 0 && OnChanging) OnChanging(*this);
}

void TUnicodeStrings::Changed() {
    if (updateCount_ == 0 && OnChange) OnChange(*this);
}

void TUnicodeStrings::BeginUpdate() {
    if (updateCount_ == 0) Changing();
    ++updateCount_;
}

void TUnicodeStrings::EndUpdate() {
    if (updateCount_ == 0) return;
    if (--updateCount_ == 0) Changed();
}

int TUnicodeStrings::Add(const std::wstring& text) {
    const int index = Count();
    Insert(index, text);
    return index;
}

int TUnicodeStrings::IndexOf(const std::wstring& text) const {
    for (int i = Count() - 1; i >= 0; --i)
        if (Get(i) == text) return i;
    return -1;
}

void TUnicodeStrings::Exchange(int index1, int index2) {
    CheckIndex(index1, Count());
    CheckIndex(index2, Count());
    BeginUpdate();
    const std::wstring first = Get(index1);
    Put(index1, Get(index2));
    Put(index2, first);
    EndUpdate();
}

void TUnicodeStrings::Move(int from, int to) {
    CheckIndex(from, Count());
    CheckIndex(to, Count());
    if (from == to) return;
    BeginUpdate();
    const std::wstring item = Get(from);
    Delete(from);
    Insert(to, item);
    EndUpdate();
}

void TUnicodeStrings::Assign(const TUnicodeStrings& source) {
    if (&source == this) return;
    BeginUpdate();
    Clear();
    SetCapacity(source.Count());
    for (int i = 0; i < source.Count(); ++i) Add(source.Get(i));
    EndUpdate();
}

void TUnicodeStrings::Assign(const std::vector<std::string>& source) {
    BeginUpdate();
    Clear();
    SetCapacity(static_cast<int>(source.size()));
    for (const std::string& text : source) Add(kit::CodePageToWide(text, CP_ACP));
    EndUpdate();
}

void TUnicodeStrings::AssignTo(std::vector<std::string>& destination) const {
    destination.clear();
    destination.reserve(static_cast<size_t>(Count()));
    for (int i = 0; i < Count(); ++i) destination.push_back(WideToCodePage(Get(i)));
}

std::vector<std::wstring> TUnicodeStrings::ToVector() const {
    std::vector<std::wstring> items;
    items.reserve(static_cast<size_t>(Count()));
    for (int i = 0; i < Count(); ++i) items.push_back(Get(i));
    return items;
}

// --- TUnicodeStringList

TUnicodeStringList::TUnicodeStringList(std::initializer_list<std::wstring> items) : items_(items) {}

std::wstring TUnicodeStringList::Get(int index) const {
    CheckIndex(index, Count());
    return items_[static_cast<size_t>(index)];
}

void TUnicodeStringList::Put(int index, const std::wstring& text) {
    CheckIndex(index, Count());
    Change([&] { items_[static_cast<size_t>(index)] = text; });
}

void TUnicodeStringList::Insert(int index, const std::wstring& text) {
    CheckIndex(index, Count() + 1);
    Change([&] { items_.insert(items_.begin() + index, text); });
}

void TUnicodeStringList::Delete(int index) {
    CheckIndex(index, Count());
    Change([&] { items_.erase(items_.begin() + index); });
}

void TUnicodeStringList::Clear() {
    Change([&] { items_.clear(); });
}

void TUnicodeStringList::SetCapacity(int capacity) {
    if (capacity < Count()) throw std::logic_error("A list's capacity cannot be below its count");
    items_.reserve(static_cast<size_t>(capacity));
}

// --- TUnicodeStringsAdapter

std::wstring TUnicodeStringsAdapter::Get(int index) const {
    CheckIndex(index, Count());
    return kit::CodePageToWide(strings_[static_cast<size_t>(index)], CP_ACP);
}

void TUnicodeStringsAdapter::Put(int index, const std::wstring& text) {
    CheckIndex(index, Count());
    Change([&] { strings_[static_cast<size_t>(index)] = WideToCodePage(text); });
}

void TUnicodeStringsAdapter::Insert(int index, const std::wstring& text) {
    CheckIndex(index, Count() + 1);
    Change([&] { strings_.insert(strings_.begin() + index, WideToCodePage(text)); });
}

void TUnicodeStringsAdapter::Delete(int index) {
    CheckIndex(index, Count());
    Change([&] { strings_.erase(strings_.begin() + index); });
}

void TUnicodeStringsAdapter::Clear() {
    Change([&] { strings_.clear(); });
}

} // namespace dragdrop
