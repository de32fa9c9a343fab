#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "dragdrop/DragDropFile.h"
#include "kit/Exception.h"

using namespace dragdrop;
using Names = std::vector<std::wstring>;

namespace {

std::wstring ThrownMessage(const std::function<void()>& action) {
    try {
        action();
    } catch (const kit::Exception& e) {
        return e.Message();
    }
    return L"(nothing thrown)";
}

} // namespace

TEST(UnicodeStrings, EditsKeepTheOrder) {
    TUnicodeStringList list{L"a", L"b", L"c"};
    list.Insert(1, L"new");
    EXPECT_EQ(list.ToVector(), (Names{L"a", L"new", L"b", L"c"}));
    list.Delete(0);
    list.Put(2, L"C");
    EXPECT_EQ(list.ToVector(), (Names{L"new", L"b", L"C"}));
    list.Exchange(0, 2);
    EXPECT_EQ(list.ToVector(), (Names{L"C", L"b", L"new"}));
    list.Move(0, 2);
    EXPECT_EQ(list.ToVector(), (Names{L"b", L"new", L"C"}));
    EXPECT_EQ(list.Add(L"b"), 3);
    EXPECT_EQ(list.IndexOf(L"b"), 3) << "the later of two equal items";
    EXPECT_EQ(list.IndexOf(L"B"), -1) << "case-sensitive";
}

TEST(UnicodeStrings, IndexErrors) {
    TUnicodeStringList list{L"a", L"b"};
    EXPECT_EQ(ThrownMessage([&] { list.Get(2); }), L"List index out of bounds (2)");
    EXPECT_EQ(ThrownMessage([&] { list.Insert(3, L"x"); }), L"List index out of bounds (3)");
    EXPECT_EQ(ThrownMessage([&] { list.Exchange(-1, 9); }), L"List index out of bounds (-1)");
    EXPECT_EQ(ThrownMessage([&] { list.Exchange(0, 9); }), L"List index out of bounds (9)");
    EXPECT_EQ(ThrownMessage([&] { list.Move(0, 2); }), L"List index out of bounds (2)");
    TUnicodeStringList empty;
    EXPECT_EQ(ThrownMessage([&] { empty.Delete(0); }), L"List index out of bounds (0)");
    EXPECT_THROW(list.SetCapacity(1), std::logic_error);
    EXPECT_EQ(list.ToVector(), (Names{L"a", L"b"}));
}

TEST(UnicodeStrings, NotificationsOncePerChangeAndOncePerUpdate) {
    TUnicodeStringList list;
    std::vector<std::string> told;
    list.OnChanging = [&](TUnicodeStrings&) { told.push_back("changing"); };
    list.OnChange = [&](TUnicodeStrings&) { told.push_back("change"); };

    list.Assign(TUnicodeStringList{L"a", L"b", L"c"});
    EXPECT_EQ(told, (std::vector<std::string>{"changing", "change"}));
    told.clear();
    list.Add(L"d");
    list.Exchange(0, 1);
    EXPECT_EQ(told, (std::vector<std::string>{"changing", "change", "changing", "change"}));

    list.SetCapacity(40);
    list.Clear();
    EXPECT_EQ(list.Count(), 0);
    EXPECT_GE(list.Capacity(), 40) << "clearing keeps the capacity";
}

TEST(UnicodeStrings, AdapterPresentsAPlainListInTheSystemCodePage) {
    std::vector<std::string> plain = {"caf\xE9", "tea"};
    TUnicodeStringsAdapter adapter(plain);
    EXPECT_EQ(adapter.Count(), 2);
    EXPECT_EQ(adapter[0], L"caf\u00E9");
    adapter.Add(L"na\u00EFve");
    adapter.Delete(1);
    EXPECT_EQ(plain, (std::vector<std::string>{"caf\xE9", "na\xEFve"}));

    TUnicodeStringList wide;
    wide.Assign(plain);
    EXPECT_EQ(wide.ToVector(), (Names{L"caf\u00E9", L"na\u00EFve"}));
    std::vector<std::string> back;
    wide.AssignTo(back);
    EXPECT_EQ(back, plain);
}
