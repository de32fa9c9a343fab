#include <gtest/gtest.h>

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "dragdrop/DragDrop.h"
#include "dragdrop/DragDropFile.h"
#include "dragdrop/DragDropFormats.h"
#include "dragdrop/DragDropPIDL.h"
#include "kit/Exception.h"
#include "tests/dragdrop/DragDropFixture.h"

using namespace dragdrop;

namespace {

class TestDataFormat : public TCustomDataFormat {
public:
    explicit TestDataFormat(const TDataFormatClass& type, TDragDropComponent* owner = nullptr)
        : TCustomDataFormat(type, owner) {}
    void Clear() override {}
    bool HasData() const override { return false; }
};

// A target-side component, as a drop target fills its data formats.
class TestComponent : public TDragDropComponent {
public:
    void FillCompatibleFormats(const TDataFormatClass& type, TClipboardFormats& formats) override {
        TDataFormatMap::Instance().GetClipboardFormats(type, TFormatSide::Target, formats);
    }
};

std::vector<std::wstring> ClassNames(const TClipboardFormats& formats) {
    std::vector<std::wstring> names;
    for (int i = 0; i < formats.Count(); ++i) names.push_back(formats[i].ClassType().Name());
    return names;
}

std::vector<std::wstring> SideNames(const TDataFormatClass& type, TFormatSide side) {
    TestDataFormat format(type);
    format.UseSide(side);
    return ClassNames(format.CompatibleFormats());
}

// The map's entries of one data-format class, in map order.
std::vector<TDataFormatMapEntry> EntriesOf(const TDataFormatClass& type) {
    std::vector<TDataFormatMapEntry> entries;
    for (const TDataFormatMapEntry& entry : TDataFormatMap::Instance().Entries())
        if (entry.DataFormat == &type) entries.push_back(entry);
    return entries;
}

std::wstring ThrownMessage(const std::function<void()>& action) {
    try {
        action();
    } catch (const std::exception& e) {
        return kit::ExceptionMessage(e);
    }
    return L"(nothing thrown)";
}

const TDataFormatClass kOrderFormat{L"TOrderTestFormat", nullptr, nullptr};
const TDataFormatClass kOtherFormat{L"TOtherTestFormat", nullptr, nullptr};
const TDataFormatClass kPairFormat{L"TPairTestFormat", nullptr, nullptr};
const TDataFormatClass kSideFormat{L"TSideTestFormat", nullptr, nullptr};
const TDataFormatClass kChildFormat{L"TChildTestFormat", &kSideFormat, nullptr};

} // namespace

TEST(DragDropMap, OrdersByPriorityWithEqualPrioritiesNewestFirst) {
    TDataFormatMap& map = TDataFormatMap::Instance();
    map.Add(kOrderFormat, TPreferredDropEffectClipboardFormat::Class, ddWrite, 3);
    map.Add(kOrderFormat, TPerformedDropEffectClipboardFormat::Class, ddWrite, 0);
    map.Add(kOtherFormat, TFileClipboardFormat::Class, ddWrite, 5);  // another class in between
    map.Add(kOrderFormat, TPasteSucceededClipboardFormat::Class, ddWrite, 2);
    map.Add(kOrderFormat, TInShellDragLoopClipboardFormat::Class, ddWrite, 1);
    map.Add(kOrderFormat, TTargetCLSIDClipboardFormat::Class, ddWrite, 1);

    std::vector<std::wstring> order;
    for (const TDataFormatMapEntry& entry : EntriesOf(kOrderFormat)) order.push_back(entry.ClipboardFormat->Name());
    EXPECT_EQ(order, (std::vector<std::wstring>{
                         L"TPerformedDropEffectClipboardFormat", L"TTargetCLSIDClipboardFormat",
                         L"TInShellDragLoopClipboardFormat", L"TPasteSucceededClipboardFormat",
                         L"TPreferredDropEffectClipboardFormat"}));
    EXPECT_EQ(EntriesOf(kOtherFormat).size(), 1u);
}

TEST(DragDropMap, SamePairTwiceIsOneEntryWithBothDirections) {
    TDataFormatMap& map = TDataFormatMap::Instance();
    map.Add(kPairFormat, TFileClipboardFormat::Class, ddRead, 5);
    ASSERT_EQ(EntriesOf(kPairFormat).size(), 1u);
    EXPECT_EQ(EntriesOf(kPairFormat)[0].Priority, 0) << "a read-only entry keeps priority 0";

    map.Add(kPairFormat, TFileClipboardFormat::Class, ddWrite, 7);
    const std::vector<TDataFormatMapEntry> entries = EntriesOf(kPairFormat);
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].Directions, ddReadWrite);
    EXPECT_EQ(entries[0].Priority, 7);
}

TEST(DragDropMap, SidesTakeTheClassDirectionsToo) {
    TDataFormatMap& map = TDataFormatMap::Instance();
    map.Add(kSideFormat, TPreferredDropEffectClipboardFormat::Class, ddWrite, 0);  // the class reads
    map.Add(kSideFormat, TPerformedDropEffectClipboardFormat::Class, ddWrite, 1);  // the class writes
    map.Add(kSideFormat, TInShellDragLoopClipboardFormat::Class, ddRead, 0);       // both read

    const std::vector<std::wstring> target = {L"TInShellDragLoopClipboardFormat",
                                              L"TPreferredDropEffectClipboardFormat"};
    const std::vector<std::wstring> source = {L"TPreferredDropEffectClipboardFormat",
                                              L"TPerformedDropEffectClipboardFormat"};
    EXPECT_EQ(SideNames(kSideFormat, TFormatSide::Target), target);
    EXPECT_EQ(SideNames(kSideFormat, TFormatSide::Source), source);
    EXPECT_EQ(SideNames(kChildFormat, TFormatSide::Target), target) << "a derived class inherits the entries";
}

TEST(DragDropMap, RegistrationCallFillsTheProgramsFormats) {
    EXPECT_EQ(SideNames(TFileDataFormat::Class, TFormatSide::Target),
              (std::vector<std::wstring>{L"TFileClipboardFormat", L"TPIDLClipboardFormat",
                                         L"TUnicodeFilenameClipboardFormat", L"TAnsiFilenameClipboardFormat"}));
    EXPECT_EQ(SideNames(TFileDataFormat::Class, TFormatSide::Source),
              SideNames(TFileDataFormat::Class, TFormatSide::Target));
    EXPECT_EQ(SideNames(TFileMapDataFormat::Class, TFormatSide::Target),
              (std::vector<std::wstring>{L"TUnicodeFilenameMapClipboardFormat", L"TAnsiFilenameMapClipboardFormat"}));
    EXPECT_EQ(SideNames(TFeedbackDataFormat::Class, TFormatSide::Target).size(), 6u);

    std::vector<std::wstring> classes;
    for (int i = 0; i < TDataFormatClasses::Instance().Count(); ++i)
        classes.push_back(TDataFormatClasses::Instance()[i].Name());
    EXPECT_EQ(classes, (std::vector<std::wstring>{L"TDataStreamDataFormat", L"TFeedbackDataFormat", L"TFileDataFormat",
                                                  L"TFileMapDataFormat", L"TVirtualFileStreamDataFormat",
                                                  L"TPIDLDataFormat", L"TTextDataFormat"}));
}

TEST(DragDropComponent, DataFormatsJoinTheirOwnerAndOutliveIt) {
    auto component = std::make_unique<TestComponent>();
    auto files = std::make_unique<TFileDataFormat>(component.get());
    {
        TFileMapDataFormat names(component.get());
        EXPECT_EQ(component->DataFormats().Count(), 2);
        EXPECT_EQ(component->DataFormats().IndexOf(&names), 1);
        EXPECT_EQ(component->DataFormats().Add(&names), 1) << "no duplicates";
        EXPECT_EQ(ClassNames(names.CompatibleFormats()).size(), 2u) << "filled by the owner for its side";
    }
    EXPECT_EQ(component->DataFormats().Count(), 1) << "a freed data format leaves the list";
    EXPECT_EQ(files->CompatibleFormats().Count(), 4);
    component.reset();
    EXPECT_EQ(files->Owner(), nullptr) << "the owner's end is the list's end, not a dangling pointer";
    EXPECT_EQ(files->CompatibleFormats().Count(), 4) << "what the owner filled stays";
}

TEST(DragDropComponent, ErrorMessages) {
    TestComponent component;
    TFileDataFormat files(&component);
    EXPECT_EQ(ThrownMessage([&] { files.CompatibleFormats().Get<TTargetCLSIDClipboardFormat>(); }),
              L"Clipboard format TTargetCLSIDClipboardFormat does not exist in TFileDataFormat's list of copatible "
              L"formats");
    EXPECT_NE(&files.CompatibleFormats().Get<TFileClipboardFormat>(), nullptr);
    EXPECT_EQ(files.CompatibleFormats().FindFormat(CF_HDROP)->ClassType().Name(),
              std::wstring(L"TFileClipboardFormat"));

    TFileClipboardFormat drop;
    EXPECT_EQ(ThrownMessage([&] { drop.SetClipboardFormatName(L"Other"); }),
              L"TFileClipboardFormat.ClipboardFormat is read-only");
    EXPECT_EQ(ThrownMessage([] { TRawClipboardFormat::Class.Create(); }),
              L"The TRawClipboardFormat class can not be instantiated with the default constructor");
    TestDataFormat orphan(kOrderFormat);
    EXPECT_NE(ThrownMessage([&] { orphan.CompatibleFormats(); }), L"(nothing thrown)");
}

TEST(DragDropConversions, ShiftStateToDropEffect) {
    struct Case {
        TShiftState shift;
        DWORD allowed;
        bool fallBack;
        DWORD effect;
    };
    const DWORD all = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK;
    const Case cases[] = {
        {{}, all, false, DROPEFFECT_MOVE},
        {{ssShift}, all, false, DROPEFFECT_MOVE},
        {{ssCtrl}, all, false, DROPEFFECT_COPY},
        {{ssCtrl, ssShift}, all, false, DROPEFFECT_LINK},
        {{ssCtrl, ssShift}, DROPEFFECT_COPY | DROPEFFECT_MOVE, false, DROPEFFECT_NONE},
        {{ssCtrl, ssShift}, DROPEFFECT_COPY | DROPEFFECT_MOVE, true, DROPEFFECT_COPY},
        {{}, DROPEFFECT_COPY | DROPEFFECT_LINK, true, DROPEFFECT_COPY},
        {{}, DROPEFFECT_LINK, true, DROPEFFECT_LINK},
        {{ssAlt, ssLeft}, all, false, DROPEFFECT_MOVE},
        {{}, DROPEFFECT_NONE, true, DROPEFFECT_NONE},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "allowed " << c.allowed << " fallBack " << c.fallBack);
        EXPECT_EQ(ShiftStateToDropEffect(c.shift, c.allowed, c.fallBack), c.effect);
    }
}

TEST(DragDropConversions, KeysEffectsAndDragTypes) {
    EXPECT_EQ(KeysToShiftState(MK_SHIFT | MK_CONTROL | MK_ALT | MK_LBUTTON | MK_RBUTTON | MK_MBUTTON),
              (TShiftState{ssShift, ssCtrl, ssAlt, ssLeft, ssRight, ssMiddle}));
    EXPECT_EQ(KeysToShiftState(0), TShiftState{});

    struct Case {
        DWORD effect;
        std::optional<TDragType> type;
    };
    const Case cases[] = {
        {DROPEFFECT_COPY, dtCopy},
        {DROPEFFECT_MOVE, dtMove},
        {DROPEFFECT_LINK, dtLink},
        {DROPEFFECT_MOVE | DROPEFFECT_SCROLL, dtMove},  // tested by bits
        {DROPEFFECT_COPY | DROPEFFECT_MOVE, dtCopy},
        {DROPEFFECT_NONE, std::nullopt},
        {DROPEFFECT_SCROLL, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "effect " << c.effect);
        TDragType type = dtLink;
        EXPECT_EQ(DropEffectToDragType(c.effect, type), c.type.has_value());
        EXPECT_EQ(type, c.type.value_or(dtCopy));
    }
    EXPECT_EQ(DragTypesToDropEffect({dtCopy, dtMove, dtLink}), DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK);
    EXPECT_EQ(DragTypesToDropEffect({dtLink}), DROPEFFECT_LINK);
    EXPECT_EQ(DragTypesToDropEffect({}), DROPEFFECT_NONE);
}

TEST(DragDropConversions, ClipboardFormatNames) {
    struct Case {
        UINT format;
        std::wstring name;
    };
    const Case cases[] = {
        {CF_TEXT, L"CF_TEXT"},         {CF_HDROP, L"CF_HDROP"},          {CF_LOCALE, L"CF_LOCALE"},
        {17, L"CF_DIBV5"},             {18, L"CF_MAX_XP"},               {CF_OWNERDISPLAY, L"CF_OWNERDISPLAY"},
        {CF_DSPTEXT, L"CF_DSPTEXT"},   {CF_DSPENHMETAFILE, L"CF_DSPENHMETAFILE"},
        {ddtest::Registered(L"Preferred DropEffect"), L"Preferred DropEffect"},
        {0, L""},                      {19, L""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.format);
        EXPECT_EQ(ClipboardFormatName(c.format), c.name);
    }
    TPreferredDropEffectClipboardFormat preferred;
    EXPECT_EQ(preferred.ClipboardFormatName(), L"Preferred DropEffect");
}

TEST(DragDropMedium, CopyStgMediumCopiesAGlobalBlock) {
    STGMEDIUM original = ddtest::MediumFromBytes("abcd", TYMED_HGLOBAL);
    TStgMediumOwner owner(original);
    TStgMediumOwner copy;
    ASSERT_TRUE(CopyStgMedium(owner.get(), *copy.put()));
    EXPECT_NE(copy.get().hGlobal, owner.get().hGlobal);
    EXPECT_EQ(ddtest::BytesOfMedium(copy.get()), "abcd");
}

TEST(DragDropMedium, RawFormatKeepsACopyOfAStreamsBytes) {
    const FORMATETC format{ddtest::Registered(L"Kolvaran Raw Test"), nullptr, DVASPECT_CONTENT, -1,
                           TYMED_HGLOBAL | TYMED_ISTREAM};
    TestComponent component;
    TRawDataFormat data(&component);
    auto& raw = static_cast<TRawClipboardFormat&>(
        data.CompatibleFormats().Add(std::make_shared<TRawClipboardFormat>(format)));
    EXPECT_TRUE(data.NeedsData());

    const kit::ComPtr<IStream> provided = ddtest::StreamFromBytes("first");
    STGMEDIUM medium{};
    medium.tymed = TYMED_ISTREAM;
    medium.pstm = provided.get();
    ASSERT_TRUE(raw.GetDataFromMedium(nullptr, medium));
    ASSERT_TRUE(data.TakeFromClipboardFormat(raw));
    EXPECT_TRUE(data.HasData());
    EXPECT_NE(raw.Medium().pstm, provided.get()) << "the system copy of a stream is the same stream";

    // The provider reuses its stream after the drop; the copy keeps what was dropped.
    provided->Seek(LARGE_INTEGER{}, STREAM_SEEK_SET, nullptr);
    provided->Write("SECOND", 6, nullptr);
    EXPECT_EQ(ddtest::BytesOfStream(raw.Medium().pstm), "first");

    // Each rendering reads from the start, whoever read before.
    FORMATETC request = format;
    request.tymed = TYMED_ISTREAM;
    for (int reader = 0; reader < 2; ++reader) {
        TStgMediumOwner rendered;
        ASSERT_TRUE(raw.RenderMedium(request, *rendered.put()));
        char bytes[8] = {};
        ULONG read = 0;
        rendered.get().pstm->Read(bytes, sizeof(bytes), &read);
        EXPECT_EQ(std::string(bytes, read), "first");
    }

    data.Clear();
    EXPECT_FALSE(data.HasData());
    raw.SetClipboardFormatName(L"Kolvaran Raw Renamed");
    EXPECT_EQ(raw.ClipboardFormatName(), L"Kolvaran Raw Renamed");
}

TEST(DragDropMedium, RawFormatCopiesAGlobalBlock) {
    const FORMATETC format{ddtest::Registered(L"Kolvaran Raw Test"), nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    TRawClipboardFormat raw(format);
    TStgMediumOwner medium(ddtest::MediumFromBytes("abcd", TYMED_HGLOBAL));
    ASSERT_TRUE(raw.GetDataFromMedium(nullptr, medium.get()));
    EXPECT_NE(raw.Medium().hGlobal, medium.get().hGlobal);
    TStgMediumOwner rendered;
    ASSERT_TRUE(raw.RenderMedium(format, *rendered.put()));
    EXPECT_EQ(ddtest::BytesOfMedium(rendered.get()), "abcd");
    FORMATETC asStream = format;
    asStream.tymed = TYMED_ISTREAM;
    EXPECT_FALSE(raw.RenderMedium(asStream, *rendered.put())) << "it holds no stream";
}
