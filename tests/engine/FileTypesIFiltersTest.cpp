#include <gtest/gtest.h>

#include "engine/FileTypesIFilters.h"

#include <windows.h>

#include <string>
#include <vector>

#include "kit/Handles.h"
#include "kit/MessageLoop.h"
#include "store/SettingsFile.h"
#include "tests/support/FakeInteraction.h"
#include "tests/support/TempFolder.h"

using namespace engine;

namespace {

const std::wstring IFilterIid = L"{89BCB740-6119-101A-BCB7-00DD010655AF}";
const std::wstring Handler1 = L"{6D1A0F3E-7C2B-4E59-9A11-4B5652000001}";
const std::wstring Filter1 = L"{6D1A0F3E-7C2B-4E59-9A11-4B5652000002}";
const std::wstring Class2 = L"{6D1A0F3E-7C2B-4E59-9A11-4B5652000003}";
const std::wstring Handler2 = L"{6D1A0F3E-7C2B-4E59-9A11-4B5652000004}";
const std::wstring Filter2 = L"{6D1A0F3E-7C2B-4E59-9A11-4B5652000005}";
const std::wstring Handler3 = L"{6D1A0F3E-7C2B-4E59-9A11-4B5652000006}";
const std::wstring Filter3 = L"{6D1A0F3E-7C2B-4E59-9A11-4B5652000007}";

// Keys below HKLM\Software\Classes the fixture makes, and removes again.
const std::vector<std::wstring> FixtureKeys = {
    L".onetoc2", L".Sldm", L".accdt", L".accdu", L".utxt", L".frm", L".pspmask", L".kvrtest1",
    L"KvrTest.Notebook", L"KvrTest.Slides",
    L"CLSID\\" + Handler1, L"CLSID\\" + Filter1, L"CLSID\\" + Class2, L"CLSID\\" + Handler2,
    L"CLSID\\" + Filter2, L"CLSID\\" + Handler3, L"CLSID\\" + Filter3,
};

std::wstring ClassesPath(const std::wstring& key) { return L"Software\\Classes\\" + key; }

bool KeyExists(const std::wstring& key) {
    kit::UniqueRegKey opened;
    return RegOpenKeyExW(HKEY_LOCAL_MACHINE, ClassesPath(key).c_str(), 0, KEY_READ, opened.put()) == ERROR_SUCCESS;
}

void SetValue(const std::wstring& key, const wchar_t* name, const void* data, DWORD bytes, DWORD type) {
    kit::UniqueRegKey created;
    ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, ClassesPath(key).c_str(), 0, nullptr, 0, KEY_WRITE, nullptr,
                              created.put(), nullptr),
              ERROR_SUCCESS);
    ASSERT_EQ(RegSetValueExW(created.get(), name, 0, type, static_cast<const BYTE*>(data), bytes), ERROR_SUCCESS);
}

void SetText(const std::wstring& key, const std::wstring& value, const wchar_t* name = nullptr, DWORD type = REG_SZ) {
    SetValue(key, name, value.c_str(), static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)), type);
}

// A persistent handler whose IFilter add-in is `filter`.
void RegisterHandler(const std::wstring& handler, const std::wstring& filter) {
    SetText(L"CLSID\\" + handler + L"\\PersistentAddinsRegistered\\" + IFilterIid, filter);
}

class FileTypesIFiltersTest : public testing::Test {
protected:
    static void SetUpTestSuite() {
        // Keys of the prefix's own are neither changed nor, afterwards, deleted.
        for (const auto& key : FixtureKeys)
            if (KeyExists(key)) return;
        made_ = true;
        // .onetoc2: its own persistent handler, a described filter with an expandable server path.
        SetText(L".onetoc2", L"KvrTest.Notebook");
        SetText(L".onetoc2", L"application/x-kvrtest-notebook", L"Content Type");
        SetText(L".onetoc2", L"document", L"PerceivedType");
        SetText(L".onetoc2\\PersistentHandler", Handler1);
        SetText(L"KvrTest.Notebook", L"Kolvaran Test Notebook");
        RegisterHandler(Handler1, Filter1);
        SetText(L"CLSID\\" + Filter1, L"Kolvaran Test Filter");
        SetText(L"CLSID\\" + Filter1 + L"\\InprocServer32", L"%SystemRoot%\\kvrtest\\filter1.dll", nullptr,
                REG_EXPAND_SZ);
        // .Sldm: the handler of its class; the filter class has no description.
        SetText(L".Sldm", L"KvrTest.Slides");
        SetText(L"KvrTest.Slides\\CLSID", Class2);
        SetText(L"CLSID\\" + Class2 + L"\\PersistentHandler", Handler2);
        RegisterHandler(Handler2, Filter2);
        SetText(L"CLSID\\" + Filter2 + L"\\InprocServer32", L"C:\\kvrtest\\filter2.dll");
        // .accdu: a filter without a server, so the chain is incomplete.
        SetText(L".accdu\\PersistentHandler", Handler3);
        RegisterHandler(Handler3, Filter3);
        SetText(L"CLSID\\" + Filter3, L"Filter without a server");
        // .accdt: a handler that is a number, not a class id. It sorts before the good ones: the scan goes on.
        const DWORD number = 1;
        SetValue(L".accdt\\PersistentHandler", nullptr, &number, sizeof(number), REG_DWORD);
        // Complete chains, but of types that are not catalogued: text, developer (before document), image, none.
        for (const wchar_t* ext : {L".utxt", L".frm", L".pspmask", L".kvrtest1"})
            SetText(std::wstring(ext) + L"\\PersistentHandler", Handler1);
    }
    static void TearDownTestSuite() {
        if (!made_) return;
        for (const auto& key : FixtureKeys) RegDeleteTreeW(HKEY_LOCAL_MACHINE, ClassesPath(key).c_str());
        made_ = false;
    }
    void SetUp() override { ASSERT_TRUE(made_) << "the prefix already has a key of the fixture"; }

    void WaitForScan(const TFileTypesIFilters& filters) {
        for (int i = 0; i < 2000 && !filters.Scanned() && reports.asked.empty(); ++i) {
            kit::ProcessMessagesNow();
            Sleep(5);
        }
        for (const auto& report : reports.asked) ADD_FAILURE() << "the scan reported: " << report.text;
        ASSERT_TRUE(filters.Scanned());
    }

    // The fixture's catalogued extensions whose Selected flag is set (SelectedDefault must agree).
    static std::vector<std::wstring> SelectedOfFixture(const TFileTypesIFilters& filters) {
        std::vector<std::wstring> selected;
        for (const wchar_t* ext : {L".ONETOC2", L".SLDM"}) {
            const int index = filters.DocumentFiles.IndexOf(ext);
            EXPECT_GE(index, 0) << ext;
            if (index < 0) continue;
            const TIFilterInfo& info = *filters.DocumentFiles.Infos()[index];
            EXPECT_EQ(info.Selected, info.SelectedDefault) << ext;
            if (info.Selected) selected.push_back(ext);
        }
        return selected;
    }

    static inline bool made_ = false;
    const TFileTypesGroups groups;
    testsupport::TempFolder folder;
    testsupport::FakeInteraction reports;  // an error the scan shows lands here instead of in a dialog
};

} // namespace

TEST_F(FileTypesIFiltersTest, ScanCataloguesDocumentTypesWithACompleteFilterChain) {
    TFileTypesIFilters filters(groups);
    EXPECT_FALSE(filters.Scanned());
    EXPECT_TRUE(filters.AllFiles.Infos().empty());
    WaitForScan(filters);

    const auto& documents = filters.DocumentFiles;
    for (const wchar_t* ext : {L".UTXT", L".FRM", L".PSPMASK", L".KVRTEST1", L".ACCDU", L".ACCDT"})
        EXPECT_EQ(filters.AllFiles.IndexOf(ext), -1) << ext;

    const int notebook = documents.IndexOf(L".onetoc2");
    ASSERT_GE(notebook, 0);
    const TIFilterInfo& first = *documents.Infos()[notebook];
    wchar_t systemRoot[MAX_PATH] = {};
    GetEnvironmentVariableW(L"SystemRoot", systemRoot, MAX_PATH);
    EXPECT_EQ(first.Extension, L".ONETOC2");
    EXPECT_EQ(first.Category, &filters.DocumentFiles);
    EXPECT_EQ(first.FilterDll, std::wstring(systemRoot) + L"\\kvrtest\\filter1.dll");
    EXPECT_EQ(first.FilterDescription, L"Kolvaran Test Filter");
    EXPECT_EQ(first.ProgID, L"KvrTest.Notebook");
    EXPECT_EQ(first.ContentType, L"application/x-kvrtest-notebook");
    EXPECT_EQ(first.PerceivedType, L"document");
    EXPECT_EQ(first.TypeName, L"Kolvaran Test Notebook");
    EXPECT_TRUE(first.Selected && first.SelectedDefault);

    const int slides = documents.IndexOf(L".SLDM");
    ASSERT_GE(slides, 0);
    const TIFilterInfo& second = *documents.Infos()[slides];
    EXPECT_EQ(second.Extension, L".SLDM");
    EXPECT_EQ(second.FilterDll, L"C:\\kvrtest\\filter2.dll");
    EXPECT_EQ(second.FilterDescription, L"(Not Defined)");
    EXPECT_EQ(second.ProgID, L"KvrTest.Slides");
    EXPECT_EQ(second.ContentType, L"");

    // Everything catalogued is a document type, listed in the same order in AllFiles.
    EXPECT_EQ(filters.AllFiles.Infos(), documents.Infos());
    for (const TIFilterInfo* info : documents.Infos()) EXPECT_EQ(info->Category, &filters.DocumentFiles);
    for (const TFileTypeIFilter* other :
         {&filters.TextFiles, &filters.DeveloperFiles, &filters.InternetFiles, &filters.EmailsFiles,
          &filters.ImageFiles, &filters.AudioFiles, &filters.VideoFiles, &filters.CompressedFiles,
          &filters.SystemFiles, &filters.UndefinedFiles})
        EXPECT_TRUE(other->Infos().empty()) << other->Name();
}

TEST_F(FileTypesIFiltersTest, StoredSelectionIsAppliedAfterTheScan) {
    using Exts = std::vector<std::wstring>;
    struct SelectionCase { const char* section; Exts selected; };
    const SelectionCase cases[] = {
        {"", {L".ONETOC2", L".SLDM"}},
        {"Selected=Default\r\n", {L".ONETOC2", L".SLDM"}},
        {"Selected=.ONETOC2\r\n", {L".ONETOC2"}},
        {"Selected=.sldm|.NOTHERE\r\n", {L".SLDM"}},
        {"Selected=.ONETOC2|.SLDM\r\n", {L".ONETOC2", L".SLDM"}},
        {"Selected=\r\n", {}},
    };
    const std::wstring path = folder / L"KolvaranParams.ini";
    for (const auto& c : cases) {
        SCOPED_TRACE(c.section);
        testsupport::WriteBytes(path, std::string("[/Params/Text/IFilters/DocumentFiles]\r\n") + c.section);
        TFileTypesIFilters filters(groups);
        store::LoadSettingsFile(path, [&](const store::TMemIniFileUnicode& ini) {
            filters.LoadSelection(ini, L"/Params/Text/IFilters");
        });
        WaitForScan(filters);
        EXPECT_EQ(SelectedOfFixture(filters), c.selected);
    }
}

TEST_F(FileTypesIFiltersTest, LoadAfterTheScanTakesEffectAtOnce) {
    TFileTypesIFilters filters(groups);
    WaitForScan(filters);
    store::TMemIniFileUnicode ini(folder / L"KolvaranParams.ini");
    ini.WriteString(L"P/DocumentFiles", L"Selected", L".SLDM");
    ini.WriteString(L"P/DocumentFiles", L"SelectedAll", L"True");
    filters.LoadSelection(ini, L"P");
    EXPECT_EQ(SelectedOfFixture(filters), std::vector<std::wstring>{L".SLDM"});
    EXPECT_TRUE(filters.DocumentFiles.SelectedAll);
    EXPECT_TRUE(filters.DocumentFiles.SelectedAllLoaded);
}

TEST_F(FileTypesIFiltersTest, SaveWritesTheSelectedExtensionsOverTheOldSection) {
    const std::wstring path = folder / L"KolvaranParams.ini";
    testsupport::WriteBytes(path, "[/Params/Text/IFilters/DocumentFiles]\r\nSelectedAll=yes\r\nSelected=.sldm\r\n"
                                  "Stale=1\r\n[/Params/Text]\r\nWholeWords=True\r\n");
    TFileTypesIFilters filters(groups);
    store::LoadSettingsFile(path, [&](const store::TMemIniFileUnicode& ini) {
        filters.LoadSelection(ini, L"/Params/Text/IFilters");
    });
    EXPECT_FALSE(filters.DocumentFiles.SelectedAll);  // "yes" is not a Boolean text
    WaitForScan(filters);
    filters.DocumentFiles.SelectedAll = true;
    store::SaveSettingsFile(path, [&](store::TMemIniFileUnicode& ini) {
        filters.SaveSelection(ini, L"/Params/Text/IFilters");
    });
    const store::TMemIniFileUnicode saved(path);
    EXPECT_EQ(saved.ReadSectionValues(L"/Params/Text/IFilters/DocumentFiles"),
              (std::vector<std::wstring>{L"SelectedAll=True", L"Selected=.SLDM"}));
    EXPECT_EQ(saved.ReadString(L"/Params/Text", L"WholeWords", L""), L"True");

    // Every type selected: they are all listed, "Default" is not written back.
    store::TMemIniFileUnicode ini(path);
    ini.WriteString(L"/Params/Text/IFilters/DocumentFiles", L"Selected", L"Default");
    filters.LoadSelection(ini, L"/Params/Text/IFilters");
    filters.SaveSelection(ini, L"/Params/Text/IFilters");
    const std::wstring all = ini.ReadString(L"/Params/Text/IFilters/DocumentFiles", L"Selected", L"");
    EXPECT_EQ(all.find(L"Default"), std::wstring::npos);
    EXPECT_NE(all.find(L".ONETOC2"), std::wstring::npos);
    EXPECT_NE(all.find(L".SLDM"), std::wstring::npos);
}

TEST_F(FileTypesIFiltersTest, SaveBeforeTheScanKeepsTheLoadedSelection) {
    struct EarlyCase { const wchar_t* stored; const wchar_t* written; };
    const EarlyCase cases[] = {{L".SLDM|.ONETOC2", L".SLDM|.ONETOC2"}, {nullptr, L"Default"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << (c.stored ? c.stored : L"(none)"));
        store::TMemIniFileUnicode ini(folder / L"KolvaranParams.ini");
        if (c.stored) ini.WriteString(L"P/DocumentFiles", L"Selected", c.stored);
        TFileTypesIFilters filters(groups);
        filters.LoadSelection(ini, L"P");
        filters.SaveSelection(ini, L"P");
        EXPECT_FALSE(filters.Scanned());
        EXPECT_EQ(ini.ReadString(L"P/DocumentFiles", L"Selected", L"?"), c.written);
    }
}

TEST_F(FileTypesIFiltersTest, DestroyedBeforeTheTimerFires) {
    { TFileTypesIFilters filters(groups); }
    // The timer went with the object: pumping past its time must not reach the freed object.
    for (int i = 0; i < 30; ++i) {
        kit::ProcessMessagesNow();
        Sleep(10);
    }
}
