#pragma once
// The "About" box: the product, its version and web site, the system it runs on and the machine's memory.
#include <windows.h>

#include <functional>
#include <string>

#include "kit/Controls.h"
#include "kit/Dialog.h"
#include "kit/Handles.h"

namespace ui {

// A label that reads as a link: blue, a hand over it, and OnClick when it is clicked.
class TLinkLabel : public kit::Label {
public:
    void Create(HWND parent, int id, const std::wstring& text, const RECT& bounds);
    std::function<void()> OnClick;

protected:
    bool OnReflected(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;
    bool OnCommandCode(int code) override;
};

// An icon in a static control; the icon is shared (loaded with LR_SHARED) and not destroyed.
class TPicture : public kit::Control {
public:
    void Create(HWND parent, int id, HICON icon, const RECT& bounds);
};

class TfrmMWAbout : public kit::Dialog {
public:
    static constexpr const wchar_t* kCaption = L"About";
    static constexpr const wchar_t* kVersionText = L"" KVR_VERSION;  // the project's version, from the build
    enum : int {
        kProductName = 100, kLogo, kVersion, kVersionValue, kLegalCopyright, kLicenseInfo, kWebSite, kWebSiteValue,
        kOSVersionInfoValue, kPhysicalMemoryValues, kPagedMemoryValues,
    };

    TfrmMWAbout();

protected:
    void OnCreate() override;
    bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

private:
    void lbWebSiteValueClick();

    kit::UniqueFont productFont_;  // before the labels: it outlives the one that shows it
    kit::Label lbProductName;
    TPicture imLogo;
    kit::Label lbVersion;
    kit::Label lbVersionValue;
    kit::Label lbLegalCopyright;
    kit::Label lbLicenseInfo;
    kit::Label lbWebSite;
    TLinkLabel lbWebSiteValue;
    kit::Label lbOSVersionInfoValue;
    kit::Label lbPhysicalMemoryValues;
    kit::Label lbPagedMemoryValues;
    kit::Button bbtOK;
};

// "Physical Memory: 2,097,152 KB Available: 1,048,576 KB": the byte counts in kilobytes, digits grouped by the
// locale's thousands separator.
std::wstring MemoryLine(const std::wstring& caption, unsigned long long totalBytes, unsigned long long availableBytes);

// Shows the box modal over `owner`.
void ShowAbout(HWND owner);

} // namespace ui
