#pragma once
// File lists as shell item identifier lists: the "Shell IDList Array" format (a CIDA block: a parent folder's
// ID list and each file's ID list relative to it), and the conversion between file names and ID lists through
// the shell's desktop folder.
#include <windows.h>
#include <shlobj.h>

#include <functional>
#include <string>
#include <vector>

#include "dragdrop/DragDropFile.h"
#include "kit/Handles.h"

namespace dragdrop {

// The bytes of an ID list: items of a 16-bit byte count and data, ended by a 16-bit 0.
using TPIDLBytes = std::vector<BYTE>;

// An ordered list of ID lists, each a copy of its own.
class TPIDLList {
public:
    std::function<void()> OnChange;  // after every add, assign and clear

    void Add(PCUIDLIST_RELATIVE pidl);
    void AddBytes(TPIDLBytes bytes);
    void Assign(const TPIDLList& other);
    void Clear();
    int Count() const { return static_cast<int>(items_.size()); }
    PCUIDLIST_RELATIVE Item(int index) const;
    const TPIDLBytes& ItemBytes(int index) const { return items_.at(static_cast<size_t>(index)); }
    // Grows with every change, for views that keep what they derived.
    unsigned Revision() const { return revision_; }

private:
    void Changed();
    std::vector<TPIDLBytes> items_;
    unsigned revision_ = 0;
};

// The size of a well-formed ID list with its terminator; 0 for none.
size_t PIDLSize(PCUIDLIST_RELATIVE pidl);
// The size of the ID list at the start of `bytes`; 0 when an item or the terminator lies past `available`.
size_t ValidPIDLSize(const BYTE* bytes, size_t available);
// The parent without its terminator, then the child.
TPIDLBytes JoinPIDLs(const TPIDLBytes& parent, const TPIDLBytes& child);
// The absolute ID list of a path through the desktop folder; none when the shell cannot parse the name (it
// refuses missing files, names over MAX_PATH, trailing dots and blanks, "\\?\" paths). Both throw
// "Failed to get interface to Desktop" when the shell gives no desktop folder.
kit::UniquePidl PathToPIDL(const std::wstring& path);
// The longest common run of folder items of the lists (a file's own last item is never part of it); the
// desktop's empty list when nothing is common.
TPIDLBytes GetCommonParent(const std::vector<TPIDLBytes>& absolutePidls);
// The common parent, then each parsable name relative to it. Names the shell cannot parse are left out;
// false (and an empty list) when none can be parsed.
bool FilenamesToPIDLs(const TUnicodeStrings& names, TPIDLList& pidls);

// CIDA: cidl, cidl + 1 offsets (parent first), the ID lists. Offsets, items and terminators outside the block,
// a block with no child, and one with more than kMaxIDListChildren, are no data.
bool ReadCIDA(const BYTE* buffer, size_t size, TPIDLList& pidls);
size_t CIDASize(const TPIDLList& pidls);
bool WriteCIDA(BYTE* buffer, size_t size, const TPIDLList& pidls);

// An ID-list list seen as the file names of its children (parent joined with each child). Children whose path
// the shell cannot give are left out; children not all named within kIDListNamingTime give no names. Assigning
// names converts them to ID lists; other changes do nothing.
class TPIDLsToFilenamesStrings : public TUnicodeStrings {
public:
    explicit TPIDLsToFilenamesStrings(TPIDLList& pidls) : pidls_(pidls) {}

    int Count() const override { return static_cast<int>(Names().size()); }
    // Throws "Filename index out of range" outside 0 .. Count() - 1.
    std::wstring Get(int index) const override;
    void Put(int, const std::wstring&) override {}
    void Insert(int, const std::wstring&) override {}
    void Delete(int) override {}
    void Clear() override {}
    void Assign(const TUnicodeStrings& source) override;
    void Assign(const std::vector<std::string>& source) override;

private:
    const std::vector<std::wstring>& Names() const;
    TPIDLList& pidls_;
    mutable std::vector<std::wstring> names_;
    mutable unsigned namesRevision_ = ~0u;
};

// "Shell IDList Array".
class TPIDLClipboardFormat : public TCustomSimpleClipboardFormat {
public:
    static const TClipboardFormatClass Class;
    TPIDLClipboardFormat() : TCustomSimpleClipboardFormat(Class), filenames_(pidls_) {}
    TPIDLList& Pidls() { return pidls_; }
    TPIDLsToFilenamesStrings& Filenames() { return filenames_; }

    bool ReadData(const BYTE* buffer, size_t size) override { return ReadCIDA(buffer, size, pidls_); }
    bool WriteData(BYTE* buffer, size_t size) const override { return WriteCIDA(buffer, size, pidls_); }
    size_t DataSize() const override { return CIDASize(pidls_); }
    void Clear() override { pidls_.Clear(); }
    bool HasData() const override { return pidls_.Count() > 0; }

private:
    TPIDLList pidls_;
    TPIDLsToFilenamesStrings filenames_;
};

// A file list as ID lists: the parent folder's, then each file's relative to it.
class TPIDLDataFormat : public TCustomDataFormat {
public:
    static const TDataFormatClass Class;
    explicit TPIDLDataFormat(TDragDropComponent* owner);
    TPIDLList& Pidls() { return pidls_; }
    TPIDLsToFilenamesStrings& Filenames() { return filenames_; }

    // "Shell IDList Array" directly; CF_HDROP through the file names.
    bool TakeFromClipboardFormat(TClipboardFormat& format) override;
    bool GiveToClipboardFormat(TClipboardFormat& format) override;
    void Clear() override { pidls_.Clear(); }
    bool HasData() const override { return pidls_.Count() > 0; }

private:
    TPIDLList pidls_;
    TPIDLsToFilenamesStrings filenames_;
};

// Puts this unit's data-format class and its clipboard formats into the map.
void RegisterDragDropPIDLClasses();

} // namespace dragdrop
