#include "engine/TextKernels.h"

#include <windows.h>

#include <immintrin.h>

#include <algorithm>
#include <string_view>
#include <utility>

namespace engine {
namespace {

// How common a unit is in text files, higher for more common; the filter looks for an item's rarest units.
int Commonness(wchar_t unit, bool caseSensitive) {
    constexpr std::wstring_view letters = L"etaoinsrhldcumfpgwybvkxjqz";  // English, most common first
    constexpr std::wstring_view punctuation = L".,;:-'\"()/\t\r\n";
    if (unit == L' ') return 100;
    if (unit >= L'a' && unit <= L'z') return 90 - static_cast<int>(letters.find(unit));
    if (unit >= L'A' && unit <= L'Z')
        return (caseSensitive ? 50 : 90) - static_cast<int>(letters.find(static_cast<wchar_t>(unit + 32)));
    if (unit >= L'0' && unit <= L'9') return 40;
    if (unit == 0 || punctuation.find(unit) != std::wstring_view::npos) return 45;
    return unit < 0x80 ? 10 : 20;
}

// The item's two least common units, at different offsets where it has two, unequal where it can.
TProbe ProbeOf(std::wstring_view pattern, bool caseSensitive) {
    std::size_t first = 0;
    for (std::size_t i = 1; i < pattern.size(); ++i)
        if (Commonness(pattern[i], caseSensitive) < Commonness(pattern[first], caseSensitive)) first = i;
    std::size_t second = first;
    int best = 0;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (i == first) continue;
        const int commonness = Commonness(pattern[i], caseSensitive) + (pattern[i] == pattern[first] ? 1000 : 0);
        if (second == first || commonness < best) {
            second = i;
            best = commonness;
        }
    }
    TProbe probe{};
    probe.offset = {static_cast<std::uint32_t>(std::min(first, second)),
                    static_cast<std::uint32_t>(std::max(first, second))};
    for (int p = 0; p < 2; ++p) probe.unit[p] = static_cast<std::uint16_t>(pattern[probe.offset[p]]);
    return probe;
}

template <class Unit>
using TGroupScan = bool (*)(TItemFinder& finder, const TItemFinder::TGroup& group, const TTextWindow<Unit>& window);

// The positions [first, second) of the first probe unit that a group's loop tries in the window: those of
// every start from the first new one to the last where the item still fits, for each item of the group.
template <class Unit>
std::pair<std::size_t, std::size_t> Positions(const TItemFinder& finder, const TItemFinder::TGroup& group,
                                              const TTextWindow<Unit>& window) {
    std::size_t from = window.count, to = 0;
    for (std::uint32_t g = 0; g < group.size; ++g) {
        const TSearchItem& item = finder.Item(group.items[g]);
        const std::size_t length = item.Pattern.size(), offset = item.Probe.offset[0];
        from = std::min(from, FirstNewStart(length, window) + offset);
        if (window.count >= length) to = std::max(to, window.count - length + 1 + offset);
    }
    return {from, to};
}

// The loop without vector instructions, for a 32-bit processor that has none.
template <class Unit, bool Fold>
bool ScanScalar(TItemFinder& finder, const TItemFinder::TGroup& group, const TTextWindow<Unit>& window) {
    const unsigned fold = Fold ? 0x20 : 0;
    const auto [from, to] = Positions(finder, group, window);
    for (std::size_t position = from; position < to; ++position) {
        for (std::uint32_t g = 0; g < group.size; ++g) {
            const TProbe& probe = finder.Item(group.items[g]).Probe;
            const std::size_t start = position - probe.offset[0];
            if (position >= probe.offset[0] && (window.text[position] | fold) == (probe.unit[0] | fold) &&
                (window.text[start + probe.offset[1]] | fold) == (probe.unit[1] | fold) &&
                finder.Candidate<Unit, Fold>(group.items[g], start, window))
                return true;
        }
    }
    return false;
}

} // namespace

TSimd BestSimd() {
    __builtin_cpu_init();
    if (__builtin_cpu_supports("avx2")) return TSimd::Avx2;
    if (__builtin_cpu_supports("sse2")) return TSimd::Sse2;
    return TSimd::Scalar;
}

bool AllAscii(const std::uint8_t* data, std::size_t count) {
    std::uint8_t any = 0;
    for (std::size_t i = 0; i < count; ++i) any |= data[i];
    return any < 0x80;
}

bool AllAscii(const wchar_t* text, std::size_t count) {
    wchar_t any = 0;
    for (std::size_t i = 0; i < count; ++i) any |= text[i];
    return any < 0x80;
}

TSearchItem::TSearchItem(std::wstring pattern, bool caseSensitive) : Pattern(std::move(pattern)) {
    if (!caseSensitive) CharUpperBuffW(Pattern.data(), static_cast<DWORD>(Pattern.size()));
    Ascii = std::all_of(Pattern.begin(), Pattern.end(), [](wchar_t unit) { return unit < 0x80; });
    Probe = ProbeOf(Pattern, caseSensitive);
}

void TItemFinder::Start(std::span<const TSearchItem> items, bool any, bool wholeWords, bool fold) {
    items_ = items;
    any_ = any;
    wholeWords_ = wholeWords;
    fold_ = fold;
    found_.assign(items.size(), 0);
    open_ = items.size();
    regroup_ = true;
}

template <class Unit, bool Fold>
bool TItemFinder::Candidate(std::uint32_t item, std::size_t start, const TTextWindow<Unit>& window) {
    if (found_[item]) return false;
    const std::wstring& pattern = items_[item].Pattern;
    const std::size_t length = pattern.size();
    if (start < FirstNewStart(length, window) || start + length > window.count) return false;
    const Unit* text = window.text + start;
    for (std::size_t i = 0; i < length; ++i) {
        unsigned unit = text[i];
        if (Fold && unit - L'a' < 26u) unit -= 32;
        if (unit != static_cast<unsigned>(pattern[i])) return false;
    }
    if (wholeWords_) {
        const bool before = start > 0 ? !IsWordUnit(text[-1]) : window.fileStart;
        const bool after = start + length < window.count ? !IsWordUnit(text[length]) : window.fileEnd;
        if (!before || !after) return false;
    }
    found_[item] = 1;
    --open_;
    regroup_ = true;
    return any_ || open_ == 0;
}

// The same loop for each instruction set, in its own namespace and compiled for that set alone, so that
// nothing else in the program uses instructions the processor may lack. The 32-bit build has no SSE2 by
// default; BestSimd picks these loops only where the processor has them.
#pragma GCC push_options
#pragma GCC target("sse2")
namespace {
namespace sse2 {
struct V {
    using T = __m128i;
    static constexpr std::size_t Bytes = 16;
    static T Load(const void* at) { return _mm_loadu_si128(static_cast<const T*>(at)); }
    static T Splat8(std::uint8_t value) { return _mm_set1_epi8(static_cast<char>(value)); }
    static T Splat16(std::uint16_t value) { return _mm_set1_epi16(static_cast<short>(value)); }
    static T Equal8(T a, T b) { return _mm_cmpeq_epi8(a, b); }
    static T Equal16(T a, T b) { return _mm_cmpeq_epi16(a, b); }
    static T Or(T a, T b) { return _mm_or_si128(a, b); }
    static T And(T a, T b) { return _mm_and_si128(a, b); }
    static std::uint32_t Mask(T a) { return static_cast<std::uint32_t>(_mm_movemask_epi8(a)); }
};
#include "engine/TextKernelLoop.inc"
} // namespace sse2
} // namespace
#pragma GCC pop_options

#pragma GCC push_options
#pragma GCC target("avx2")
namespace {
namespace avx2 {
struct V {
    using T = __m256i;
    static constexpr std::size_t Bytes = 32;
    static T Load(const void* at) { return _mm256_loadu_si256(static_cast<const T*>(at)); }
    static T Splat8(std::uint8_t value) { return _mm256_set1_epi8(static_cast<char>(value)); }
    static T Splat16(std::uint16_t value) { return _mm256_set1_epi16(static_cast<short>(value)); }
    static T Equal8(T a, T b) { return _mm256_cmpeq_epi8(a, b); }
    static T Equal16(T a, T b) { return _mm256_cmpeq_epi16(a, b); }
    static T Or(T a, T b) { return _mm256_or_si256(a, b); }
    static T And(T a, T b) { return _mm256_and_si256(a, b); }
    static std::uint32_t Mask(T a) { return static_cast<std::uint32_t>(_mm256_movemask_epi8(a)); }
};
#include "engine/TextKernelLoop.inc"
} // namespace avx2
} // namespace
#pragma GCC pop_options

namespace {

template <class Unit>
TGroupScan<Unit> GroupScan(TSimd simd, bool fold, std::size_t size) {
    switch (simd) {
    case TSimd::Avx2: return avx2::Pick<Unit>(fold, size);
    case TSimd::Sse2: return sse2::Pick<Unit>(fold, size);
    case TSimd::Scalar: break;
    }
    return fold ? &ScanScalar<Unit, true> : &ScanScalar<Unit, false>;
}

} // namespace

template <class Unit>
bool TItemFinder::FindIn(const TTextWindow<Unit>& window) {
    if (regroup_) {
        groups_.clear();
        for (std::uint32_t i = 0; i < items_.size(); ++i) {
            if (found_[i]) continue;
            if (groups_.empty() || groups_.back().size == 4) groups_.push_back({});
            groups_.back().items[groups_.back().size++] = i;
        }
        regroup_ = false;
    }
    for (const TGroup& group : groups_)
        if (GroupScan<Unit>(simd_, fold_, group.size)(*this, group, window)) return true;
    return false;
}

bool TItemFinder::Find(const TTextWindow<std::uint8_t>& window) { return FindIn(window); }
bool TItemFinder::Find(const TTextWindow<wchar_t>& window) { return FindIn(window); }

} // namespace engine
