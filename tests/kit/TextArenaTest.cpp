#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "kit/TextArena.h"

// Texts of every length, enough of them to fill several blocks, one longer than a block, and the same again after
// a clear that keeps the blocks: each comes back as added, terminated, where it was put.
TEST(TextArena, TextsStayAsAddedAcrossBlocksAndClears) {
    kit::TextArena arena;
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        std::vector<std::wstring> texts;
        std::vector<const wchar_t*> kept;
        for (int i = 0; i < 40000; ++i) {
            texts.push_back(std::wstring(static_cast<size_t>(i % 37), static_cast<wchar_t>(L'a' + (i + round) % 26)));
            if (i == 20000) texts.back() = std::wstring(300000, L'z');
            kept.push_back(arena.Add(texts.back()));
        }
        for (size_t i = 0; i < texts.size(); ++i) ASSERT_EQ(std::wstring(kept[i]), texts[i]) << i;
        arena.Clear();
    }
}
