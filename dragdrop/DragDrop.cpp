#include "dragdrop/DragDrop.h"

#include <algorithm>
#include <stdexcept>

#include "kit/Exception.h"
#include "kit/Guard.h"
#include "kit/Handles.h"
#include "kit/Strings.h"

namespace dragdrop {

DWORD DragDropScrollDelay = 50;
DWORD DragDropScrollInterval = 50;
DWORD DragDropScrollMaxSpeed = 20;
DWORD DragDropScrollHoverTime = 10;
DWORD DragDetectDelay = 200;
DWORD DragDetectHoldTimeout = 500;
bool DragDetectOnHold = true;
bool DragDropShutdown = false;

namespace {

std::unique_ptr<TDataFormatMap> g_map;
std::unique_ptr<TDataFormatClasses> g_classes;

// The registry and the map come into being on first use; after the shutdown that is a late caller's mistake,
// worth a trace.
template <typename T>
T& MadeOnFirstUse(std::unique_ptr<T>& instance, const wchar_t* recreatedNotice) {
    if (!instance) {
        if (DragDropShutdown) OutputDebugStringW(recreatedNotice);
        instance.reset(new T);
    }
    return *instance;
}

} // namespace

CLIPFORMAT TClipboardFormatClass::Format() const {
    if (fixedFormat_) return fixedFormat_;
    if (formatName_ && !registered_) registered_ = static_cast<CLIPFORMAT>(RegisterClipboardFormatW(formatName_));
    return registered_;
}

std::unique_ptr<TClipboardFormat> TClipboardFormatClass::Create() const {
    if (!create_)
        throw kit::Exception(
            kit::Format(L"The %ls class can not be instantiated with the default constructor", name_));
    return create_();
}

bool TDataFormatClass::InheritsFrom(const TDataFormatClass& ancestor) const {
    for (const TDataFormatClass* type = this; type; type = type->parent_)
        if (type == &ancestor) return true;
    return false;
}

void TStgMediumOwner::reset() {
    if (medium_.tymed != TYMED_NULL || medium_.pUnkForRelease) ReleaseStgMedium(&medium_);
    medium_ = STGMEDIUM{};
}

// --- TClipboardFormat

TClipboardFormat::TClipboardFormat(const TClipboardFormatClass& type, DWORD storageKinds)
    : class_(&type), formatEtc_{type.Format(), nullptr, DVASPECT_CONTENT, -1, storageKinds} {}

TClipboardFormat::TClipboardFormat(const TClipboardFormatClass& type, const FORMATETC& formatEtc)
    : class_(&type), formatEtc_(formatEtc) {
    formatEtc_.ptd = nullptr;  // the caller's device block is not ours to keep; no format here is device-bound
}

CLIPFORMAT TClipboardFormat::GetClipboardFormat() const {
    const CLIPFORMAT own = class_->Format();
    return own ? own : formatEtc_.cfFormat;
}

std::wstring TClipboardFormat::ClipboardFormatName() const {
    return dragdrop::ClipboardFormatName(GetClipboardFormat());
}

void TClipboardFormat::SetClipboardFormatName(const std::wstring&) {
    throw kit::Exception(kit::Format(L"%ls.ClipboardFormat is read-only", class_->Name()));
}

DWORD TClipboardFormat::GetSupportedStorageKinds(IDataObject* dataObject) const {
    DWORD supported = 0;
    for (DWORD kind = 1; kind != 0 && kind <= formatEtc_.tymed; kind <<= 1) {
        if (!(formatEtc_.tymed & kind)) continue;
        FORMATETC query = formatEtc_;
        query.tymed = kind;
        if (dataObject->QueryGetData(&query) == S_OK) supported |= kind;
    }
    return supported;
}

bool TClipboardFormat::OfferedBy(IDataObject* dataObject) const {
    for (DWORD kind = 1; kind != 0 && kind <= formatEtc_.tymed; kind <<= 1) {
        if (!(formatEtc_.tymed & kind)) continue;
        FORMATETC query = formatEtc_;
        query.tymed = kind;
        if (dataObject->QueryGetData(&query) == S_OK) return true;
    }
    return false;
}

bool TClipboardFormat::Matches(const FORMATETC& formatEtc) const {
    return formatEtc.cfFormat == formatEtc_.cfFormat && formatEtc.ptd == nullptr &&
           formatEtc.dwAspect == formatEtc_.dwAspect && (formatEtc.tymed & formatEtc_.tymed) != 0;
}

bool TClipboardFormat::GetData(IDataObject* dataObject) {
    Clear();
    FORMATETC request = formatEtc_;
    request.tymed = GetSupportedStorageKinds(dataObject);
    if (request.tymed == 0) return false;
    TStgMediumOwner medium;
    if (dataObject->GetData(&request, medium.put()) != S_OK) {
        medium.release();  // a failed call hands nothing over, whatever it left in the slot
        return false;
    }
    return GetDataFromMedium(dataObject, medium.get());
}

bool TClipboardFormat::GetDataFromMedium(IDataObject* dataObject, const STGMEDIUM& medium) {
    Clear();
    return (medium.tymed & formatEtc_.tymed) != 0 && DecodeMedium(dataObject, medium);
}

bool TClipboardFormat::SetData(IDataObject* dataObject, const FORMATETC& formatEtc) {
    TStgMediumOwner medium;
    if (!RenderMedium(formatEtc, *medium.put())) return false;
    FORMATETC own = formatEtc_;
    own.tymed = medium.get().tymed;
    STGMEDIUM given = medium.get();
    if (dataObject->SetData(&own, &given, TRUE) != S_OK) return false;  // the owner releases it
    medium.release();  // the data object owns it now
    return true;
}

bool TClipboardFormat::RenderMedium(const FORMATETC& formatEtc, STGMEDIUM& medium) {
    medium = STGMEDIUM{};
    return Matches(formatEtc) && EncodeMedium(formatEtc, medium);
}

bool TClipboardFormat::TakeFromDataFormat(TCustomDataFormat&) { return false; }
bool TClipboardFormat::GiveToDataFormat(TCustomDataFormat&) { return false; }
bool TClipboardFormat::DecodeMedium(IDataObject*, const STGMEDIUM&) { return false; }
bool TClipboardFormat::EncodeMedium(const FORMATETC&, STGMEDIUM&) { return false; }

// --- TClipboardFormats

TClipboardFormat& TClipboardFormats::Add(std::shared_ptr<TClipboardFormat> format) {
    if (dataFormat_) format->SetDataFormat(dataFormat_);
    items_.push_back(std::move(format));
    return *items_.back();
}

void TClipboardFormats::Assign(const TClipboardFormats& other) {
    if (&other == this) return;
    Clear();
    items_ = other.items_;
}

void TClipboardFormats::Clear() {
    while (!items_.empty()) items_.pop_back();  // the last first
}

TClipboardFormat* TClipboardFormats::FindFormat(CLIPFORMAT format) const {
    for (const auto& item : items_)
        if (item->GetClipboardFormat() == format) return item.get();
    return nullptr;
}

void TClipboardFormats::Remove(const TClipboardFormat& format) {
    const auto it = std::find_if(items_.begin(), items_.end(), [&](const auto& item) { return item.get() == &format; });
    if (it != items_.end()) items_.erase(it);
}

void TClipboardFormats::ThrowMissing(const wchar_t* className) const {
    throw kit::Exception(kit::Format(L"Clipboard format %ls does not exist in %ls's list of copatible formats",
                                     className, dataFormat_ ? dataFormat_->ClassType().Name() : L"(none)"));
}

// --- TCustomDataFormat

TCustomDataFormat::TCustomDataFormat(const TDataFormatClass& type, TDragDropComponent* owner)
    : class_(&type), owner_(owner) {
    if (owner_) owner_->DataFormats().Add(this);
}

TCustomDataFormat::~TCustomDataFormat() {
    compatibleFormats_.reset();
    if (owner_) owner_->DataFormats().Remove(this);
}

TClipboardFormats& TCustomDataFormat::CompatibleFormats() const {
    if (!compatibleFormats_) {
        if (!owner_) throw std::logic_error("A data format without owner needs a side before its formats are used");
        auto formats = std::make_unique<TClipboardFormats>(const_cast<TCustomDataFormat*>(this));
        owner_->FillCompatibleFormats(*class_, *formats);
        compatibleFormats_ = std::move(formats);
    }
    return *compatibleFormats_;
}

void TCustomDataFormat::UseSide(TFormatSide side) {
    auto formats = std::make_unique<TClipboardFormats>(this);
    TDataFormatMap::Instance().GetClipboardFormats(*class_, side, *formats);
    compatibleFormats_ = std::move(formats);
}

void TCustomDataFormat::Changing() {
    if (OnChanging) OnChanging(*this);
}

bool TCustomDataFormat::TakeFromClipboardFormat(TClipboardFormat& format) { return format.GiveToDataFormat(*this); }
bool TCustomDataFormat::GiveToClipboardFormat(TClipboardFormat& format) { return format.TakeFromDataFormat(*this); }

bool TCustomDataFormat::GetData(IDataObject* dataObject) {
    bool delivered = false;
    TClipboardFormats& formats = CompatibleFormats();
    for (int i = 0; i < formats.Count() && NeedsData(); ++i) {
        TClipboardFormat& format = formats[i];
        if (format.GetData(dataObject) && format.HasData() && TakeFromClipboardFormat(format)) delivered = true;
        format.Clear();
    }
    return delivered;
}

bool TCustomDataFormat::OfferedBy(IDataObject* dataObject) const {
    const TClipboardFormats& formats = CompatibleFormats();
    for (int i = 0; i < formats.Count(); ++i)
        if (formats[i].OfferedBy(dataObject)) return true;
    return false;
}

bool TCustomDataFormat::Matches(const FORMATETC& formatEtc) const {
    const TClipboardFormats& formats = CompatibleFormats();
    for (int i = 0; i < formats.Count(); ++i)
        if (formats[i].Matches(formatEtc)) return true;
    return false;
}

// --- The COM identity of a component

TInterfacedComponent::~TInterfacedComponent() {
    if (references_ != 0)
        kit::Trace(L"TInterfacedComponent", kit::Format(L"freed with %lu references held", references_.load()));
}

void* TInterfacedComponent::GetInterface(REFIID) { return nullptr; }

HRESULT TInterfacedComponent::ComQueryInterface(REFIID iid, void** object) {
    if (!object) return E_POINTER;
    *object = GetInterface(iid);
    if (!*object) return E_NOINTERFACE;
    ComAddRef();
    return S_OK;
}

void TInterfacedComponent::DisconnectObject() {
    if (auto* unknown = static_cast<IUnknown*>(GetInterface(IID_IUnknown))) CoDisconnectObject(unknown, 0);
}

void OleError(HRESULT hr) { throw kit::Exception(kit::SystemErrorMessage(static_cast<DWORD>(hr))); }

// --- TDataFormats and the component

TDataFormats::~TDataFormats() {
    for (auto it = items_.rbegin(); it != items_.rend(); ++it) (*it)->owner_ = nullptr;
}

int TDataFormats::Add(TCustomDataFormat* format) {
    const int index = IndexOf(format);
    if (index >= 0) return index;
    items_.push_back(format);
    return Count() - 1;
}

int TDataFormats::IndexOf(const TCustomDataFormat* format) const {
    const auto it = std::find(items_.begin(), items_.end(), format);
    return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

void TDataFormats::Remove(TCustomDataFormat* format) {
    const auto it = std::find(items_.begin(), items_.end(), format);
    if (it != items_.end()) items_.erase(it);
}

void TDragDropComponent::FillCompatibleFormats(const TDataFormatClass&, TClipboardFormats& formats) {
    formats.Clear();
}

// --- The registry and the map

TDataFormatClasses& TDataFormatClasses::Instance() {
    return MadeOnFirstUse(g_classes, L"DragDrop.TDataFormatClasses recreated during shutdown");
}

void TDataFormatClasses::Add(const TDataFormatClass& type) {
    if (std::find(items_.begin(), items_.end(), &type) == items_.end()) items_.push_back(&type);
}

void TDataFormatClasses::Remove(const TDataFormatClass& type) {
    const auto it = std::find(items_.begin(), items_.end(), &type);
    if (it != items_.end()) items_.erase(it);
}

TDataFormatMap& TDataFormatMap::Instance() {
    return MadeOnFirstUse(g_map, L"DragDrop.TDataFormatMap recreated during shutdown");
}

void TDataFormatMap::Add(const TDataFormatClass& dataFormat, const TClipboardFormatClass& clipboardFormat,
                         TDataDirections directions, int priority) {
    const auto same = std::find_if(entries_.begin(), entries_.end(), [&](const TDataFormatMapEntry& e) {
        return e.DataFormat == &dataFormat && e.ClipboardFormat == &clipboardFormat;
    });
    TDataFormatMapEntry entry{&dataFormat, &clipboardFormat, 0, directions};
    if (same != entries_.end()) {
        entry = *same;
        entry.Directions |= directions;
        entries_.erase(same);
    }
    if (directions & ddWrite) entry.Priority = priority;

    // Into the run of its data-format class: after the nearest entry of lower priority, else in front of the
    // run, so that an equal priority goes first. A class with no entries yet starts a run at the end.
    auto run = std::find_if(entries_.rbegin(), entries_.rend(),
                            [&](const TDataFormatMapEntry& e) { return e.DataFormat == &dataFormat; });
    if (run == entries_.rend()) {
        entries_.push_back(entry);
        return;
    }
    while (run != entries_.rend() && run->DataFormat == &dataFormat && run->Priority >= entry.Priority) ++run;
    entries_.insert(run.base(), entry);
}

void TDataFormatMap::GetClipboardFormats(const TDataFormatClass& dataFormat, TFormatSide side,
                                         TClipboardFormats& formats) const {
    formats.Clear();
    const TDataDirections wanted = side == TFormatSide::Source ? ddWrite : ddRead;
    for (const TDataFormatMapEntry& entry : entries_) {
        if (!dataFormat.InheritsFrom(*entry.DataFormat)) continue;
        if ((entry.Directions | entry.ClipboardFormat->Directions()) & wanted)
            formats.Add(entry.ClipboardFormat->Create());
    }
}

void RegisterDataFormatClass(const TDataFormatClass& type) {
    if (DragDropShutdown) return;
    TDataFormatClasses::Instance().Add(type);
    type.RegisterCompatibleFormats();
}

void RegisterClipboardFormatClass(const TDataFormatClass& dataFormat, const TClipboardFormatClass& clipboardFormat,
                                  int priority, TDataDirections directions) {
    if (DragDropShutdown) return;
    TDataFormatMap::Instance().Add(dataFormat, clipboardFormat, directions, priority);
}

// --- The system's medium copy

namespace {

struct ModuleTraits {
    using Value = HMODULE;
    static Value Invalid() { return nullptr; }
    static bool IsValid(Value v) { return v != nullptr; }
    static void Close(Value v) { FreeLibrary(v); }
};
using CopyStgMediumRoutine = HRESULT(WINAPI*)(const STGMEDIUM*, STGMEDIUM*);

kit::UniqueResource<ModuleTraits> g_urlmon;
CopyStgMediumRoutine g_copyStgMedium = nullptr;

} // namespace

bool CopyStgMedium(const STGMEDIUM& source, STGMEDIUM& destination) {
    if (!g_copyStgMedium) {
        // A failed load is tried again at the next copy.
        if (!g_urlmon) g_urlmon.reset(LoadLibraryW(L"URLMON.DLL"));
        if (g_urlmon)
            g_copyStgMedium =
                reinterpret_cast<CopyStgMediumRoutine>(GetProcAddress(g_urlmon.get(), "CopyStgMedium"));
    }
    if (!g_copyStgMedium)
        throw kit::Exception(L"A required system function (URLMON.CopyStgMedium) was not available on this "
                             L"system. Operation aborted.");
    return SUCCEEDED(g_copyStgMedium(&source, &destination));
}

void ShutdownDragDrop() {
    DragDropShutdown = true;
    g_map.reset();
    g_classes.reset();
    g_copyStgMedium = nullptr;
    g_urlmon.reset();
}

} // namespace dragdrop
