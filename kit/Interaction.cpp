#include "kit/Interaction.h"

#include <shellapi.h>

#include "kit/Files.h"
#include "kit/MessageDialog.h"
#include "kit/ModalWait.h"
#include "kit/ShellDialogs.h"
#include "kit/TextPrompt.h"

namespace kit {
namespace {

class SystemInteraction : public Interaction {
public:
    MessageAnswer ShowMessage(HWND owner, const std::wstring& text, MessageType type,
                              MessageButtons buttons) override {
        return ShowMessageDialog(owner, text, type, buttons);
    }
    MessageAnswer AskYesNo(HWND owner, const std::wstring& text, const std::wstring& caption, MessageType type,
                           MessageAnswer defaultAnswer) override {
        return ShowMessageDialog(owner, text, type, MessageButtons::YesNo, caption, defaultAnswer);
    }
    bool InputQuery(HWND owner, const std::wstring& caption, const std::wstring& prompt,
                    std::wstring& value) override {
        return ShowTextPrompt(owner, caption, prompt, value);
    }
    std::optional<std::wstring> BrowseForFolder(HWND owner, const FolderBrowseRequest& request) override {
        return ShowFolderBrowser(owner, request);
    }
    std::optional<SaveFileAnswer> SaveFile(HWND owner, const SaveFileRequest& request) override {
        return ShowSaveDialog(owner, request);
    }
    INT_PTR ShellExecuteVerb(HWND owner, const ShellRequest& request) override {
        const auto text = [](const std::wstring& s) { return s.empty() ? nullptr : s.c_str(); };
        return reinterpret_cast<INT_PTR>(ShellExecuteW(owner, text(request.verb), request.file.c_str(),
                                                       text(request.parameters), text(request.directory),
                                                       request.showCommand));
    }
    void ShowFileProperties(HWND owner, const std::vector<std::wstring>& paths) override {
        kit::ShowFileProperties(owner, paths);
    }
    UINT TrackMenu(HWND owner, HMENU menu, POINT screenPoint) override {
        return static_cast<UINT>(TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON, screenPoint.x,
                                                screenPoint.y, 0, owner, nullptr));
    }
    double Now() override {
        SYSTEMTIME st;
        GetLocalTime(&st);
        double days = 0;
        SystemTimeToVariantTime(&st, &days);
        // VariantTime drops milliseconds; keep them, the statistics time short searches.
        return days + (days >= 0 ? 1 : -1) * st.wMilliseconds / 86400000.0;
    }
    DWORD TickCount() override { return GetTickCount(); }
    void Sleep(DWORD milliseconds) override { ::Sleep(milliseconds); }
};

SystemInteraction g_system;
Interaction* g_current = &g_system;

// The one place the seam's callers pass through: each question, prompt, dialog, menu and shell verb (whose error
// box is a loop too) is a modal wait, whether the system or a test answers it.
class WaitingInteraction : public Interaction {
public:
    MessageAnswer ShowMessage(HWND owner, const std::wstring& text, MessageType type,
                              MessageButtons buttons) override {
        const ModalWait wait(owner);
        return g_current->ShowMessage(owner, text, type, buttons);
    }
    MessageAnswer AskYesNo(HWND owner, const std::wstring& text, const std::wstring& caption, MessageType type,
                           MessageAnswer defaultAnswer) override {
        const ModalWait wait(owner);
        return g_current->AskYesNo(owner, text, caption, type, defaultAnswer);
    }
    bool InputQuery(HWND owner, const std::wstring& caption, const std::wstring& prompt,
                    std::wstring& value) override {
        const ModalWait wait(owner);
        return g_current->InputQuery(owner, caption, prompt, value);
    }
    std::optional<std::wstring> BrowseForFolder(HWND owner, const FolderBrowseRequest& request) override {
        const ModalWait wait(owner);
        return g_current->BrowseForFolder(owner, request);
    }
    std::optional<SaveFileAnswer> SaveFile(HWND owner, const SaveFileRequest& request) override {
        const ModalWait wait(owner);
        return g_current->SaveFile(owner, request);
    }
    INT_PTR ShellExecuteVerb(HWND owner, const ShellRequest& request) override {
        const ModalWait wait(owner);
        return g_current->ShellExecuteVerb(owner, request);
    }
    UINT TrackMenu(HWND owner, HMENU menu, POINT screenPoint) override {
        const ModalWait wait(owner);
        return g_current->TrackMenu(owner, menu, screenPoint);
    }
    void ShowFileProperties(HWND owner, const std::vector<std::wstring>& paths) override {
        const ModalWait wait(owner);
        g_current->ShowFileProperties(owner, paths);
    }
    double Now() override { return g_current->Now(); }
    DWORD TickCount() override { return g_current->TickCount(); }
    void Sleep(DWORD milliseconds) override { g_current->Sleep(milliseconds); }
};

WaitingInteraction g_waiting;

} // namespace

Interaction& UserInteraction() { return g_waiting; }

bool AddExtensionAskingOverwrite(HWND owner, std::wstring& fileName, const std::wstring& extension,
                                 const std::wstring& caption) {
    fileName += extension;
    return !FileExists(fileName) ||
           UserInteraction().AskYesNo(owner, fileName + L" already exists.\r\nOverwrite?", caption,
                                      MessageType::Warning, MessageAnswer::No) == MessageAnswer::Yes;
}
void SetUserInteraction(Interaction* replacement) { g_current = replacement ? replacement : &g_system; }
Interaction& RealInteraction() { return g_system; }

} // namespace kit
