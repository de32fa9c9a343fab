#include <gtest/gtest.h>

#include "engine/FileTypesGroups.h"

#include <algorithm>
#include <string>
#include <vector>

using namespace engine;

namespace {

const TFileTypesGroups groups;

std::vector<const TFileTypeGroup*> AllGroups() {
    return {&groups.ExtensionsText,  &groups.ExtensionsDeveloper, &groups.ExtensionsInternet,
            &groups.ExtensionsEmails, &groups.ExtensionsDocument, &groups.ExtensionsImage,
            &groups.ExtensionsAudio, &groups.ExtensionsVideo,     &groups.ExtensionsCompressed,
            &groups.ExtensionsSystem};
}

// The names of the groups that hold `ext`.
std::vector<std::wstring> GroupsOf(const std::wstring& ext) {
    std::vector<std::wstring> names;
    for (const TFileTypeGroup* group : AllGroups())
        if (group->HasExtension(ext)) names.push_back(group->Name());
    return names;
}

} // namespace

TEST(FileTypesGroups, TextsAsWritten) {
    EXPECT_EQ(groups.ExtensionsText.ExtensionsText(),
              L".!!! .1st .ans .asc .ascii .cas .charset .csa .csv .err .faq .ini .log .lst .me .now .readme "
              L".strings .t .tab .text .tsv .tx8 .txt .uni .utf8 .utx .utxt .vcs .tex");
    EXPECT_EQ(groups.ExtensionsEmails.ExtensionsText(),
              L".boe .box .cnm .dbx .eml .emlx .idb .idx .maildb .mbg .mbox .mbs .mbx .msb .msf .msg .nws .ost .pmi "
              L".pmm .pmx .pst .tbb .toc .vfb");
    EXPECT_EQ(groups.ExtensionsAudio.ExtensionsText(),
              L".wav .mp3 .mp1 .mp2 .mp2a .mpa .ogg .gsm .dct .flac .au .aiff .vox .raw .wma .aac .ra .ram .dss .msv"
              L" .dvf .aif .aifc .audiocd .cda .m3u .midi .rmi .snd .wax .oma .omg .atp .mid .ape .aa .aa3 .abs .ac3"
              L" .act .asf .asx .cdr .lwv .m1a .m2a .m4a .m4b .miz .mm4 .mm8 .mod .mpega .mpga .mpj .mpr .mpu .mpx "
              L".oga .pcm .r1m");
    EXPECT_EQ(groups.ExtensionsCompressed.ExtensionsText(),
              L".001 .7z .7-zip .a .ace .c00 .c01 .c02 .alz .a00 .a01 .a02 .arc .ari .arj .b64 .bh .bin .bz .bz2 "
              L".bza .bzip .bzip2 .c2d .cab .cdi .cpio .deb .enc .gca .gz .gza .gzi .gzip .ha .img .iso .j .jar .jgz"
              L" .lha .lib .lz .lzh .lzma .mbf .mdf .mim .nrg .pak .pdi .pk3 .rar .r00 .r01 .r02 .r03 .rpm .rz .sfx "
              L".tar .taz .tbz .tbz2 .tg .tgz .tlz .tlzma .tz .uha .uue .war .xxe .yz1 .z .zip .z01 .z02 .z03 .z04 "
              L".s00 .s01 .s02 .zipx .zix .zoo .zz .");
}

TEST(FileTypesGroups, NamesAndDistinctEntriesOfEveryGroup) {
    struct GroupCase { const wchar_t* name; std::size_t entries; };
    const GroupCase cases[] = {
        {L"ExtensionsText", 30},   {L"ExtensionsDeveloper", 295}, {L"ExtensionsInternet", 197},
        {L"ExtensionsEmails", 25}, {L"ExtensionsDocument", 192},  {L"ExtensionsImage", 205},
        {L"ExtensionsAudio", 61},  {L"ExtensionsVideo", 113},     {L"ExtensionsCompressed", 88},
        {L"ExtensionsSystem", 268},
    };
    const auto all = AllGroups();
    ASSERT_EQ(all.size(), std::size(cases));
    for (std::size_t i = 0; i < all.size(); ++i) {
        SCOPED_TRACE(testing::Message() << cases[i].name);
        EXPECT_EQ(all[i]->Name(), cases[i].name);
        const auto& entries = all[i]->Extensions();
        EXPECT_EQ(entries.size(), cases[i].entries);
        EXPECT_TRUE(std::is_sorted(entries.begin(), entries.end()));
        for (const auto& entry : entries) {
            EXPECT_FALSE(entry.empty());
            EXPECT_EQ(entry.find_first_of(L"abcdefghijklmnopqrstuvwxyz, "), std::wstring::npos) << entry;
        }
    }
}

TEST(FileTypesGroups, MembershipIgnoresCaseAndNeedsTheDot) {
    using Names = std::vector<std::wstring>;
    struct MemberCase { const wchar_t* ext; Names groups; };
    const MemberCase cases[] = {
        {L".txt", {L"ExtensionsText"}},
        {L".TXT", {L"ExtensionsText"}},
        {L".tXt", {L"ExtensionsText"}},
        {L"TXT", {}},
        {L"", {}},
        {L".", {L"ExtensionsCompressed"}},
        {L".CHM", {L"ExtensionsInternet", L"ExtensionsDocument"}},
        {L".BIN", {L"ExtensionsCompressed", L"ExtensionsSystem"}},
        {L".FRM", {L"ExtensionsDeveloper", L"ExtensionsDocument", L"ExtensionsImage"}},
        {L".C#", {L"ExtensionsDeveloper"}},
        {L".7-ZIP", {L"ExtensionsCompressed"}},
        // Written once with a stray comma after them; they are images all the same.
        {L".JBG", {L"ExtensionsImage"}},
        {L".DJVU", {L"ExtensionsImage"}},
        {L".JBG,", {}},
        {L".TXTX", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.ext);
        EXPECT_EQ(GroupsOf(c.ext), c.groups);
    }
}
