#pragma once
// An edit box with a drop-down list of the recently used texts under one fixed blank line.
#include <cstdint>
#include <functional>
#include <string>

#include "app/ApplicationItems.h"
#include "kit/Controls.h"

namespace ui {

class TMRUItemsComboBox : public kit::ComboBox {
public:
    using TMRUItemAdd = std::function<void(TMRUItemsComboBox& sender, std::wstring& item, bool& add)>;
    using TMRUItem = std::function<void(TMRUItemsComboBox& sender, const std::wstring& item)>;

    static constexpr int kDropDownRows = 12;

    void Create(HWND parent, int id, const RECT& bounds);

    std::uint8_t MaxItems() const { return maxItems_; }
    // A smaller limit (not 0) drops the oldest entries at once; 0 means no limit.
    void SetMaxItems(std::uint8_t maxItems);
    std::uint8_t FixedCount() const { return fixedCount_; }

    // Replaces the entries with the list's non-empty lines below the blank line; the text typed stays.
    // False, with the box left empty, for no list.
    bool LoadFrom(const app::TMRUItems* list);
    // Writes the non-empty entries in order; false for no list.
    bool SaveTo(app::TMRUItems* list) const;
    // Records a used text: a new one goes on top, a known one moves there; the text is then selected.
    void Add(std::wstring item);
    // Case counts: two texts that differ in letter case are two entries.
    int IndexOfItem(const std::wstring& item) const;

    TMRUItem OnSelected;
    TMRUItemAdd OnAdd;
    TMRUItem OnAdded;

protected:
    virtual void AddItem(std::wstring& item, bool& add);

private:
    std::uint8_t maxItems_ = 12;
    std::uint8_t fixedCount_ = 1;
};

} // namespace ui
