#pragma once
// The program-wide objects and the real main window, made for one test as the program makes them, with an
// empty settings folder; and the ways a person reaches its controls.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/ProgramObjects.h"
#include "kit/Controls.h"
#include "tests/support/FakeInteraction.h"
#include "tests/support/TempFolder.h"
#include "tests/ui/PagesHost.h"
#include "ui/FMWMainFree.h"

namespace uitest {

// The program-wide objects as the program makes them, over a settings folder emptied before and after.
class ProgramObjects {
public:
    ProgramObjects();

    static std::wstring SettingsFile(const wchar_t* name);

private:
    // Before the objects are made and after they are freed: members are destroyed in reverse order.
    struct EmptySettings {
        EmptySettings();
        ~EmptySettings();
        EmptySettings(const EmptySettings&) = delete;
        EmptySettings& operator=(const EmptySettings&) = delete;
    };
    EmptySettings emptySettings_;
    app::ProgramObjects objects_;
};

struct Row {
    std::wstring name;
    std::wstring folder;
    std::wstring number;
    friend bool operator==(const Row&, const Row&) = default;
    friend std::ostream& operator<<(std::ostream& out, const Row& row);
};

class MainWindowTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // A new window over the current settings (a restart); the old one is closed first when open.
    void Open(const std::vector<std::wstring>& parameters = {});
    // A first start: the window closed when open, the settings folder emptied, and a new window.
    void OpenFresh(const std::vector<std::wstring>& parameters = {});
    HWND Main() const;
    HWND Page(int pageId) const;
    HWND Control(int pageId, int id) const;
    HWND MaskBox() const;
    HWND PathEdit() const;
    HWND TextBox() const;
    HWND List() const;
    void SelectFirstRow() { kit::SelectListItem(List(), 0); }

    void Type(HWND box, const std::wstring& text);
    void TypeMask(const std::wstring& text) { Type(MaskBox(), text); }
    void TypePath(const std::wstring& text) { Type(PathEdit(), text); }
    void TypeText(const std::wstring& text) { Type(TextBox(), text); }
    void Click(HWND button);
    void ClickSearch();
    // The slow search tree (MakeSlowSearchTree) under `folder` and the criteria that read the text of every file:
    // a search that lasts long enough to be watched and acted on while it runs.
    void TypeWatchableSearch(const std::wstring& folder);
    // Selects a criteria page by its tab's index, as a click on the tab does.
    void SelectPage(int index);
    bool Checked(int pageId, int id) const;
    void SetChecked(int pageId, int id, bool checked);
    std::wstring Caption() const;
    std::wstring StatusText(int panel) const;
    std::vector<Row> Rows() const;
    // Runs the message loop until the window is gone; its exit code.
    int RunUntilClosed();
    // While the next loop runs (a search pumps its own), `step` is called every few milliseconds until it
    // returns true: what a person does while watching the window.
    void WhileRunning(std::function<bool()> step);
    bool StopEnabled() const;
    // Clicks Search; once the run lists rows, pauses it, runs `act` while it is held, and stops it. False when the
    // run ended before it listed a row.
    bool ActWhileSearchPaused(const std::function<void()>& act);

    testsupport::FakeInteraction interaction;
    std::unique_ptr<ProgramObjects> program;
    std::unique_ptr<ui::TfrmMerrowinMain> window;

private:
    void Close();
    static void CALLBACK OnStepTimer(HWND, UINT, UINT_PTR, DWORD);
    static std::function<bool()> step_;
    static UINT_PTR stepTimer_;
};

// Files named `names` in `folder` (which is made when missing), each with `content`.
void MakeFiles(const std::wstring& folder, const std::vector<std::wstring>& names, const std::string& content = "x");
// Enough files holding kSlowTreeText below `folder` that a search for that text lists rows well before it ends, so
// a person can act while it runs (ActWhileSearchPaused).
inline constexpr const char* kSlowTreeText = "some text here";
void MakeSlowSearchTree(const std::wstring& folder);

} // namespace uitest
