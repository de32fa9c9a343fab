#pragma once
// A scripted shell context-menu object: it fills the menu with the items it is given, answers each item's verb,
// and records what the menu asked of it and what it was told to run.
#include <windows.h>
#include <shlobj.h>

#include <string>
#include <utility>
#include <vector>

namespace resultstest {

class ScriptedShellMenu : public IContextMenu3 {
public:
    struct Item {
        const wchar_t* text;
        const wchar_t* verb;  // null: the item has none
    };
    struct Invocation {
        DWORD size;
        HWND owner;
        bool byOffset;
        UINT_PTR offset;
        std::string verb;
        int show;
    };

    std::vector<Item> items{{L"&Open", L"open"}, {L"Cu&t", L"Cut"}, {L"Send to &Archive", L"x-archive"},
                            {L"No Verb", nullptr}};
    bool offersVersion3 = true;
    HRESULT queryAnswer = S_OK;
    HRESULT invokeAnswer = S_OK;
    UINT defaultOffset = 2;
    std::vector<UINT> queryFlags;
    UINT firstGiven = 0, lastGiven = 0;  // the ids the shell may number its items with
    std::vector<Invocation> invoked;
    std::vector<std::pair<int, UINT>> forwarded;  // (interface version, message)

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        *object = nullptr;
        if (iid == IID_IUnknown || iid == IID_IContextMenu || iid == IID_IContextMenu2 ||
            (iid == IID_IContextMenu3 && offersVersion3))
            *object = static_cast<IContextMenu3*>(this);
        return *object ? S_OK : E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }  // lives on the test's stack
    ULONG STDMETHODCALLTYPE Release() override { return 1; }

    HRESULT STDMETHODCALLTYPE QueryContextMenu(HMENU menu, UINT index, UINT first, UINT last, UINT flags) override {
        queryFlags.push_back(flags);
        firstGiven = first;
        lastGiven = last;
        if (FAILED(queryAnswer)) return queryAnswer;
        for (UINT i = 0; i < items.size(); ++i) InsertMenuW(menu, index + i, MF_BYPOSITION | MF_STRING, first + i, items[i].text);
        if (flags & CMF_DEFAULTONLY) SetMenuDefaultItem(menu, first + defaultOffset, FALSE);
        return MAKE_HRESULT(SEVERITY_SUCCESS, 0, items.size());
    }
    HRESULT STDMETHODCALLTYPE InvokeCommand(CMINVOKECOMMANDINFO* info) override {
        const bool byOffset = IS_INTRESOURCE(info->lpVerb);
        invoked.push_back({info->cbSize, info->hwnd, byOffset, byOffset ? reinterpret_cast<UINT_PTR>(info->lpVerb) : 0,
                           byOffset ? "" : info->lpVerb, info->nShow});
        return invokeAnswer;
    }
    HRESULT STDMETHODCALLTYPE GetCommandString(UINT_PTR offset, UINT type, UINT*, LPSTR name, UINT size) override {
        if (type != GCS_VERBW || offset >= items.size() || !items[offset].verb) return E_NOTIMPL;
        lstrcpynW(reinterpret_cast<wchar_t*>(name), items[offset].verb, static_cast<int>(size));
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE HandleMenuMsg(UINT msg, WPARAM, LPARAM) override {
        forwarded.emplace_back(2, msg);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE HandleMenuMsg2(UINT msg, WPARAM, LPARAM, LRESULT*) override {
        forwarded.emplace_back(3, msg);
        return S_OK;
    }
};

} // namespace resultstest
