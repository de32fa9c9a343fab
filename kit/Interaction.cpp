#include "kit/Interaction.h"

#include "kit/MessageDialog.h"

namespace kit {
namespace {

class SystemInteraction : public Interaction {
public:
    MessageAnswer ShowMessage(HWND owner, const std::wstring& text, MessageType type,
                              MessageButtons buttons) override {
        return ShowMessageDialog(owner, text, type, buttons);
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

} // namespace

Interaction& UserInteraction() { return *g_current; }
void SetUserInteraction(Interaction* replacement) { g_current = replacement ? replacement : &g_system; }
Interaction& RealInteraction() { return g_system; }

} // namespace kit
