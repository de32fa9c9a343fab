#pragma once
// The file side of the drag-and-drop library: UTF-16 string lists with change notifications, the data format
// of a list of file names (CF_HDROP, "Shell IDList Array", "FileNameW", "FileName", tried in that order) and
// the data format of the names the dropped files are to receive ("FileNameMapW", then "FileNameMap").
#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "dragdrop/DragDropFormats.h"
#include "dragdrop/DragDropText.h"
#include "dragdrop/DropSource.h"
#include "dragdrop/DropTarget.h"

namespace dragdrop {

class TPIDLList;

// A list of UTF-16 texts. Every change tells OnChanging first and OnChange after; between BeginUpdate and
// EndUpdate only the outermost pair tells.
class TUnicodeStrings {
public:
    virtual ~TUnicodeStrings() = default;

    std::function<void(TUnicodeStrings&)> OnChange;
    std::function<void(TUnicodeStrings&)> OnChanging;

    virtual int Count() const = 0;
    // Index errors throw "List index out of bounds (<index>)".
    virtual std::wstring Get(int index) const = 0;
    virtual void Put(int index, const std::wstring& text) = 0;
    virtual void Insert(int index, const std::wstring& text) = 0;
    virtual void Delete(int index) = 0;
    virtual void Clear() = 0;
    virtual int Capacity() const { return Count(); }
    virtual void SetCapacity(int) {}

    std::wstring operator[](int index) const { return Get(index); }
    int Add(const std::wstring& text);
    // The last item equal to the text (exact, case-sensitive), or -1.
    int IndexOf(const std::wstring& text) const;
    void Exchange(int index1, int index2);
    void Move(int from, int to);
    virtual void Assign(const TUnicodeStrings& source);
    // A plain string list holds ANSI texts (the system code page).
    virtual void Assign(const std::vector<std::string>& source);
    void AssignTo(std::vector<std::string>& destination) const;
    std::vector<std::wstring> ToVector() const;

    void BeginUpdate();
    void EndUpdate();

protected:
    void Changing();
    void Changed();
    // One change of the items, told before and after.
    template <typename Body>
    void Change(Body&& body) {
        Changing();
        body();
        Changed();
    }
    void CheckIndex(int index, int limit) const;

private:
    int updateCount_ = 0;
};

class TUnicodeStringList : public TUnicodeStrings {
public:
    TUnicodeStringList() = default;
    TUnicodeStringList(std::initializer_list<std::wstring> items);

    int Count() const override { return static_cast<int>(items_.size()); }
    std::wstring Get(int index) const override;
    void Put(int index, const std::wstring& text) override;
    void Insert(int index, const std::wstring& text) override;
    void Delete(int index) override;
    void Clear() override;  // keeps the capacity
    int Capacity() const override { return static_cast<int>(items_.capacity()); }
    // A capacity below the count is a programming error (std::logic_error).
    void SetCapacity(int capacity) override;

private:
    std::vector<std::wstring> items_;
};

// A plain (ANSI) string list seen as a UTF-16 list; the texts are converted with the system code page.
class TUnicodeStringsAdapter : public TUnicodeStrings {
public:
    explicit TUnicodeStringsAdapter(std::vector<std::string>& strings) : strings_(strings) {}

    int Count() const override { return static_cast<int>(strings_.size()); }
    std::wstring Get(int index) const override;
    void Put(int index, const std::wstring& text) override;
    void Insert(int index, const std::wstring& text) override;
    void Delete(int index) override;
    void Clear() override;
    int Capacity() const override { return static_cast<int>(strings_.capacity()); }

private:
    std::vector<std::string>& strings_;
};

// Name lists: each name followed by a null, the list ended by one more; UTF-16 when `wide`, else in `codePage`.
// Reading fails, with no names, when a name or the list does not end inside the bytes, no name is there, or more
// than kMaxListedNames are.
bool ReadFilenameList(const BYTE* buffer, size_t length, bool wide, TUnicodeStrings& names, UINT codePage = CP_ACP);
size_t FilenameListSize(const TUnicodeStrings& names, bool wide, UINT codePage = CP_ACP);
// False, never a cut name, when the list does not fit in `capacity` bytes.
bool WriteFilenameList(BYTE* buffer, size_t capacity, bool wide, const TUnicodeStrings& names,
                       UINT codePage = CP_ACP);

// Whether a name map can be written: one empty name would end its list there, and every later name would go to
// the wrong file. A map holding one is refused whole (no data).
bool IsWritableNameMap(const TUnicodeStrings& names);

// DROPFILES: a 20-byte header (pFiles, pt, fNC, fWide) and a name list at pFiles. A header whose pFiles lies
// outside 20 .. size - 1 is no data; wide names are read as whole characters only.
inline constexpr size_t kDropFilesHeaderSize = 20;
bool ReadDropFiles(const BYTE* block, size_t size, TUnicodeStrings& files, UINT codePage = CP_ACP);
size_t DropFilesSize(const TUnicodeStrings& files, bool wide, UINT codePage = CP_ACP);
bool WriteDropFiles(BYTE* block, size_t size, const TUnicodeStrings& files, bool wide, UINT codePage = CP_ACP);

// CF_HDROP.
class TFileClipboardFormat : public TCustomSimpleClipboardFormat {
public:
    static const TClipboardFormatClass Class;
    TFileClipboardFormat() : TCustomSimpleClipboardFormat(Class) {}
    TUnicodeStringList& Files() { return files_; }

    bool ReadData(const BYTE* buffer, size_t size) override { return ReadDropFiles(buffer, size, files_); }
    bool WriteData(BYTE* buffer, size_t size) const override { return WriteDropFiles(buffer, size, files_, wide_); }
    size_t DataSize() const override { return DropFilesSize(files_, wide_); }
    void Clear() override { files_.Clear(); }
    bool HasData() const override { return files_.Count() > 0; }

private:
    TUnicodeStringList files_;
    bool wide_ = true;  // the program runs on NT-family systems only
};

// "FileName": one name in the ANSI code page.
class TAnsiFilenameClipboardFormat : public TCustomAnsiTextClipboardFormat {
public:
    static const TClipboardFormatClass Class;
    TAnsiFilenameClipboardFormat() : TCustomAnsiTextClipboardFormat(Class) {}
    // With a file data format: its first name, or false when it has none.
    bool TakeFromDataFormat(TCustomDataFormat& dataFormat) override;
    // With a file data format: the text becomes its only name.
    bool GiveToDataFormat(TCustomDataFormat& dataFormat) override;
};

// "FileNameW": one name in UTF-16.
class TUnicodeFilenameClipboardFormat : public TCustomUnicodeTextClipboardFormat {
public:
    static const TClipboardFormatClass Class;
    TUnicodeFilenameClipboardFormat() : TCustomUnicodeTextClipboardFormat(Class) {}
    bool TakeFromDataFormat(TCustomDataFormat& dataFormat) override;
    bool GiveToDataFormat(TCustomDataFormat& dataFormat) override;
};

// "FileNameMap": the names the dropped files are to receive, in the ANSI code page.
class TAnsiFilenameMapClipboardFormat : public TCustomSimpleClipboardFormat {
public:
    static const TClipboardFormatClass Class;
    TAnsiFilenameMapClipboardFormat() : TCustomSimpleClipboardFormat(Class) {}
    std::vector<std::string>& FileMaps() { return fileMaps_; }

    bool ReadData(const BYTE* buffer, size_t size) override;
    bool WriteData(BYTE* buffer, size_t size) const override;
    size_t DataSize() const override;
    void Clear() override { fileMaps_.clear(); }
    bool HasData() const override;

private:
    std::vector<std::string> fileMaps_;
};

// "FileNameMapW": the same in UTF-16.
class TUnicodeFilenameMapClipboardFormat : public TCustomSimpleClipboardFormat {
public:
    static const TClipboardFormatClass Class;
    TUnicodeFilenameMapClipboardFormat() : TCustomSimpleClipboardFormat(Class) {}
    TUnicodeStringList& FileMaps() { return fileMaps_; }

    bool ReadData(const BYTE* buffer, size_t size) override {
        return ReadFilenameList(buffer, size, true, fileMaps_);
    }
    bool WriteData(BYTE* buffer, size_t size) const override {
        return IsWritableNameMap(fileMaps_) && WriteFilenameList(buffer, size, true, fileMaps_);
    }
    size_t DataSize() const override { return FilenameListSize(fileMaps_, true); }
    void Clear() override { fileMaps_.Clear(); }
    bool HasData() const override { return IsWritableNameMap(fileMaps_); }

private:
    TUnicodeStringList fileMaps_;
};

// A list of file names (full paths).
class TFileDataFormat : public TCustomDataFormat {
public:
    static const TDataFormatClass Class;
    explicit TFileDataFormat(TDragDropComponent* owner);
    ~TFileDataFormat() override;
    TUnicodeStringList& Files() { return files_; }
    const TUnicodeStringList& Files() const { return files_; }

    // CF_HDROP and "Shell IDList Array" directly; the single-name formats know this data format.
    bool TakeFromClipboardFormat(TClipboardFormat& format) override;
    bool GiveToClipboardFormat(TClipboardFormat& format) override;
    void Clear() override { files_.Clear(); }
    bool HasData() const override { return files_.Count() > 0; }

private:
    // The ID lists of the files, made once for the file list: the shell parses a name in about 2 ms, and
    // every request for "Shell IDList Array" would parse them all again.
    const TPIDLList& Pidls();

    TUnicodeStringList files_;
    std::unique_ptr<TPIDLList> pidls_;
};

// The names the dropped files are to receive, in the order of the file list.
class TFileMapDataFormat : public TCustomDataFormat {
public:
    static const TDataFormatClass Class;
    explicit TFileMapDataFormat(TDragDropComponent* owner);
    TUnicodeStringList& NameMappings() { return nameMappings_; }

    bool TakeFromClipboardFormat(TClipboardFormat& format) override;
    bool GiveToClipboardFormat(TClipboardFormat& format) override;
    void Clear() override { nameMappings_.Clear(); }
    // Not with an empty name: the map would be refused.
    bool HasData() const override { return IsWritableNameMap(nameMappings_); }

private:
    TUnicodeStringList nameMappings_;
};

// The drop source of a list of files: fill Files, then Execute.
class TDropFileSource : public TCustomDropMultiSource {
public:
    TDropFileSource();
    TUnicodeStringList& Files() { return fileFormat_.Files(); }
    TFileDataFormat& FileDataFormat() { return fileFormat_; }
    TFileMapDataFormat& FileMapDataFormat() { return fileMapFormat_; }

private:
    TFileDataFormat& fileFormat_;
    TFileMapDataFormat& fileMapFormat_;
};

// The drop target of a list of files: Files holds the dropped names during and after OnDrop.
class TDropFileTarget : public TCustomDropMultiTarget {
public:
    TDropFileTarget();
    TUnicodeStringList& Files() { return fileFormat_.Files(); }
    TFileDataFormat& FileDataFormat() { return fileFormat_; }
    TFileMapDataFormat& FileMapDataFormat() { return fileMapFormat_; }

protected:
    // The source's "Preferred DropEffect", or copy when it says none.
    DWORD GetPreferredDropEffect() override;

private:
    TFileDataFormat& fileFormat_;
    TFileMapDataFormat& fileMapFormat_;
};

// Puts this unit's data-format classes and their clipboard formats into the map.
void RegisterDragDropFileClasses();

} // namespace dragdrop
