#include "tests/engine/ReferenceTextScanner.h"

#include "kit/Handles.h"

#include <algorithm>
#include <cstring>

using engine::IsWordUnit;
using engine::MaxSearchItemLength;
using engine::TChunkDecoder;

namespace reference {
namespace {

// CharUpperBuffW maps "a"-"z" to "A"-"Z" whatever the locale; a chunk of ASCII alone is done here, as the
// system call costs several times the rest of the search.
void UpperCase(wchar_t* text, std::size_t count) {
    wchar_t any = 0;
    for (std::size_t i = 0; i < count; ++i) any |= text[i];
    if (any >= 0x80) {
        CharUpperBuffW(text, static_cast<DWORD>(count));
        return;
    }
    for (std::size_t i = 0; i < count; ++i)
        text[i] = static_cast<wchar_t>(text[i] - (static_cast<unsigned>(text[i] - L'a') < 26u ? 32 : 0));
}

} // namespace

TSearchItem::TSearchItem(std::wstring pattern, bool caseSensitive)
    : Pattern(std::move(pattern)), PatternLastIndex(static_cast<std::int32_t>(Pattern.size()) - 1),
      ShiftTable(65536, static_cast<std::uint32_t>(Pattern.size())) {
    if (!caseSensitive) CharUpperBuffW(Pattern.data(), static_cast<DWORD>(Pattern.size()));
    for (std::int32_t i = 0; i < PatternLastIndex; ++i)
        ShiftTable[static_cast<std::uint16_t>(Pattern[i])] = static_cast<std::uint32_t>(PatternLastIndex - i);
}

bool FindItem(const TSearchItem& item, const TTextWindow& window, bool wholeWords) {
    const wchar_t* p = item.Pattern.data();
    const wchar_t* t = window.text;
    const std::size_t last = static_cast<std::size_t>(item.PatternLastIndex);
    const std::size_t c = window.count;
    // Occurrences ending before the last carried unit were judged in the previous window.
    std::size_t i = std::max(last, window.known ? window.known - 1 : 0);
    while (i < c) {
        std::size_t j = last, k = i;
        while (t[k] == p[j] && j > 0) {
            --j;
            --k;
        }
        if (j == 0 && t[k] == p[0]) {
            if (!wholeWords) return true;
            const bool before = k > 0 ? !IsWordUnit(t[k - 1]) : window.fileStart;
            const bool after = i + 1 < c ? !IsWordUnit(t[i + 1]) : window.fileEnd;
            if (before && after) return true;
        }
        i += item.ShiftTable[static_cast<std::uint16_t>(t[i])];
    }
    return false;
}

TTextScanner::TTextScanner(UINT ansiCodePage)
    : decoder_(ansiCodePage), bytes_(TChunkDecoder::MaxCarry + TChunkDecoder::ChunkSize + TChunkDecoder::Slack),
      text_(MaxSearchItemLength + 1 + TChunkDecoder::MaxUnits + TChunkDecoder::Slack) {}

std::optional<bool> TTextScanner::Contains(const std::wstring& path, std::span<const TSearchItem> items,
                                           engine::TMatchText match, bool wholeWords, bool caseSensitive) {
    const bool any = match == engine::mtMatchAny;
    if (items.empty()) return !any;
    kit::UniqueHandle file{CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                       nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr)};
    if (!file) return std::nullopt;

    std::size_t overlap = 0;
    for (const TSearchItem& item : items) overlap = std::max(overlap, item.Pattern.size() + 1);
    found_.assign(items.size(), 0);
    std::size_t open = items.size();
    decoder_.Start();
    std::uint8_t* const chunk = bytes_.data() + TChunkDecoder::MaxCarry;
    std::size_t known = 0;
    bool fileStart = true;
    for (;;) {
        DWORD read = 0;
        if (!ReadFile(file.get(), chunk, TChunkDecoder::ChunkSize, &read, nullptr)) return std::nullopt;
        const bool last = read < TChunkDecoder::ChunkSize;  // a short read ends the file
        const std::size_t added = decoder_.Decode(chunk, read, last, text_.data() + known);
        if (!caseSensitive) UpperCase(text_.data() + known, added);
        const TTextWindow window{text_.data(), known + added, known, fileStart, last};
        for (std::size_t n = 0; n < items.size(); ++n) {
            if (found_[n] || !FindItem(items[n], window, wholeWords)) continue;
            if (any) return true;
            found_[n] = 1;
            if (--open == 0) return true;
        }
        if (last) return false;
        const std::size_t keep = std::min(overlap, window.count);
        std::memmove(text_.data(), text_.data() + window.count - keep, keep * sizeof(wchar_t));
        fileStart = fileStart && keep == window.count;
        known = keep;
    }
}

} // namespace reference
