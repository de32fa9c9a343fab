#pragma once
// The core of the drag-and-drop library. A clipboard format is one OLE data representation (a FORMATETC) with
// the code that turns a medium into values and back; a data format is what a component works with (a list of
// file names, say) and holds the clipboard formats that can carry it, tried in priority order. A process-wide
// map says which clipboard-format classes serve which data-format class. Also here: the drag-gesture detector,
// the key-state and drop-effect conversions, the system's medium copy routine and clipboard-format names.
#include <windows.h>
#include <ole2.h>
#include <shldisp.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "kit/Handles.h"

namespace dragdrop {

// A small set over an enumeration of at most 32 members: bit i holds ordinal i.
template <typename E>
class TEnumSet {
public:
    constexpr TEnumSet() = default;
    constexpr TEnumSet(std::initializer_list<E> members) {
        for (E member : members) Include(member);
    }
    constexpr bool Contains(E member) const { return (bits_ & Bit(member)) != 0; }
    constexpr void Include(E member) { bits_ |= Bit(member); }
    constexpr bool Empty() const { return bits_ == 0; }
    friend constexpr bool operator==(TEnumSet, TEnumSet) = default;

private:
    static constexpr std::uint32_t Bit(E member) { return std::uint32_t{1} << static_cast<unsigned>(member); }
    std::uint32_t bits_ = 0;
};

enum TDragType : std::uint8_t { dtCopy, dtMove, dtLink };
using TDragTypes = TEnumSet<TDragType>;
enum TDragResult : std::uint8_t { drDropCopy, drDropMove, drDropLink, drCancel, drOutMemory, drAsync, drUnknown };

// The shell's asynchronous-transfer interface under its first name.
using IAsyncOperation = ::IDataObjectAsyncCapability;

enum TShiftStateMember : std::uint8_t { ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle };
using TShiftState = TEnumSet<TShiftStateMember>;

// Directions of a map entry, as flags: a drop target may read the clipboard format into the data format, a
// drop source may render the data format in it.
using TDataDirections = std::uint8_t;
inline constexpr TDataDirections ddRead = 1;
inline constexpr TDataDirections ddWrite = 2;
inline constexpr TDataDirections ddReadWrite = ddRead | ddWrite;

// The largest medium the library reads or copies: a block or stream that claims more is no data.
inline constexpr unsigned long long kMaxMediumSize = 64ull * 1024 * 1024;
// Limits on what another program's data object may make the library do on the thread that takes its drop, which
// the drop holds until it ends: the formats a target walks through when it looks for one it reads, the children
// of a "Shell IDList Array" it reads, the names of a name list (a medium of one-character names would take
// seconds and gigabytes), and the bytes of all "FileContents" items of one object together; each far beyond a
// real source's.
inline constexpr int kMaxEnumeratedFormats = 4096;
inline constexpr unsigned long long kMaxIDListChildren = 65536;
inline constexpr size_t kMaxListedNames = 1 << 20;
inline constexpr unsigned long long kMaxFileContentsTotal = kMaxMediumSize;
// The children of an ID list array are named by the shell one by one, and under Wine each call reads the whole
// folder of the child (0.2 ms alone, 1.5 ms among 4,000 entries, 8 ms among 20,000): no count bounds the time.
// Children not all named within this many milliseconds are none, which leaves the rest of a drop's second to
// what takes the names (bench/drop.cpp).
inline constexpr DWORD kIDListNamingTime = 500;

// Which side a data format's compatible clipboard formats are looked up for.
enum class TFormatSide { Source, Target };

// Module values (defaults in DragDrop.cpp); tests and the drop target may change them.
extern DWORD DragDropScrollDelay;     // ms before a drop target starts to scroll
extern DWORD DragDropScrollInterval;  // ms between scroll steps
extern DWORD DragDropScrollMaxSpeed;  // pixels per second at or below which the cursor hovers
extern DWORD DragDropScrollHoverTime; // shortest ms between two cursor samples for that speed
extern DWORD DragDetectDelay;         // ms from the button press before a move starts a drag
extern DWORD DragDetectHoldTimeout;   // ms of holding the button still that start a drag
extern bool DragDetectOnHold;
extern bool DragDropShutdown;         // set once the library has stopped: registrations are ignored

class TClipboardFormat;
class TCustomDataFormat;
class TClipboardFormats;
class TDragDropComponent;

// A clipboard-format class as a value: what a map entry names, and what the map lookup instantiates.
class TClipboardFormatClass {
public:
    using Factory = std::unique_ptr<TClipboardFormat> (*)();
    // `formatName` is registered on first use; a class with a fixed number (CF_HDROP) gives it instead; a
    // class with neither (the raw format) is made from a whole FORMATETC only.
    constexpr TClipboardFormatClass(const wchar_t* name, const wchar_t* formatName, CLIPFORMAT fixedFormat,
                                    Factory create, TDataDirections directions = ddRead)
        : name_(name), formatName_(formatName), fixedFormat_(fixedFormat), create_(create),
          directions_(directions) {}
    TClipboardFormatClass(const TClipboardFormatClass&) = delete;
    TClipboardFormatClass& operator=(const TClipboardFormatClass&) = delete;

    const wchar_t* Name() const { return name_; }
    // The clipboard-format number; 0 for the raw class.
    CLIPFORMAT Format() const;
    // The directions the class supports of its own, beside those of its map entries.
    TDataDirections Directions() const { return directions_; }
    // A new instance made with the class's default constructor.
    std::unique_ptr<TClipboardFormat> Create() const;

private:
    const wchar_t* name_;
    const wchar_t* formatName_;
    CLIPFORMAT fixedFormat_;
    Factory create_;
    TDataDirections directions_;
    mutable CLIPFORMAT registered_ = 0;
};

template <typename T>
std::unique_ptr<TClipboardFormat> CreateClipboardFormat() {
    return std::make_unique<T>();
}

// A data-format class as a value: its name, its base class and its class hook, which puts the class's
// compatible clipboard formats into the map.
class TDataFormatClass {
public:
    constexpr TDataFormatClass(const wchar_t* name, const TDataFormatClass* parent, void (*registerFormats)())
        : name_(name), parent_(parent), registerFormats_(registerFormats) {}
    TDataFormatClass(const TDataFormatClass&) = delete;
    TDataFormatClass& operator=(const TDataFormatClass&) = delete;

    const wchar_t* Name() const { return name_; }
    // True when this class is `ancestor` or derives from it.
    bool InheritsFrom(const TDataFormatClass& ancestor) const;
    void RegisterCompatibleFormats() const {
        if (registerFormats_) registerFormats_();
    }

private:
    const wchar_t* name_;
    const TDataFormatClass* parent_;
    void (*registerFormats_)();
};

// Owns one STGMEDIUM and releases it with ReleaseStgMedium on every path.
class TStgMediumOwner {
public:
    TStgMediumOwner() = default;
    explicit TStgMediumOwner(const STGMEDIUM& medium) : medium_(medium) {}
    TStgMediumOwner(const TStgMediumOwner&) = delete;
    TStgMediumOwner& operator=(const TStgMediumOwner&) = delete;
    ~TStgMediumOwner() { reset(); }

    const STGMEDIUM& get() const { return medium_; }
    // For out-parameters: releases what is held, then hands out the zeroed slot.
    STGMEDIUM* put() { reset(); return &medium_; }
    STGMEDIUM release() { return std::exchange(medium_, STGMEDIUM{}); }
    void reset();

private:
    STGMEDIUM medium_{};
};

// Owns an HGLOBAL until it is handed over (to a medium, a stream, the clipboard).
using TGlobalOwner = kit::UniqueGlobal;
using TGlobalLock = kit::GlobalMemoryLock;

// One OLE data representation and its codec.
class TClipboardFormat {
public:
    virtual ~TClipboardFormat() = default;
    TClipboardFormat(const TClipboardFormat&) = delete;
    TClipboardFormat& operator=(const TClipboardFormat&) = delete;

    const TClipboardFormatClass& ClassType() const { return *class_; }
    // The data format this clipboard format belongs to (not owned; may be none).
    TCustomDataFormat* DataFormat() const { return dataFormat_; }
    void SetDataFormat(TCustomDataFormat* dataFormat) { dataFormat_ = dataFormat; }
    const FORMATETC& FormatEtc() const { return formatEtc_; }

    CLIPFORMAT GetClipboardFormat() const;
    void SetClipboardFormat(CLIPFORMAT format) { formatEtc_.cfFormat = format; }
    std::wstring ClipboardFormatName() const;
    // Only the raw format can be renamed; others throw "<class>.ClipboardFormat is read-only".
    virtual void SetClipboardFormatName(const std::wstring& name);

    // The storage kinds, among the own ones, for which the data object answers QueryGetData.
    DWORD GetSupportedStorageKinds(IDataObject* dataObject) const;
    // True as soon as the data object offers one of the own storage kinds.
    bool OfferedBy(IDataObject* dataObject) const;
    // True when the FORMATETC asks for this format, content aspect and one of the own storage kinds.
    bool Matches(const FORMATETC& formatEtc) const;

    // Clears, then reads this format from the data object. False when it offers none or the medium is unusable.
    virtual bool GetData(IDataObject* dataObject);
    // Clears, then decodes a medium already received. The caller keeps the medium (and releases it).
    bool GetDataFromMedium(IDataObject* dataObject, const STGMEDIUM& medium);
    // Encodes the own data and gives it to the data object's SetData, which then owns the medium.
    bool SetData(IDataObject* dataObject, const FORMATETC& formatEtc);
    // Encodes the own data into `medium` (zeroed first) for a request this format matches; the caller owns it.
    bool RenderMedium(const FORMATETC& formatEtc, STGMEDIUM& medium);

    // Copies data between this clipboard format and a data format it knows; false for any other.
    virtual bool TakeFromDataFormat(TCustomDataFormat& dataFormat);
    virtual bool GiveToDataFormat(TCustomDataFormat& dataFormat);
    virtual void Clear() = 0;
    virtual bool HasData() const { return true; }

protected:
    // Format number from the class, no device, content aspect, all indexes, the given storage kinds.
    TClipboardFormat(const TClipboardFormatClass& type, DWORD storageKinds);
    TClipboardFormat(const TClipboardFormatClass& type, const FORMATETC& formatEtc);

    virtual bool DecodeMedium(IDataObject* dataObject, const STGMEDIUM& medium);
    virtual bool EncodeMedium(const FORMATETC& formatEtc, STGMEDIUM& medium);
    // The item this format stands for (the FORMATETC's lindex; -1 is all).
    void SetFormatIndex(LONG index) { formatEtc_.lindex = index; }

private:
    const TClipboardFormatClass* class_;
    TCustomDataFormat* dataFormat_ = nullptr;
    FORMATETC formatEtc_{};
};

// The ordered clipboard formats of one data format. Added entries are owned (and join the data format);
// an assigned list shares the other's entries without joining them.
class TClipboardFormats {
public:
    explicit TClipboardFormats(TCustomDataFormat* dataFormat = nullptr) : dataFormat_(dataFormat) {}
    TClipboardFormats(const TClipboardFormats&) = delete;
    TClipboardFormats& operator=(const TClipboardFormats&) = delete;
    ~TClipboardFormats() { Clear(); }

    TClipboardFormat& Add(std::shared_ptr<TClipboardFormat> format);
    void Assign(const TClipboardFormats& other);
    void Clear();
    int Count() const { return static_cast<int>(items_.size()); }
    TClipboardFormat& operator[](int index) const { return *items_.at(static_cast<size_t>(index)); }
    // The first entry of class T or a class derived from it.
    template <typename T>
    T* Find() const {
        for (const auto& item : items_)
            if (auto* found = dynamic_cast<T*>(item.get())) return found;
        return nullptr;
    }
    // As Find, but a miss throws "Clipboard format <T> does not exist in <data format>'s list of copatible
    // formats".
    template <typename T>
    T& Get() const {
        if (T* found = Find<T>()) return *found;
        ThrowMissing(T::Class.Name());
    }
    TClipboardFormat* FindFormat(CLIPFORMAT format) const;
    // Takes the entry out of the list (freeing it when no other list shares it).
    void Remove(const TClipboardFormat& format);

private:
    [[noreturn]] void ThrowMissing(const wchar_t* className) const;
    TCustomDataFormat* dataFormat_;
    std::vector<std::shared_ptr<TClipboardFormat>> items_;
};

// What a component works with; reads and writes itself through its compatible clipboard formats.
class TCustomDataFormat {
public:
    virtual ~TCustomDataFormat();
    TCustomDataFormat(const TCustomDataFormat&) = delete;
    TCustomDataFormat& operator=(const TCustomDataFormat&) = delete;

    const TDataFormatClass& ClassType() const { return *class_; }
    TDragDropComponent* Owner() const { return owner_; }
    // Raised before the data changes.
    std::function<void(TCustomDataFormat&)> OnChanging;

    // Made on first use and filled by the owner for its side; a data format without owner must have been
    // given a side first (UseSide).
    TClipboardFormats& CompatibleFormats() const;
    // For a data format without owner: its compatible formats become the map's for that side.
    void UseSide(TFormatSide side);

    virtual void Changing();
    virtual void Clear() = 0;
    virtual bool TakeFromClipboardFormat(TClipboardFormat& format);
    virtual bool GiveToClipboardFormat(TClipboardFormat& format);
    // Fills the data from the first compatible clipboard format, in priority order, the data object delivers.
    virtual bool GetData(IDataObject* dataObject);
    virtual bool HasData() const = 0;
    virtual bool NeedsData() const { return !HasData(); }
    bool OfferedBy(IDataObject* dataObject) const;
    bool Matches(const FORMATETC& formatEtc) const;

protected:
    // Joins the owner's data-format list when there is an owner.
    TCustomDataFormat(const TDataFormatClass& type, TDragDropComponent* owner);

private:
    friend class TDataFormats;
    const TDataFormatClass* class_;
    TDragDropComponent* owner_;
    mutable std::unique_ptr<TClipboardFormats> compatibleFormats_;
};

// A component's data formats, not owned. Formats still listed when the list goes lose their owner.
class TDataFormats {
public:
    TDataFormats() = default;
    TDataFormats(const TDataFormats&) = delete;
    TDataFormats& operator=(const TDataFormats&) = delete;
    virtual ~TDataFormats();

    // No duplicates; answers the index.
    virtual int Add(TCustomDataFormat* format);
    int IndexOf(const TCustomDataFormat* format) const;
    virtual void Remove(TCustomDataFormat* format);
    int Count() const { return static_cast<int>(items_.size()); }
    TCustomDataFormat* operator[](int index) const { return items_.at(static_cast<size_t>(index)); }

private:
    std::vector<TCustomDataFormat*> items_;
};

// A component that is also a COM object. Its life is ruled by its owner, never by references: AddRef and
// Release only count, so that a spy can see every reference given back (ReferenceCount) and one still held
// when the component goes is traced. A class that implements interfaces declares the three IUnknown methods
// once, over ComQueryInterface, ComAddRef and ComRelease.
class TInterfacedComponent {
public:
    TInterfacedComponent(const TInterfacedComponent&) = delete;
    TInterfacedComponent& operator=(const TInterfacedComponent&) = delete;
    ULONG ReferenceCount() const { return references_; }

protected:
    TInterfacedComponent() = default;
    virtual ~TInterfacedComponent();

    // The object's pointer for an interface it implements, or null; IID_IUnknown must always give the same one.
    virtual void* GetInterface(REFIID iid);
    HRESULT ComQueryInterface(REFIID iid, void** object);
    ULONG ComAddRef() { return ++references_; }
    ULONG ComRelease() { return --references_; }
    // Cuts OLE's stubs (other apartments, other processes) off the object; their later calls fail in OLE.
    void DisconnectObject();

private:
    std::atomic<ULONG> references_{0};
};

// Base of every drop source and drop target: holds its data formats and fills their compatible formats.
class TDragDropComponent : public TInterfacedComponent {
public:

    TDataFormats& DataFormats() { return *dataFormats_; }
    // The base leaves the list empty; sources fill it for the source side, targets for the target side.
    virtual void FillCompatibleFormats(const TDataFormatClass& type, TClipboardFormats& formats);

protected:
    explicit TDragDropComponent(std::unique_ptr<TDataFormats> dataFormats = std::make_unique<TDataFormats>())
        : dataFormats_(std::move(dataFormats)) {}

private:
    std::unique_ptr<TDataFormats> dataFormats_;
};

// The process-wide registry of data-format classes.
class TDataFormatClasses {
public:
    static TDataFormatClasses& Instance();
    void Add(const TDataFormatClass& type);  // no duplicates
    void Remove(const TDataFormatClass& type);
    int Count() const { return static_cast<int>(items_.size()); }
    const TDataFormatClass& operator[](int index) const { return *items_.at(static_cast<size_t>(index)); }

private:
    std::vector<const TDataFormatClass*> items_;
};

struct TDataFormatMapEntry {
    const TDataFormatClass* DataFormat;
    const TClipboardFormatClass* ClipboardFormat;
    int Priority;
    TDataDirections Directions;
};

// The process-wide map from data-format classes to the clipboard-format classes that carry them. Within one
// data-format class entries stay in ascending priority, equal priorities newest first.
class TDataFormatMap {
public:
    static TDataFormatMap& Instance();
    // A pair already mapped moves to the end and gains the directions; the priority is taken only together
    // with the write direction (a read-only entry keeps priority 0).
    void Add(const TDataFormatClass& dataFormat, const TClipboardFormatClass& clipboardFormat,
             TDataDirections directions, int priority);
    // Fresh instances of every clipboard-format class mapped to the class (or an ancestor) for that side.
    void GetClipboardFormats(const TDataFormatClass& dataFormat, TFormatSide side, TClipboardFormats& formats) const;
    const std::vector<TDataFormatMapEntry>& Entries() const { return entries_; }

private:
    std::vector<TDataFormatMapEntry> entries_;
};

// Registration, ignored once the library has stopped: adds the class to the registry and runs its hook.
void RegisterDataFormatClass(const TDataFormatClass& type);
// A map entry; the short form registers for reading at priority 0.
void RegisterClipboardFormatClass(const TDataFormatClass& dataFormat, const TClipboardFormatClass& clipboardFormat,
                                  int priority = 0, TDataDirections directions = ddRead);
// The end of the library at program end: later registrations are ignored, the map and the registry are
// freed, the system library of the medium copy is unloaded.
void ShutdownDragDrop();

// Holds any clipboard format as a copy of the medium it was given.
class TRawClipboardFormat : public TClipboardFormat {
public:
    static const TClipboardFormatClass Class;
    explicit TRawClipboardFormat(const FORMATETC& formatEtc);
    ~TRawClipboardFormat() override { Clear(); }

    void SetClipboardFormatName(const std::wstring& name) override;
    bool TakeFromDataFormat(TCustomDataFormat& dataFormat) override;
    bool GiveToDataFormat(TCustomDataFormat& dataFormat) override;
    void Clear() override { medium_.reset(); }
    bool HasData() const override { return medium_.get().tymed != TYMED_NULL; }
    const STGMEDIUM& Medium() const { return medium_.get(); }

protected:
    // A stream medium is copied byte for byte: the system copy of a stream is the same stream.
    bool DecodeMedium(IDataObject* dataObject, const STGMEDIUM& medium) override;
    bool EncodeMedium(const FORMATETC& formatEtc, STGMEDIUM& medium) override;

private:
    TStgMediumOwner medium_;
};

// A data format whose data are the media of its raw clipboard formats (a component adds those directly).
class TRawDataFormat : public TCustomDataFormat {
public:
    static const TDataFormatClass Class;
    explicit TRawDataFormat(TDragDropComponent* owner) : TCustomDataFormat(Class, owner) {}
    void Clear() override;
    bool HasData() const override;
    bool NeedsData() const override;
};

// Data formats a component made and frees, the last first, when it goes or is told to.
class TOwnedDataFormats {
public:
    TOwnedDataFormats() = default;
    TOwnedDataFormats(const TOwnedDataFormats&) = delete;
    TOwnedDataFormats& operator=(const TOwnedDataFormats&) = delete;
    ~TOwnedDataFormats() { Clear(); }

    // A new data format of type T owned here, joined to `owner`'s list.
    template <typename T>
    T& Make(TDragDropComponent* owner) {
        auto format = std::make_unique<T>(owner);
        T& made = *format;
        items_.push_back(std::move(format));
        return made;
    }
    void Clear() {
        while (!items_.empty()) items_.pop_back();
    }

private:
    std::vector<std::unique_ptr<TCustomDataFormat>> items_;
};

// An OLE failure as the program's exception, with the system's text for the code.
[[noreturn]] void OleError(HRESULT hr);
inline void OleCheck(HRESULT hr) {
    if (FAILED(hr)) OleError(hr);
}

// Conversions between key states, shift states, drop effects and drag types.
TShiftState KeysToShiftState(DWORD keys);
// Shift+Ctrl link, Ctrl copy, otherwise move, each only when allowed; with `fallBack` the first allowed of
// copy, move, link when that gives none.
DWORD ShiftStateToDropEffect(TShiftState shift, DWORD allowedEffects, bool fallBack);
// Tested by bits: an effect with the scroll bit is still its effect. False (and dtCopy) for none.
bool DropEffectToDragType(DWORD effect, TDragType& dragType);
DWORD DragTypesToDropEffect(TDragTypes dragTypes);
// None gives drCancel, one of copy, move and link its result, anything else drUnknown; the scroll bit is no
// effect of its own and is ignored.
TDragResult DropEffectToDragResult(DWORD effect);
// A client point of the window in coordinates relative to its window rectangle.
POINT ClientPtToWindowPt(HWND window, POINT point);

// The system's STGMEDIUM copy, bound from URLMON.DLL at first use. Throws when the system has none.
bool CopyStgMedium(const STGMEDIUM& source, STGMEDIUM& destination);
// "CF_TEXT" ... for the predefined numbers, else the registered name (empty when none).
std::wstring ClipboardFormatName(UINT format);

// Drag detection. The decision of one input message, given the drag rectangle around the press point (screen
// coordinates) and the press time on the message clock (GetTickCount, as MSG.time).
enum class TDragDetectVerdict { Undecided, Drag, NoDrag };
TDragDetectVerdict DragDetectVerdict(const MSG& message, const RECT& dragRect, DWORD startTime, DWORD delay);
// The rectangle around a point, inflated by the system's drag thresholds.
RECT DragRectangle(POINT point, int thresholdX, int thresholdY);
// True when the user drags from `screenPoint` with a mouse button down: moves out of the drag rectangle no
// earlier than DragDetectDelay, or holds still for DragDetectHoldTimeout. Captures the mouse meanwhile; a
// button message is left in the queue for the window.
bool DetectDrag(HWND window, POINT screenPoint);
bool DetectDragAtCursor(HWND window);

} // namespace dragdrop
