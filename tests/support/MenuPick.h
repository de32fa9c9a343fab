#pragma once
// A person reading and choosing from a pop-up menu shown through the fake interaction.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "kit/Strings.h"
#include "tests/support/FakeInteraction.h"

namespace testsupport {

// A menu text as a person reads it: without the access-key ampersands.
inline std::wstring Plain(const std::wstring& text) {
    std::wstring plain;
    for (wchar_t c : text)
        if (c != L'&') plain += c;
    return plain;
}

// The items' texts as read, "-" for a separator.
inline std::vector<std::wstring> PlainTexts(const std::vector<MenuItemSeen>& items) {
    std::vector<std::wstring> texts;
    for (const MenuItemSeen& item : items) texts.push_back(item.separator ? L"-" : Plain(item.text));
    return texts;
}

// The person picks the item of that text.
inline std::function<UINT(HWND, HMENU)> Pick(const std::wstring& text) {
    return [text](HWND, HMENU menu) -> UINT {
        for (const MenuItemSeen& item : FakeInteraction::ItemsOf(menu))
            if (!item.separator && Plain(item.text) == text) return item.id;
        ADD_FAILURE() << "no item " << kit::WideToUtf8(text);
        return 0;
    };
}

} // namespace testsupport
