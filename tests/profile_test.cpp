// Profile (INI) file reading and writing.
#include <gtest/gtest.h>

#include <filesystem>

#include "fw/profile.h"
#include "tests/test_util.h"

using fw::ProfileLookup;
using fw::ProfileUpdate;

TEST(ProfileLookup, FollowsThePlatformRules) {
    const std::string longValue(300, 'v');
    struct Case {
        const char* name;
        std::string text;
        std::string expected;
    } cases[] = {
        {"missing file (empty text)", "", "DEF"},
        {"plain", "[General]\nOutputFolder=/music/\n", "/music/"},
        {"CRLF", "[General]\r\nOutputFolder=/music/\r\n", "/music/"},
        {"no final line end", "[General]\nOutputFolder=/music/", "/music/"},
        {"blanks around names and =", "  [ General ]  \n  OutputFolder  =  /m/  \n", "/m/"},
        {"case of names", "[general]\noutputfolder=/m/\n", "/m/"},
        {"empty value", "[General]\nOutputFolder=\n", ""},
        {"double quotes", "[General]\nOutputFolder=\"/a b/\"\n", "/a b/"},
        {"single quotes", "[General]\nOutputFolder='/a b/'\n", "/a b/"},
        {"unmatched quote kept", "[General]\nOutputFolder=\"/a b/\n", "\"/a b/"},
        {"no section", "OutputFolder=/m/\n", "DEF"},
        {"other section only", "[Other]\nOutputFolder=/m/\n", "DEF"},
        {"key in a later section", "[Other]\nOutputFolder=/x/\n[General]\nOutputFolder=/m/\n", "/m/"},
        {"comment line", "[General]\n;OutputFolder=/x/\nOutputFolder=/m/\n", "/m/"},
        {"first of two keys", "[General]\nOutputFolder=/a/\nOutputFolder=/b/\n", "/a/"},
        {"value of 300 characters is cut", "[General]\nOutputFolder=" + longValue + "\n",
         std::string(259, 'v')},
        {"= inside the value", "[General]\nOutputFolder=/a=b/\n", "/a=b/"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ProfileLookup(c.text, "General", "OutputFolder", "DEF"), c.expected) << c.name;
    }
}

TEST(ProfileUpdate, ChangesOnlyTheOneKey) {
    struct Case {
        const char* name;
        std::string before;
        std::string after;
    } cases[] = {
        {"new file", "", "[General]\nOutputFolder=/new/\n"},
        {"replace, others kept",
         "; settings\n[Other]\nA=1\n[General]\nX = 2\nOutputFolder = /old/\nY=3\n",
         "; settings\n[Other]\nA=1\n[General]\nX = 2\nOutputFolder=/new/\nY=3\n"},
        {"CRLF kept", "[General]\r\nOutputFolder=/old/\r\nY=3\r\n",
         "[General]\r\nOutputFolder=/new/\r\nY=3\r\n"},
        {"key added to its section", "[General]\nY=3\n\n[Other]\nA=1\n",
         "[General]\nY=3\nOutputFolder=/new/\n\n[Other]\nA=1\n"},
        {"section added", "[Other]\nA=1", "[Other]\nA=1\n[General]\nOutputFolder=/new/\n"},
        {"section added, CRLF", "[Other]\r\nA=1\r\n",
         "[Other]\r\nA=1\r\n[General]\r\nOutputFolder=/new/\r\n"},
        {"section without line end", "[General]", "[General]\nOutputFolder=/new/\n"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ProfileUpdate(c.before, "General", "OutputFolder", "/new/"), c.after) << c.name;
        EXPECT_EQ(ProfileLookup(c.after, "General", "OutputFolder", ""), "/new/") << c.name;
    }
}

TEST(ProfileFile, WriteIsAtomicAndRefusesLineBreaks) {
    testutil::TempDir dir;
    const std::string ini = dir / "option.ini";
    testutil::WriteFile(ini, "[General]\nOutputFolder=/old/\n");
    EXPECT_FALSE(fw::WritePrivateProfileString("General", "OutputFolder", "/a\nb/", ini));
    EXPECT_EQ(testutil::ReadFile(ini), "[General]\nOutputFolder=/old/\n");

    ASSERT_TRUE(fw::WritePrivateProfileString("General", "OutputFolder", "/new/", ini));
    EXPECT_EQ(fw::GetPrivateProfileString("General", "OutputFolder", "", ini), "/new/");
    int entries = 0;  // no temporary file is left behind
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir.path())) ++entries;
    EXPECT_EQ(entries, 1);

    // A folder that cannot hold the file: the write fails and reports it.
    EXPECT_FALSE(fw::WritePrivateProfileString("General", "OutputFolder", "/x/",
                                               dir / "missing/option.ini"));
}
