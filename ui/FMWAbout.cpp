#include "ui/FMWAbout.h"

#include "app/OsVersion.h"
#include "kit/DeviceContexts.h"
#include "kit/Interaction.h"
#include "res/ResourceIds.h"
#include "results/CellFormat.h"
#include "results/ResultExports.h"

namespace ui {
namespace {

constexpr int kClientWidth = 479;
constexpr int kClientHeight = 247;
constexpr int kMargin = 16;
constexpr int kTextLeft = 64;         // right of the logo
constexpr int kValueLeft = kTextLeft + 72;
constexpr int kLineHeight = 16;
constexpr int kButtonWidth = 90;
constexpr int kButtonHeight = 25;

std::wstring Kilobytes(unsigned long long bytes) { return results::GroupedNumber(bytes >> 10) + L" KB"; }

kit::UniqueFont ProductFont(HWND window) {
    const kit::WindowDc dc(window);
    const int height = -MulDiv(18, GetDeviceCaps(dc.get(), LOGPIXELSY), 72);
    return kit::UniqueFont(CreateFontW(height, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY,
                                       DEFAULT_PITCH | FF_SWISS, L"Verdana"));
}

HICON ProgramIcon() {
    const auto load = [](HINSTANCE instance, const wchar_t* name) {
        return static_cast<HICON>(LoadImageW(instance, name, IMAGE_ICON, 32, 32, LR_SHARED));
    };
    // A program built without the icon (the tests) shows the system's application icon.
    HICON icon = load(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_MAINICON));
    return icon ? icon : load(nullptr, IDI_APPLICATION);
}

} // namespace

void TLinkLabel::Create(HWND parent, int id, const std::wstring& text, const RECT& bounds) {
    CreateControl(WC_STATICW, parent, id, text, WS_VISIBLE | SS_LEFT | SS_NOTIFY, bounds);
}

bool TLinkLabel::OnReflected(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    if (msg != WM_CTLCOLORSTATIC) return kit::Label::OnReflected(msg, wp, lp, result);
    const HDC dc = reinterpret_cast<HDC>(wp);
    SetTextColor(dc, RGB(0, 0, 255));
    SetBkMode(dc, TRANSPARENT);
    result = reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    return true;
}

bool TLinkLabel::OnCommandCode(int code) { return code == STN_CLICKED && Fire(OnClick); }

void TPicture::Create(HWND parent, int id, HICON icon, const RECT& bounds) {
    CreateControl(WC_STATICW, parent, id, L"", WS_VISIBLE | SS_ICON, bounds);
    SendMessageW(hwnd(), STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
}

TfrmMWAbout::TfrmMWAbout() : kit::Dialog({.title = kCaption, .clientSize = {kClientWidth, kClientHeight}}) {}

void TfrmMWAbout::OnCreate() {
    const int right = kClientWidth - kMargin;
    const auto line = [&](int left, int top) { return RECT{left, top, right, top + kLineHeight}; };
    imLogo.Create(hwnd(), kLogo, ProgramIcon(), RECT{kMargin, kMargin, kMargin + 32, kMargin + 32});
    lbProductName.Create(hwnd(), kProductName, L"Kolvaran", RECT{kTextLeft, kMargin - 4, right, kMargin + 30});
    productFont_ = ProductFont(hwnd());
    if (productFont_) SendMessageW(lbProductName.hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(productFont_.get()), FALSE);

    lbVersion.Create(hwnd(), kVersion, L"Version", RECT{kTextLeft, 56, kValueLeft, 56 + kLineHeight});
    lbVersionValue.Create(hwnd(), kVersionValue, kVersionText, line(kValueLeft, 56));
    lbLegalCopyright.Create(hwnd(), kLegalCopyright, L"Copyright \x00A9 Harbelune. All rights reserved.",
                            line(kTextLeft, 76));
    lbLicenseInfo.Create(hwnd(), kLicenseInfo, L"Free to use, at home and at work.", line(kTextLeft, 96));
    lbWebSite.Create(hwnd(), kWebSite, L"Web Site:", RECT{kTextLeft, 116, kValueLeft, 116 + kLineHeight});
    lbWebSiteValue.Create(hwnd(), kWebSiteValue, results::ProductWebAddress, line(kValueLeft, 116));
    lbWebSiteValue.OnClick = [this] { lbWebSiteValueClick(); };

    lbOSVersionInfoValue.Create(hwnd(), kOSVersionInfoValue, L"Running on " + app::GetWindowsVersionText(),
                                line(kMargin, 150));
    // The extended call: the plain one stops at 4 GB.
    MEMORYSTATUSEX memory{};
    memory.dwLength = sizeof(memory);
    GlobalMemoryStatusEx(&memory);
    lbPhysicalMemoryValues.Create(hwnd(), kPhysicalMemoryValues,
                                  MemoryLine(L"Physical Memory: ", memory.ullTotalPhys, memory.ullAvailPhys),
                                  line(kMargin, 170));
    lbPagedMemoryValues.Create(hwnd(), kPagedMemoryValues,
                               MemoryLine(L"Paged Memory: ", memory.ullTotalPageFile, memory.ullAvailPageFile),
                               line(kMargin, 188));

    const int buttonTop = kClientHeight - kMargin - kButtonHeight + 4;
    bbtOK.Create(hwnd(), IDOK, L"&OK",
                 RECT{right - kButtonWidth, buttonTop, right, buttonTop + kButtonHeight}, {.defaultButton = true});
    SetInitialFocus(bbtOK);
}

bool TfrmMWAbout::OnMessage(UINT msg, WPARAM wp, LPARAM, LRESULT& result) {
    if (msg != WM_SETCURSOR || reinterpret_cast<HWND>(wp) != lbWebSiteValue.hwnd()) return false;
    SetCursor(LoadCursorW(nullptr, IDC_HAND));
    result = TRUE;
    return true;
}

void TfrmMWAbout::lbWebSiteValueClick() {
    kit::UserInteraction().ShellExecuteVerb(
        GetWindow(hwnd(), GW_OWNER), {.verb = L"open", .file = lbWebSiteValue.Text(), .showCommand = SW_SHOWNORMAL});
}

std::wstring MemoryLine(const std::wstring& caption, unsigned long long totalBytes, unsigned long long availableBytes) {
    return caption + Kilobytes(totalBytes) + L" Available: " + Kilobytes(availableBytes);
}

void ShowAbout(HWND owner) {
    TfrmMWAbout dialog;
    dialog.ShowModal(owner);
}

} // namespace ui
