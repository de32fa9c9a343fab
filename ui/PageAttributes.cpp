#include "ui/PageAttributes.h"

#include "ui/ControlIds.h"
#include "ui/PageLayout.h"

namespace ui {

using namespace layout;

namespace {

struct AttributeBoxInfo {
    engine::TScanAttribute attribute;
    const wchar_t* caption;
    bool visible;
};
// In the order of the grid, row by row; the last two stay hidden.
constexpr AttributeBoxInfo kBoxes[] = {
    {engine::saNormal, L"(N) Normal", true},          {engine::saArchive, L"(A) Archive", true},
    {engine::saReadOnly, L"(R) Read Only", true},     {engine::saSystem, L"(S) System", true},
    {engine::saHidden, L"(H) Hidden", true},          {engine::saDirectory, L"(D) Directory", true},
    {engine::saCompressed, L"(C) Compressed", true},  {engine::saEncrypted, L"(E) Encrypted", true},
    {engine::saTemporary, L"(T) Temporary", true},    {engine::saNotIndexed, L"(I) Not Indexed", true},
    {engine::saReparsePoint, L"(P) Reparse Point", true}, {engine::saSparseFile, L"(F) Sparse File", true},
    {engine::saOffLine, L"(O) Offline", true},        {engine::saVirtual, L"(V) Virtual", false},
    {engine::saDevice, L"(W) Device", false},
};
static_assert(std::size(kBoxes) == engine::ScanAttributeCount);

constexpr int kColumns = 5;
constexpr int kGridX = 24;
constexpr int kGridTop = 36;
constexpr int kColumnStep = 124;

} // namespace

void TPageAttributes::Create(HWND parent) {
    CreatePanel(parent, ids::kPageAttributes, At(0, 0, kPageWidth, kPageHeight));
    const HWND page = hwnd();
    chbATTREnabled.Create(page, ids::kAttrEnabled, L"Attributes", At(kMargin, 8, 110, kBoxHeight));
    rbATTRMatchAny.Create(page, ids::kAttrMatchAny, L"Match Any", At(148, 8, 100, kBoxHeight), true, true);
    rbATTRMatchAll.Create(page, ids::kAttrMatchAll, L"Match All", At(254, 8, 100, kBoxHeight), false);
    rbATTRMatchOnly.Create(page, ids::kAttrMatchOnly, L"Match Only", At(360, 8, 100, kBoxHeight), false);

    for (std::size_t i = 0; i < std::size(kBoxes); ++i) {
        const AttributeBoxInfo& info = kBoxes[i];
        const int column = static_cast<int>(i) % kColumns, row = static_cast<int>(i) / kColumns;
        kit::CheckBox& box = AttributeBox(info.attribute);
        box.Create(page, ids::kAttrBoxFirst + info.attribute, info.caption,
                   At(kGridX + column * kColumnStep, kGridTop + row * kLineStep, kColumnStep - 4, kBoxHeight));
        box.SetVisible(info.visible);
    }
    lblATTRNtfsNote.Create(page, ids::kAttrNtfsNote, L"Only in NTFS File System",
                           At(kGridX, kGridTop + 3 * kLineStep + 6, 300, kLabelHeight));

    chbATTREnabled.OnClick = [this] { chbATTREnabledClick(); };
    const auto changed = [this] {
        if (OnSelectionsChanged) OnSelectionsChanged();
    };
    for (kit::CheckBox* match : {&rbATTRMatchAny, &rbATTRMatchAll, &rbATTRMatchOnly}) match->OnClick = changed;
    for (kit::CheckBox& box : boxes_) box.OnClick = changed;
}

void TPageAttributes::chbATTREnabledClick() {
    if (OnSelectionsChanged) OnSelectionsChanged();
    const bool enabled = chbATTREnabled.Checked();
    for (kit::Control* match : {&rbATTRMatchAny, &rbATTRMatchAll, &rbATTRMatchOnly}) match->SetEnabled(enabled);
    for (kit::CheckBox& box : boxes_) box.SetEnabled(enabled);
    lblATTRNtfsNote.SetEnabled(enabled);
}

kit::CheckBox& TPageAttributes::AttributeBox(engine::TScanAttribute attribute) {
    return boxes_.at(static_cast<std::size_t>(attribute));
}

} // namespace ui
