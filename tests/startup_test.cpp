// Working paths, the encoder unpacking and the settings file helpers.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "app/startup.h"
#include "tests/test_util.h"

using testutil::TempDir;

TEST(WorkingPaths, ProgramDirEngineAndSettingsPaths) {
    struct Case {
        const char* exe;
        const char* dir;
    } cases[] = {
        {"/opt/tools/conv/tandrel", "/opt/tools/conv/"},
        {"/tandrel", "/"},
        {"/home/ann/my apps/tandrel", "/home/ann/my apps/"},
        {"tandrel", "/"},  // no separator at all: nothing kept, then one appended
    };
    for (const Case& c : cases) {
        const std::string dir = app::ProgramDirOf(c.exe);
        EXPECT_EQ(dir, c.dir) << c.exe;
        EXPECT_EQ(dir + app::kEngineFileName, std::string(c.dir) + "ra3Zidoz2.dll");
        EXPECT_EQ(app::SettingsPathOf(dir, true, "/cfg"), std::string(c.dir) + "option.ini");
    }
}

TEST(WorkingPaths, EngineWorkPathFromDocumentsOrTemp) {
    EXPECT_EQ(app::EngineWorkPathOf(std::string("/home/u/Documents"), "/tmp"),
              "/home/u/Documents/ra3Zidoz2.dll");
    EXPECT_EQ(app::EngineWorkPathOf(std::string("/home/u/Documents/"), "/tmp"),
              "/home/u/Documents/ra3Zidoz2.dll");
    EXPECT_EQ(app::EngineWorkPathOf(std::nullopt, "/var/tmp/"), "/var/tmp/ra3Zidoz2.dll");
    EXPECT_EQ(app::EngineWorkPathOf(std::nullopt, "/tmp"), "/tmp/ra3Zidoz2.dll");
}

TEST(WorkingPaths, SettingsGoToConfigFolderWhenProgramFolderIsReadOnly) {
    EXPECT_EQ(app::SettingsPathOf("/usr/lib/tarnwick/", false, "/home/u/.config"),
              "/home/u/.config/tarnwick/option.ini");
    EXPECT_EQ(app::SettingsPathOf("/usr/lib/tarnwick/", false, "/home/u/.config/"),
              "/home/u/.config/tarnwick/option.ini");
}

TEST(WorkingPaths, DefaultOutputFolderIsInHome) {
    EXPECT_EQ(app::DefaultOutputDir("/home/u"), "/home/u/Mp3 Output/");
    EXPECT_EQ(app::DefaultOutputDir("/home/u/"), "/home/u/Mp3 Output/");
}

TEST(Unscramble, KnownBytes) {
    const int in[] = {0x00, 0x01, 0x13, 0xFF};
    const int out[] = {0x00, 0x1B, 0x01, 0xE5};
    for (int i = 0; i < 4; ++i) EXPECT_EQ(UnscrambleByte(in[i]) & 0xFF, out[i]);
}

TEST(Unscramble, UndoesShippingScrambleForEveryByte) {
    for (int b = 0; b < 256; ++b) {
        EXPECT_EQ(UnscrambleByte((b * 19) & 0xFF) & 0xFF, b) << b;
    }
}

TEST(UnpackEngine, CopyIsExactAndOwnerExecutable) {
    TempDir dir;
    std::string program;
    for (int round = 0; round < 5000; ++round) {
        for (int b = 0; b < 256; ++b) program.push_back(static_cast<char>(b));
    }
    testutil::WriteFile(dir / "src", testutil::Scramble(program));
    testutil::WriteFile(dir / "copy", "old copy");
    ASSERT_TRUE(app::UnpackEngine(dir / "src", dir / "copy"));
    EXPECT_EQ(testutil::ReadFile(dir / "copy"), program);
    EXPECT_EQ(testutil::FileMode(dir / "copy"), 0700u);
}

TEST(UnpackEngine, KnownBytesAndEmptySource) {
    TempDir dir;
    testutil::WriteFile(dir / "src", std::string("\x00\x01\x13\xFF", 4));
    ASSERT_TRUE(app::UnpackEngine(dir / "src", dir / "copy"));
    EXPECT_EQ(testutil::ReadFile(dir / "copy"), std::string("\x00\x1B\x01\xE5", 4));

    testutil::WriteFile(dir / "empty", "");
    ASSERT_TRUE(app::UnpackEngine(dir / "empty", dir / "copy0"));
    EXPECT_TRUE(testutil::Exists(dir / "copy0"));
    EXPECT_EQ(testutil::ReadFile(dir / "copy0"), "");
}

TEST(UnpackEngine, FailureLeavesNothingBehind) {
    TempDir dir;
    ::mkdir((dir / "folder").c_str(), 0755);
    testutil::WriteFile(dir / "src", "abc");
    struct Case {
        std::string source;
        std::string target;
    } cases[] = {
        {dir / "missing", dir / "copy"},               // no source
        {dir / "folder", dir / "copy"},                // opens, but cannot be read as a file
        {dir / "src", dir / "no-such-folder/copy"},    // target cannot be created
    };
    for (const Case& c : cases) {
        EXPECT_FALSE(app::UnpackEngine(c.source, c.target)) << c.source;
        EXPECT_FALSE(testutil::Exists(c.target)) << c.target;
    }
    // No temporary file is left in the folder either.
    int entries = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir.path())) ++entries;
    EXPECT_EQ(entries, 2);  // "folder" and "src"
}

TEST(OutputFolderSetting, ReadTrimsAndWriteStores) {
    TempDir dir;
    const std::string ini = dir / "option.ini";
    EXPECT_EQ(app::ReadOutputFolder(ini), "");  // no file
    testutil::WriteFile(ini, "[General]\r\nOutputFolder=  /srv/music/  \r\n");
    EXPECT_EQ(app::ReadOutputFolder(ini), "/srv/music/");
    testutil::WriteFile(ini, "[General]\nOutputFolder=   \n");
    EXPECT_EQ(app::ReadOutputFolder(ini), "");

    const std::string nested = dir / "cfg/tarnwick/option.ini";
    ASSERT_TRUE(app::WriteOutputFolder(nested, "/out/"));
    EXPECT_EQ(app::ReadOutputFolder(nested), "/out/");
}
