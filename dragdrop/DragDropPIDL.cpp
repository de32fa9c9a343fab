#include "dragdrop/DragDropPIDL.h"

#include <algorithm>
#include <cstring>

#include "kit/Exception.h"
#include "kit/TimeBudget.h"

namespace dragdrop {
namespace {

constexpr size_t kTerminatorSize = sizeof(USHORT);

USHORT ItemSize(const BYTE* item) {
    USHORT size;
    std::memcpy(&size, item, sizeof(size));
    return size;
}

// Offsets of the items of a well-formed ID list.
std::vector<size_t> ItemOffsets(const TPIDLBytes& pidl) {
    std::vector<size_t> offsets;
    for (size_t at = 0; at + kTerminatorSize <= pidl.size() && ItemSize(&pidl[at]) != 0; at += ItemSize(&pidl[at]))
        offsets.push_back(at);
    return offsets;
}

TPIDLBytes Terminated(const TPIDLBytes& pidl, size_t length) {
    TPIDLBytes part(pidl.begin(), pidl.begin() + static_cast<std::ptrdiff_t>(length));
    part.insert(part.end(), kTerminatorSize, 0);
    return part;
}

DWORD ReadDword(const BYTE* block, size_t offset) {
    DWORD value;
    std::memcpy(&value, block + offset, sizeof(value));
    return value;
}

} // namespace

// --- TPIDLList

void TPIDLList::Changed() {
    ++revision_;
    if (OnChange) OnChange();
}

void TPIDLList::Add(PCUIDLIST_RELATIVE pidl) {
    const BYTE* bytes = reinterpret_cast<const BYTE*>(pidl);
    AddBytes(TPIDLBytes(bytes, bytes + PIDLSize(pidl)));
}

void TPIDLList::AddBytes(TPIDLBytes bytes) {
    items_.push_back(std::move(bytes));
    Changed();
}

void TPIDLList::Assign(const TPIDLList& other) {
    if (&other == this) return;
    items_ = other.items_;
    Changed();
}

void TPIDLList::Clear() {
    items_.clear();
    Changed();
}

PCUIDLIST_RELATIVE TPIDLList::Item(int index) const {
    return reinterpret_cast<PCUIDLIST_RELATIVE>(items_.at(static_cast<size_t>(index)).data());
}

// --- Conversions

size_t PIDLSize(PCUIDLIST_RELATIVE pidl) {
    if (!pidl) return 0;
    const BYTE* bytes = reinterpret_cast<const BYTE*>(pidl);
    size_t size = 0;
    while (ItemSize(bytes + size) != 0) size += ItemSize(bytes + size);
    return size + kTerminatorSize;
}

size_t ValidPIDLSize(const BYTE* bytes, size_t available) {
    size_t at = 0;
    for (;;) {
        if (available < kTerminatorSize || at > available - kTerminatorSize) return 0;
        const USHORT size = ItemSize(bytes + at);
        if (size == 0) return at + kTerminatorSize;
        if (size < kTerminatorSize) return 0;  // an item cannot be shorter than its own count
        at += size;
    }
}

TPIDLBytes JoinPIDLs(const TPIDLBytes& parent, const TPIDLBytes& child) {
    // The desktop's parent is the terminator alone: it goes too, or every name would be the desktop's.
    const size_t keep = parent.size() >= kTerminatorSize ? parent.size() - kTerminatorSize : 0;
    TPIDLBytes joined(parent.begin(), parent.begin() + static_cast<std::ptrdiff_t>(keep));
    joined.insert(joined.end(), child.begin(), child.end());
    return joined;
}

namespace {

kit::ComPtr<IShellFolder> DesktopFolder() {
    kit::ComPtr<IShellFolder> desktop;
    if (FAILED(SHGetDesktopFolder(desktop.put()))) throw kit::Exception(L"Failed to get interface to Desktop");
    return desktop;
}

kit::UniquePidl ParsePath(IShellFolder* desktop, const std::wstring& path) {
    // An empty name would parse as the computer itself.
    if (path.empty()) return kit::UniquePidl{};
    PIDLIST_RELATIVE pidl = nullptr;
    ULONG eaten = 0;
    if (FAILED(desktop->ParseDisplayName(nullptr, nullptr, const_cast<wchar_t*>(path.c_str()), &eaten, &pidl,
                                         nullptr))) {
        CoTaskMemFree(pidl);
        return kit::UniquePidl{};
    }
    return kit::UniquePidl{reinterpret_cast<PIDLIST_ABSOLUTE>(pidl)};
}

} // namespace

kit::UniquePidl PathToPIDL(const std::wstring& path) { return ParsePath(DesktopFolder().get(), path); }

TPIDLBytes GetCommonParent(const std::vector<TPIDLBytes>& absolutePidls) {
    if (absolutePidls.empty()) return {};
    // Compared item by item: a run of bytes could match across an item boundary.
    const TPIDLBytes& first = absolutePidls.front();
    const std::vector<size_t> firstItems = ItemOffsets(first);
    size_t common = firstItems.empty() ? 0 : firstItems.size() - 1;
    for (size_t n = 1; n < absolutePidls.size() && common > 0; ++n) {
        const TPIDLBytes& other = absolutePidls[n];
        const std::vector<size_t> otherItems = ItemOffsets(other);
        size_t same = 0;
        const size_t limit = std::min(common, otherItems.empty() ? 0 : otherItems.size() - 1);
        while (same < limit) {
            const USHORT size = ItemSize(&first[firstItems[same]]);
            if (size != ItemSize(&other[otherItems[same]]) ||
                std::memcmp(&first[firstItems[same]], &other[otherItems[same]], size) != 0)
                break;
            ++same;
        }
        common = same;
    }
    return Terminated(first, common == 0 ? 0 : firstItems[common - 1] + ItemSize(&first[firstItems[common - 1]]));
}

bool FilenamesToPIDLs(const TUnicodeStrings& names, TPIDLList& pidls) {
    pidls.Clear();
    const kit::ComPtr<IShellFolder> desktop = DesktopFolder();
    std::vector<TPIDLBytes> absolute;
    for (int i = 0; i < names.Count(); ++i) {
        const kit::UniquePidl pidl = ParsePath(desktop.get(), names.Get(i));
        if (!pidl) continue;
        const BYTE* bytes = reinterpret_cast<const BYTE*>(pidl.get());
        absolute.emplace_back(bytes, bytes + PIDLSize(pidl.get()));
    }
    if (absolute.empty()) return false;
    const TPIDLBytes parent = GetCommonParent(absolute);
    const size_t commonLength = parent.size() - kTerminatorSize;
    pidls.AddBytes(parent);
    for (const TPIDLBytes& pidl : absolute) pidls.AddBytes(TPIDLBytes(pidl.begin() + commonLength, pidl.end()));
    return true;
}

// --- CIDA

bool ReadCIDA(const BYTE* buffer, size_t size, TPIDLList& pidls) {
    pidls.Clear();
    if (size < sizeof(DWORD)) return false;
    const unsigned long long children = ReadDword(buffer, 0);
    const unsigned long long tableEnd = sizeof(DWORD) * (children + 2);  // cidl, then cidl + 1 offsets
    // A count past the limit is refused whole: every child read is a call of the shell on this thread.
    if (children == 0 || children > kMaxIDListChildren || tableEnd > size) return false;
    std::vector<TPIDLBytes> lists;
    for (unsigned long long i = 0; i <= children; ++i) {
        const size_t offset = ReadDword(buffer, static_cast<size_t>(sizeof(DWORD) * (i + 1)));
        if (offset < tableEnd || offset >= size) return false;
        const size_t length = ValidPIDLSize(buffer + offset, size - offset);
        if (length == 0) return false;
        lists.emplace_back(buffer + offset, buffer + offset + length);
    }
    for (TPIDLBytes& list : lists) pidls.AddBytes(std::move(list));
    return true;
}

size_t CIDASize(const TPIDLList& pidls) {
    if (pidls.Count() == 0) return 0;
    size_t size = sizeof(DWORD) * (static_cast<size_t>(pidls.Count()) + 1);
    for (int i = 0; i < pidls.Count(); ++i) size += pidls.ItemBytes(i).size();
    return size;
}

bool WriteCIDA(BYTE* buffer, size_t size, const TPIDLList& pidls) {
    if (pidls.Count() == 0 || size < CIDASize(pidls)) return false;
    const DWORD children = static_cast<DWORD>(pidls.Count() - 1);
    std::memcpy(buffer, &children, sizeof(children));
    DWORD offset = static_cast<DWORD>(sizeof(DWORD) * (static_cast<size_t>(pidls.Count()) + 1));
    for (int i = 0; i < pidls.Count(); ++i) {
        const TPIDLBytes& list = pidls.ItemBytes(i);
        std::memcpy(buffer + sizeof(DWORD) * (static_cast<size_t>(i) + 1), &offset, sizeof(offset));
        std::memcpy(buffer + offset, list.data(), list.size());
        offset += static_cast<DWORD>(list.size());
    }
    return true;
}

// --- The file-name view

const std::vector<std::wstring>& TPIDLsToFilenamesStrings::Names() const {
    if (namesRevision_ != pidls_.Revision()) {
        names_.clear();
        const kit::TimeBudget budget(kIDListNamingTime);
        for (int i = 1; i < pidls_.Count(); ++i) {
            const TPIDLBytes full = JoinPIDLs(pidls_.ItemBytes(0), pidls_.ItemBytes(i));
            wchar_t path[MAX_PATH + 1] = L"";
            if (SHGetPathFromIDListW(reinterpret_cast<PCIDLIST_ABSOLUTE>(full.data()), path) && path[0])
                names_.emplace_back(path);
            if (budget.Spent()) {
                names_.clear();  // some of the files would stand for all of them
                break;
            }
        }
        namesRevision_ = pidls_.Revision();
    }
    return names_;
}

std::wstring TPIDLsToFilenamesStrings::Get(int index) const {
    const std::vector<std::wstring>& names = Names();
    if (index < 0 || static_cast<size_t>(index) >= names.size()) throw kit::Exception(L"Filename index out of range");
    return names[static_cast<size_t>(index)];
}

void TPIDLsToFilenamesStrings::Assign(const TUnicodeStrings& source) {
    BeginUpdate();
    FilenamesToPIDLs(source, pidls_);
    EndUpdate();
}

void TPIDLsToFilenamesStrings::Assign(const std::vector<std::string>& source) {
    std::vector<std::string> names = source;
    Assign(TUnicodeStringsAdapter(names));
}

const TClipboardFormatClass TPIDLClipboardFormat::Class{L"TPIDLClipboardFormat", L"Shell IDList Array", 0,
                                                        &CreateClipboardFormat<TPIDLClipboardFormat>};

// --- TPIDLDataFormat

namespace {

void RegisterPIDLFormats() {
    RegisterClipboardFormatClass(TPIDLDataFormat::Class, TPIDLClipboardFormat::Class, 0, ddReadWrite);
    RegisterClipboardFormatClass(TPIDLDataFormat::Class, TFileClipboardFormat::Class, 1, ddReadWrite);
}

} // namespace

const TDataFormatClass TPIDLDataFormat::Class{L"TPIDLDataFormat", nullptr, &RegisterPIDLFormats};

TPIDLDataFormat::TPIDLDataFormat(TDragDropComponent* owner) : TCustomDataFormat(Class, owner), filenames_(pidls_) {
    pidls_.OnChange = [this] { Changing(); };
}

bool TPIDLDataFormat::TakeFromClipboardFormat(TClipboardFormat& format) {
    if (auto* pidl = dynamic_cast<TPIDLClipboardFormat*>(&format)) {
        pidls_.Assign(pidl->Pidls());
    } else if (auto* drop = dynamic_cast<TFileClipboardFormat*>(&format)) {
        FilenamesToPIDLs(drop->Files(), pidls_);
    } else {
        return TCustomDataFormat::TakeFromClipboardFormat(format);
    }
    return true;
}

bool TPIDLDataFormat::GiveToClipboardFormat(TClipboardFormat& format) {
    if (auto* pidl = dynamic_cast<TPIDLClipboardFormat*>(&format)) {
        pidl->Pidls().Assign(pidls_);
    } else if (auto* drop = dynamic_cast<TFileClipboardFormat*>(&format)) {
        drop->Files().Assign(filenames_);
    } else {
        return TCustomDataFormat::GiveToClipboardFormat(format);
    }
    return true;
}

void RegisterDragDropPIDLClasses() { RegisterDataFormatClass(TPIDLDataFormat::Class); }

} // namespace dragdrop
