#include "ui/MRUItemsComboBox.h"

namespace ui {

void TMRUItemsComboBox::Create(HWND parent, int id, const RECT& bounds) {
    kit::ComboBox::Create(parent, id, Kind::DropDown, bounds, kDropDownRows);
}

void TMRUItemsComboBox::SetMaxItems(std::uint8_t maxItems) {
    if (maxItems != 0 && maxItems < maxItems_)
        while (Count() > fixedCount_ + maxItems) DeleteItem(Count() - 1);
    maxItems_ = maxItems;
}

bool TMRUItemsComboBox::LoadFrom(const app::TMRUItems* list) {
    // Emptying the list empties the edit field too; the text is the user's, not the list's.
    const std::wstring text = Text();
    Clear();
    SetText(text);
    if (!list) return false;
    for (const std::wstring& line : list->Items)
        if (!line.empty()) kit::ComboBox::AddItem(line);
    InsertItem(0, L"");
    return true;
}

bool TMRUItemsComboBox::SaveTo(app::TMRUItems* list) const {
    if (!list) return false;
    list->Items.clear();
    for (int i = 0; i < Count(); ++i) {
        std::wstring item = ItemText(i);
        if (!item.empty()) list->Items.push_back(std::move(item));
    }
    return true;
}

void TMRUItemsComboBox::Add(std::wstring item) {
    bool add = true;
    if (OnAdd) OnAdd(*this, item, add);
    if (add && !item.empty()) AddItem(item, add);
}

void TMRUItemsComboBox::AddItem(std::wstring& item, bool& add) {
    if (!add) return;
    const int index = IndexOfItem(item);
    if (index < 0) {
        InsertItem(fixedCount_, item);
        while (maxItems_ != 0 && Count() > maxItems_ + fixedCount_) DeleteItem(Count() - 1);
        Select(fixedCount_);
        if (OnAdded) OnAdded(*this, item);
    } else if (index > fixedCount_) {
        DeleteItem(index);
        InsertItem(fixedCount_, item);
        Select(fixedCount_);
    } else {
        Select(index);
    }
    if (OnSelected) OnSelected(*this, item);
}

int TMRUItemsComboBox::IndexOfItem(const std::wstring& item) const {
    for (int i = 0; i < Count(); ++i) {
        const std::wstring text = ItemText(i);
        if (CompareStringW(LOCALE_USER_DEFAULT, 0, text.c_str(), static_cast<int>(text.size()), item.c_str(),
                           static_cast<int>(item.size())) == CSTR_EQUAL)
            return i;
    }
    return -1;
}

} // namespace ui
