#include "engine/FilterText.h"

#include "engine/LongPaths.h"
#include "engine/MaskText.h"
#include "kit/Strings.h"

namespace engine {
namespace {

// The lines of a text, split at CR, LF and CR LF, with `separator` counting as a line break too.
std::vector<std::wstring> Lines(std::wstring_view text, wchar_t separator) {
    std::vector<std::wstring> lines(1);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const wchar_t c = text[i];
        if (c == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n') continue;  // the LF ends the line
        if (c == separator || c == L'\r' || c == L'\n')
            lines.emplace_back();
        else
            lines.back() += c;
    }
    return lines;
}

// From the last "." on, upper-cased in ASCII; empty without a dot.
std::wstring Extension(const std::wstring& name) {
    const std::size_t dot = name.rfind(L'.');
    return dot == std::wstring::npos ? std::wstring() : AsciiUpperCase(std::wstring_view(name).substr(dot));
}

} // namespace

std::optional<std::vector<std::wstring>> SplitSearchItems(std::wstring_view text, TTextMaskType type) {
    if (type != tmWordsText && type != tmPhrasesText) return std::nullopt;
    const bool phrases = type == tmPhrasesText;
    std::vector<std::wstring> items;
    for (std::wstring& line : Lines(text, phrases ? L'|' : L' ')) {
        std::wstring item = phrases ? kit::Trim(line) : std::move(line);
        if (item.empty()) continue;
        if (item.size() > MaxSearchItemLength) return std::nullopt;
        items.push_back(std::move(item));
    }
    return items;
}

void TFilterText::Reset() {
    MaskDefault.clear();
    MatchText = mtMatchAny;
    WholeWords = true;
    CaseSensitive = false;
    Without = false;
    TextSource = tsRawFile;
    SkipHiddenFiles = SkipSystemFiles = SkipImageFiles = SkipAudioFiles = SkipVideoFiles = true;
    Active = false;
}

bool TFilterText::Skipped(const std::wstring& name, TScanAttributes attributes) const {
    if (SkipHiddenFiles && attributes.Contains(saHidden)) return true;
    const std::wstring ext = Extension(name);
    if (SkipSystemFiles && (attributes.Contains(saSystem) || groups_.ExtensionsSystem.HasExtension(ext))) return true;
    return (SkipImageFiles && groups_.ExtensionsImage.HasExtension(ext)) ||
           (SkipAudioFiles && groups_.ExtensionsAudio.HasExtension(ext)) ||
           (SkipVideoFiles && groups_.ExtensionsVideo.HasExtension(ext));
}

const std::vector<TSearchItem>* TFilterText::Items() {
    const FilterFile::TTextMask& mask = TextMask;
    if (!compiled_ || compiled_->value != mask.Value || compiled_->type != mask.MaskType ||
        compiled_->caseSensitive != CaseSensitive) {
        compiled_.emplace(Compiled{mask.Value, mask.MaskType, CaseSensitive, std::nullopt});
        if (auto words = SplitSearchItems(mask.Value, mask.MaskType)) {
            compiled_->items.emplace();
            compiled_->items->reserve(words->size());
            for (std::wstring& word : *words) compiled_->items->emplace_back(std::move(word), CaseSensitive);
        }
    }
    return compiled_->items ? &*compiled_->items : nullptr;
}

bool TFilterText::Matches(const std::wstring& folder, const std::wstring& name, TScanAttributes attributes) {
    if (TextMask.Value == MaskDefault) return true;
    if (Skipped(name, attributes)) return false;
    const std::wstring path = folder + name;
    if (OnFilterText) OnFilterText(*this, path);
    const std::vector<TSearchItem>* items = Items();
    if (!items) return false;  // another mode, or an item too long to search: no file passes
    // Without items the file need not be opened: none is found, and all of none are.
    if (items->empty()) return (MatchText == mtMatchAll) != Without;
    const std::optional<bool> contains = scanner_.Contains(OpenPath(path), *items, MatchText, WholeWords, CaseSensitive);
    return contains && *contains != Without;
}

} // namespace engine
