#pragma once
// A replacement for the registry-write seam: records every write in order and does it for real, except those a
// test refuses, as a registry without write access would (Wine grants every write).
#include <set>
#include <string>
#include <vector>

#include "kit/Exception.h"
#include "kit/Registry.h"

namespace testsupport {

class FakeRegistryWriter : public kit::RegistryWriter {
public:
    FakeRegistryWriter() { kit::SetRegistryWrites(this); }
    ~FakeRegistryWriter() override { kit::SetRegistryWrites(nullptr); }

    // "CreateKey HKCR(64)\Drive\shell\Kolvaran", "WriteText HKCR(64)\...\command = value", "DeleteTree HKLM\...",
    // ...: the root, the registry view when one is named ("(64)", "(32)"), the path.
    std::vector<std::wstring> calls;
    // Key paths (without the root) whose creation answers false, whose value writes throw, and whose deletes
    // (of the key, its tree or a value) answer false.
    std::set<std::wstring> refusedCreates;
    std::set<std::wstring> refusedWrites;
    std::set<std::wstring> refusedDeletes;
    // Key paths whose deletes throw, as an error the registry code did not foresee.
    std::set<std::wstring> throwingDeletes;

    bool CreateKey(const kit::RegistryKeyPath& key) override {
        calls.push_back(L"CreateKey " + Name(key));
        return !refusedCreates.contains(key.path) && kit::RealRegistryWriter().CreateKey(key);
    }
    void WriteText(const kit::RegistryKeyPath& key, const std::wstring& name, const std::wstring& value) override {
        calls.push_back(L"WriteText " + Name(key) + L"\\" + name + L" = " + value);
        if (refusedWrites.contains(key.path)) throw kit::Exception(L"Access is denied.");
        kit::RealRegistryWriter().WriteText(key, name, value);
    }
    bool DeleteValue(const kit::RegistryKeyPath& key, const std::wstring& name) override {
        calls.push_back(L"DeleteValue " + Name(key) + L"\\" + name);
        return MayDelete(key) && kit::RealRegistryWriter().DeleteValue(key, name);
    }
    bool DeleteKey(const kit::RegistryKeyPath& key) override {
        calls.push_back(L"DeleteKey " + Name(key));
        return MayDelete(key) && kit::RealRegistryWriter().DeleteKey(key);
    }
    bool DeleteTree(const kit::RegistryKeyPath& key) override {
        calls.push_back(L"DeleteTree " + Name(key));
        return MayDelete(key) && kit::RealRegistryWriter().DeleteTree(key);
    }

    bool MayDelete(const kit::RegistryKeyPath& key) const {
        if (throwingDeletes.contains(key.path)) throw kit::Exception(L"Unexpected registry error.");
        return !refusedDeletes.contains(key.path);
    }

    static std::wstring Name(const kit::RegistryKeyPath& key) {
        const wchar_t* root = key.root == HKEY_CLASSES_ROOT    ? L"HKCR"
                              : key.root == HKEY_LOCAL_MACHINE ? L"HKLM"
                              : key.root == HKEY_CURRENT_USER  ? L"HKCU"
                                                               : L"?";
        const wchar_t* view = key.view == KEY_WOW64_64KEY ? L"(64)" : key.view == KEY_WOW64_32KEY ? L"(32)" : L"";
        return std::wstring(root) + view + L"\\" + key.path;
    }
};

} // namespace testsupport
