#pragma once
// The one seam for everything that would wait for a person or for time: message dialogs, the clock and waits.
// The program uses the real implementation; tests install their own and check what was asked.
#include <windows.h>
#include <string>

namespace kit {

enum class MessageType { Information, Warning, Error, Confirmation };
enum class MessageButtons { Ok, Abort, AbortIgnore, AbortRetry, AbortRetryIgnore, YesNo };
enum class MessageAnswer { Ok, Abort, Retry, Ignore, Yes, No };

class Interaction {
public:
    virtual ~Interaction() = default;
    virtual MessageAnswer ShowMessage(HWND owner, const std::wstring& text, MessageType type,
                                      MessageButtons buttons) = 0;
    // Local date-time as a day count from 30 December 1899, the time of day as the fraction.
    virtual double Now() = 0;
    virtual DWORD TickCount() = 0;
    virtual void Sleep(DWORD milliseconds) = 0;
};

// The interaction in force; the real one unless a test replaced it.
Interaction& UserInteraction();
// Installs a replacement (nullptr restores the real one). The caller keeps ownership.
void SetUserInteraction(Interaction* replacement);

// The real implementation, for tests that want to drive the real dialogs.
Interaction& RealInteraction();

} // namespace kit
