#pragma once
// A replacement for the interaction seam: records every message asked and gives scripted answers.
#include "kit/Interaction.h"

#include <deque>
#include <string>
#include <vector>

namespace testsupport {

struct AskedMessage {
    std::wstring text;
    kit::MessageType type;
    kit::MessageButtons buttons;
};

class FakeInteraction : public kit::Interaction {
public:
    FakeInteraction() { kit::SetUserInteraction(this); }
    ~FakeInteraction() override { kit::SetUserInteraction(nullptr); }

    std::vector<AskedMessage> asked;
    std::deque<kit::MessageAnswer> answers;  // given in order; Ok when none is left
    double now = 45000.5;                    // 15 March 2023, noon
    DWORD ticks = 1000;
    std::vector<DWORD> sleeps;

    kit::MessageAnswer ShowMessage(HWND, const std::wstring& text, kit::MessageType type,
                                   kit::MessageButtons buttons) override {
        asked.push_back({text, type, buttons});
        if (answers.empty()) return kit::MessageAnswer::Ok;
        const kit::MessageAnswer answer = answers.front();
        answers.pop_front();
        return answer;
    }
    double Now() override { return now; }
    DWORD TickCount() override { return ticks; }
    void Sleep(DWORD milliseconds) override {
        sleeps.push_back(milliseconds);
        ticks += milliseconds;
    }
};

} // namespace testsupport
