#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <new>
#include <stdexcept>
#include <vector>

#include "kit/Guard.h"
#include "tests/support/FakeInteraction.h"

namespace {

std::vector<std::wstring> g_traces;

// Reads the traces for the life of a test.
class TraceRecorder {
public:
    TraceRecorder() {
        g_traces.clear();
        kit::SetTraceListener([](const std::wstring& line) { g_traces.push_back(line); });
    }
    ~TraceRecorder() { kit::SetTraceListener(nullptr); }
};

// A report that itself runs a failing callback, as a WM_PAINT handler that throws does inside the report's loop.
class ReentrantInteraction : public testsupport::FakeInteraction {
public:
    kit::MessageAnswer ShowMessage(HWND owner, const std::wstring& text, kit::MessageType type,
                                   kit::MessageButtons buttons) override {
        kit::Guarded(nullptr, L"paint inside the report", [] { throw std::runtime_error("again"); });
        return FakeInteraction::ShowMessage(owner, text, type, buttons);
    }
};

} // namespace

TEST(Guard, AFailureIsReportedOnceAndTracedAndNothingEscapes) {
    TraceRecorder traces;
    ReentrantInteraction fake;
    EXPECT_FALSE(kit::Guarded(nullptr, L"timer", [] { throw std::runtime_error("the walk failed"); }));
    ASSERT_EQ(fake.asked.size(), 1u);
    EXPECT_EQ(fake.asked[0].text, L"the walk failed");
    EXPECT_EQ(fake.asked[0].type, kit::MessageType::Error);
    // The failure inside the open report is traced instead of stacking a second report.
    EXPECT_EQ(g_traces, (std::vector<std::wstring>{L"Kolvaran: timer: the walk failed\n",
                                                   L"Kolvaran: paint inside the report: again\n",
                                                   L"Kolvaran: ReportError (another report is open): again\n"}));
    EXPECT_TRUE(kit::Guarded(nullptr, L"timer", [] {}));
    EXPECT_EQ(fake.asked.size(), 1u);
}

TEST(Guard, QuietEdgesTraceWithoutAsking) {
    TraceRecorder traces;
    testsupport::FakeInteraction fake;
    EXPECT_FALSE(kit::GuardedQuiet(L"thread", [] { throw std::runtime_error("lost"); }));
    EXPECT_FALSE(kit::GuardedMessage(nullptr, WM_PAINT, 0, L"window procedure", [] { throw std::runtime_error("paint"); }));
    // A list asks for its cells while it paints: a report would repaint it and ask again.
    NMHDR fetch{nullptr, 0, static_cast<UINT>(LVN_GETDISPINFOW)};
    EXPECT_FALSE(kit::GuardedMessage(nullptr, WM_NOTIFY, reinterpret_cast<LPARAM>(&fetch), L"window procedure",
                                     [] { throw std::runtime_error("cell"); }));
    EXPECT_EQ(kit::GuardedCom(L"COM", []() -> HRESULT { throw std::bad_alloc(); }), E_OUTOFMEMORY);
    EXPECT_EQ(kit::GuardedCom(L"COM", []() -> HRESULT { throw std::runtime_error("broken"); }), E_UNEXPECTED);
    EXPECT_EQ(kit::GuardedCom(L"COM", []() -> HRESULT { return S_FALSE; }), S_FALSE);
    EXPECT_TRUE(fake.asked.empty());
    EXPECT_EQ(g_traces, (std::vector<std::wstring>{L"Kolvaran: thread: lost\n", L"Kolvaran: window procedure: paint\n",
                                                   L"Kolvaran: window procedure: cell\n", L"Kolvaran: COM: Out of memory.\n", L"Kolvaran: COM: broken\n"}));
    // Any other message of a window procedure is reported.
    EXPECT_FALSE(kit::GuardedMessage(nullptr, WM_TIMER, 0, L"window procedure", [] { throw std::runtime_error("tick"); }));
    EXPECT_EQ(fake.asked.size(), 1u);
}
