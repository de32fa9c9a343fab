#include "results/RowSort.h"

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <thread>
#include <utility>

#include "kit/Strings.h"
#include "kit/TaskGroup.h"

namespace results {
namespace {

// Below this many rows a second thread costs more than it saves.
constexpr std::int64_t ParallelRows = 20000;

template <typename T>
int Compare(const T& a, const T& b) { return (a > b) - (a < b); }

bool IsTextColumn(TColumnsEnum column) {
    return column == tcName || column == tcFolder || column == tcExt || column == tcType || column == tcAttribute;
}

unsigned Workers(std::int64_t rows) {
    if (rows < ParallelRows) return 1;
    return std::clamp(std::thread::hardware_concurrency(), 1u, 8u);
}

// Runs work(begin, end) over [0, count) in `workers` slices at once, the calling thread taking the first.
template <typename Work>
void InSlices(std::int64_t count, unsigned workers, const Work& work) {
    kit::TaskGroup group;
    const std::int64_t slice = (count + workers - 1) / workers;
    for (unsigned w = 1; w < workers; ++w) {
        const std::int64_t begin = std::min(count, slice * w), end = std::min(count, begin + slice);
        if (begin < end) group.Run([&work, begin, end] { work(begin, end); });
    }
    work(0, std::min(count, slice));
    group.Wait();
}

// A row's place before the sort and the value it is sorted by.
template <typename Value>
struct Entry {
    Value value;
    std::uint32_t row;  // from the start of the sorted range
};

// A sort key kept in one of the shared buffers, with its first eight bytes as a number (big-endian,
// zero-padded) so that most comparisons end there. A padded zero sorts no later than any real byte, so the
// number orders two keys as their bytes do whenever the numbers differ.
struct TextKey {
    std::uint64_t head;
    const unsigned char* bytes;
    std::uint32_t length;
};

// As std::string::compare of the two keys' bytes.
int CompareKeys(const TextKey& a, const TextKey& b) {
    if (a.head != b.head) return a.head < b.head ? -1 : 1;
    const std::uint32_t common = std::min(a.length, b.length);
    if (common > 8) {
        const int bytes = std::memcmp(a.bytes + 8, b.bytes + 8, common - 8);
        if (bytes != 0) return bytes < 0 ? -1 : 1;
    }
    return Compare(a.length, b.length);
}

// The keys of one slice of rows, in one buffer.
class KeyMaker {
public:
    KeyMaker(LCID locale, DWORD flags) : locale_(locale), flags_(flags | LCMAP_SORTKEY) {}

    // Appends the key of the NUL-terminated `text`; returns where it starts.
    std::pair<size_t, std::uint32_t> Add(const wchar_t* text) {
        const size_t offset = bytes_.size();
        // Texts here hold no NULs, so the terminated form serves (and gives an empty text its real key). Most keys
        // fit the buffer on the stack; a longer one is asked for its size and made in place.
        unsigned char key[1024];
        const int size = LCMapStringW(locale_, flags_, text, -1, reinterpret_cast<LPWSTR>(key), sizeof key);
        if (size > 0) {
            bytes_.insert(bytes_.end(), key, key + size);
        } else if (const int needed = LCMapStringW(locale_, flags_, text, -1, nullptr, 0); needed > 0) {
            bytes_.resize(offset + static_cast<size_t>(needed));
            const int made = LCMapStringW(locale_, flags_, text, -1, reinterpret_cast<LPWSTR>(&bytes_[offset]),
                                          needed);
            bytes_.resize(offset + static_cast<size_t>(std::max(made, 0)));
        }
        return {offset, static_cast<std::uint32_t>(bytes_.size() - offset)};
    }

    TextKey Key(size_t offset, std::uint32_t length) const {
        const unsigned char* bytes = bytes_.data() + offset;
        std::uint64_t head = 0;
        for (std::uint32_t i = 0; i < 8; ++i) head = head << 8 | (i < length ? bytes[i] : 0u);
        return {head, bytes, length};
    }

private:
    LCID locale_;
    DWORD flags_;
    std::vector<unsigned char> bytes_;
};

// Hoare partition round the middle entry, as the table has always sorted: the same comparisons in the same steps
// give the same order and the same ties. The two parts of a partition never touch, so a large one may go to
// another thread without changing the result. The loop takes the larger part, so the depth stays logarithmic.
template <typename Item, typename Comparer>
void QuickSort(std::vector<Item>& items, std::int64_t low, std::int64_t high, const Comparer& compare,
               unsigned spare) {
    const auto at = [&items](std::int64_t index) -> Item& { return items[static_cast<size_t>(index)]; };
    kit::TaskGroup helpers;
    while (low < high) {
        std::int64_t i = low;
        std::int64_t j = high;
        const Item pivot = at(low + (high - low) / 2);
        do {
            while (compare(at(i), pivot) < 0) ++i;
            while (compare(at(j), pivot) > 0) --j;
            if (i <= j) {
                if (i < j) std::swap(at(i), at(j));
                ++i;
                --j;
            }
        } while (i <= j);
        const bool leftSmaller = j - low < high - i;
        const std::int64_t from = leftSmaller ? low : i, to = leftSmaller ? j : high;
        if (from < to) {
            if (spare > 1 && to - from >= ParallelRows) {
                const unsigned given = spare / 2;
                spare -= given;
                helpers.Run([&items, from, to, &compare, given] { QuickSort(items, from, to, compare, given); });
            } else {
                QuickSort(items, from, to, compare, 1);
            }
        }
        if (leftSmaller) low = i;
        else high = j;
    }
    helpers.Wait();
}

// Sorts the entries (one for each row from `low` on) and puts the rows in their order.
template <typename Value, typename Comparer>
void SortAndPlace(std::vector<std::uint32_t>& order, std::int64_t low, std::vector<Entry<Value>>& entries,
                  std::uint8_t direction, const Comparer& compare) {
    const int sign = direction == 2 ? -1 : 1;
    const auto count = static_cast<std::int64_t>(entries.size());
    QuickSort(entries, 0, count - 1,
              [sign, &compare](const Entry<Value>& a, const Entry<Value>& b) { return sign * compare(a.value, b.value); },
              Workers(count));
    std::vector<std::uint32_t> sorted(entries.size());
    for (size_t i = 0; i < entries.size(); ++i) sorted[i] = order[static_cast<size_t>(low) + entries[i].row];
    std::copy(sorted.begin(), sorted.end(), order.begin() + low);
}

// The values are read on several threads: after an earlier sort the rows lie scattered in memory, and reading
// them is most of the work.
template <typename Value, typename Read>
std::vector<Entry<Value>> ReadValues(const TRowBlocks& rows, const std::vector<std::uint32_t>& order,
                                     std::int64_t low, std::int64_t high, const Read& read) {
    const std::int64_t count = high - low + 1;
    std::vector<Entry<Value>> entries(static_cast<size_t>(count));
    InSlices(count, Workers(count), [&](std::int64_t begin, std::int64_t end) {
        for (std::int64_t i = begin; i < end; ++i)
            entries[static_cast<size_t>(i)] = {read(rows[order[static_cast<size_t>(low + i)]]),
                                               static_cast<std::uint32_t>(i)};
    });
    return entries;
}

template <typename Value, typename Read>
void SortByValue(const TRowBlocks& rows, std::vector<std::uint32_t>& order, std::uint8_t direction,
                 std::int64_t low, std::int64_t high, const Read& read) {
    std::vector<Entry<Value>> entries = ReadValues<Value>(rows, order, low, high, read);
    SortAndPlace(order, low, entries, direction, [](const Value& a, const Value& b) { return Compare(a, b); });
}

void SortByText(const TRowBlocks& rows, std::vector<std::uint32_t>& order, TColumnsEnum column,
                std::uint8_t direction, std::int64_t low, std::int64_t high) {
    const std::int64_t count = high - low + 1;
    std::vector<Entry<TextKey>> entries(static_cast<size_t>(count));
    // The type name may ask the shell, which stays on this thread; lstrcmpW's order of the lower-cased names,
    // an empty name before any other.
    const bool types = column == tcType;
    const unsigned workers = types ? 1 : Workers(count);
    std::vector<KeyMaker> makers(workers, KeyMaker(types ? GetThreadLocale() : LOCALE_USER_DEFAULT,
                                                   types ? 0 : SortTextFlags));
    using Place = std::pair<size_t, std::uint32_t>;
    std::vector<Place> places(static_cast<size_t>(count));
    const std::int64_t slice = (count + workers - 1) / workers;
    InSlices(count, workers, [&](std::int64_t begin, std::int64_t end) {
        KeyMaker& maker = makers[static_cast<size_t>(begin / slice)];
        // Rows of one folder share its record and mostly lie together: one key serves the run of them.
        const std::wstring* lastFolder = nullptr;
        Place lastFolderPlace;
        for (std::int64_t i = begin; i < end; ++i) {
            TRow& row = rows[order[static_cast<size_t>(low + i)]];
            Place& place = places[static_cast<size_t>(i)];
            switch (column) {
            case tcName: place = maker.Add(row.Name().data()); break;
            case tcFolder:
                if (&row.Folder() != lastFolder) {
                    lastFolder = &row.Folder();
                    lastFolderPlace = maker.Add(lastFolder->c_str());
                }
                place = lastFolderPlace;
                break;
            case tcExt: {
                const std::wstring_view ext = row.ExtText();  // the end of the name: NUL-terminated
                place = maker.Add(ext.empty() ? L"" : ext.data());
                break;
            }
            case tcType: {
                const std::wstring type = kit::LowerCase(row.TypeNameText());
                place = type.empty() ? Place{0, 0} : maker.Add(type.c_str());
                break;
            }
            default: place = maker.Add(row.AttributesText().c_str()); break;
            }
        }
    });
    // Slice w starts at w * slice, so a row's index divided by the slice is its maker's.
    for (size_t i = 0; i < entries.size(); ++i)
        entries[i] = {makers[i / static_cast<size_t>(slice)].Key(places[i].first, places[i].second),
                      static_cast<std::uint32_t>(i)};
    SortAndPlace(order, low, entries, direction, CompareKeys);
}

} // namespace

std::string SortKey(LCID locale, DWORD flags, const std::wstring& text) {
    KeyMaker maker(locale, flags);
    const auto [offset, length] = maker.Add(text.c_str());
    const TextKey key = maker.Key(offset, length);
    return std::string(reinterpret_cast<const char*>(key.bytes), key.length);
}

void SortRows(const TRowBlocks& rows, std::vector<std::uint32_t>& order, TColumnsEnum column,
              std::uint8_t direction, std::int64_t low, std::int64_t high) {
    if (IsTextColumn(column)) return SortByText(rows, order, column, direction, low, high);
    const auto sort = [&](auto read) {
        SortByValue<decltype(read(rows[order[0]]))>(rows, order, direction, low, high, read);
    };
    switch (column) {
    case tcSize: return sort([](const TRow& r) { return r.Size(); });
    case tcDateModified: return sort([](const TRow& r) { return r.Modified; });
    case tcDateCreated: return sort([](const TRow& r) { return r.Created; });
    case tcDateAccessed: return sort([](const TRow& r) { return r.LastAccess; });
    default: return sort([](const TRow& r) { return r.Number; });
    }
}

} // namespace results
