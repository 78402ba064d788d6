// Probing with the real encoder: generated media of every kind the program
// takes, bad input, and awkward names, through the dialog.
#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "tests/job_fixture.h"

namespace {

class RealProbe : public JobFixture {
protected:
    RealProbe() {
        ShipEncoder(REAL_ENCODER_PATH);
        CChildProcess::SetStopPacePercentForTesting(100);  // the real pace, end to end
    }
};

}  // namespace

TEST_F(RealProbe, EveryKindOfInputIsMeasuredToTheSecond) {
    std::vector<std::string> files;
    for (const char* name : {"clip.flv", "clip.f4v", "clip.mp4", "clip.m4v"}) {
        files.push_back(root / (std::string("in/") + name));
        ASSERT_TRUE(testutil::GenerateClip(files.back(), "5.5"));
    }
    Run([&](CConverterDialog& dlg) {
        ASSERT_TRUE(Add(dlg, files));
        EXPECT_TRUE(fake.messageBoxes.empty());
        EXPECT_EQ(Column(dlg.JobStore, 0), files);
        EXPECT_EQ(Column(dlg.JobStore, 1), std::vector<std::string>(4, "5"));
        EXPECT_EQ(Column(dlg.JobList, 2), std::vector<std::string>(4, "Ready"));
    });
}

TEST_F(RealProbe, AwkwardNamesAndAVeryLongPath) {
    std::string deep = root / "in";
    for (int i = 0; i < 5; ++i) {  // about 1000 characters of folders
        deep += "/" + std::string(190, static_cast<char>('a' + i));
        ASSERT_TRUE(std::filesystem::create_directory(deep));
    }
    const std::vector<std::string> files = {
        root / "in/with blanks  and 'apostrophes'.flv",
        root / "in/quotes \"here\" and $HOME and back\\slash.mp4",
        root / "in/Ünïcødé – ñame 日本.m4v",
        deep + "/deep.flv",
    };
    for (const auto& f : files) ASSERT_TRUE(testutil::GenerateClip(f, "3.2")) << f;
    Run([&](CConverterDialog& dlg) {
        ASSERT_TRUE(Add(dlg, files));
        EXPECT_TRUE(fake.messageBoxes.empty());
        EXPECT_EQ(Column(dlg.JobStore, 0), files);
        EXPECT_EQ(Column(dlg.JobStore, 1), std::vector<std::string>(4, "3"));
        EXPECT_EQ(dlg.JobList.GetItemText(3, 1), deep + "/");
        EXPECT_EQ(dlg.JobList.GetItemText(2, 0), "Ünïcødé – ñame 日本.m4v");
    });
}

TEST_F(RealProbe, BadInputIsMeasuredOrDroppedWithAMessage) {
    const std::string good = root / "in/good.flv";
    ASSERT_TRUE(testutil::GenerateClip(good, "4.5"));
    const std::string text = root / "in/text.flv";
    testutil::WriteFile(text, "This is a letter, not a video.\n");
    const std::string empty = root / "in/empty.flv";
    testutil::WriteFile(empty, "");
    const std::string truncated = root / "in/truncated.mp4";
    testutil::WriteFile(truncated, testutil::ReadFile(good).substr(0, 200));
    const std::string silent = root / "in/video only.flv";
    ASSERT_TRUE(testutil::GenerateClip(silent, "2.5", false));
    const std::string deleted = root / "in/deleted.flv";
    ASSERT_TRUE(testutil::GenerateClip(deleted, "2.5"));
    const std::string good2 = root / "in/good2.mp4";
    ASSERT_TRUE(testutil::GenerateClip(good2, "6.5"));
    const std::vector<std::string> files = {good, text, empty, truncated, silent, deleted, good2};

    Run([&](CConverterDialog& dlg) {
        // The file goes away after it was chosen, before it is measured.
        fake.onOpenFileDialog = [&] { std::filesystem::remove(deleted); };
        ASSERT_TRUE(Add(dlg, files));
        const auto paths = Column(dlg.JobStore, 0);
        const auto durations = Column(dlg.JobStore, 1);
        ASSERT_EQ(dlg.JobList.GetItemCount(), dlg.JobStore.GetItemCount());
        // Every file is either a row or a message, in the order of adding.
        std::size_t row = 0, message = 0;
        for (const auto& f : files) {
            if (row < paths.size() && paths[row] == f) {
                EXPECT_GE(std::stoi(durations[row]), 1) << f;
                EXPECT_EQ(dlg.JobList.GetItemText(static_cast<int>(row), 2), "Ready");
                ++row;
            } else {
                ASSERT_LT(message, fake.messageBoxes.size()) << f;
                EXPECT_EQ(fake.messageBoxes[message++].text, "Failed to load: " + f);
            }
        }
        EXPECT_EQ(message, fake.messageBoxes.size());
        // The good ones are measured right; the hopeless ones are dropped.
        EXPECT_EQ(paths.front(), good);
        EXPECT_EQ(durations.front(), "4");
        EXPECT_EQ(paths.back(), good2);
        EXPECT_EQ(durations.back(), "6");
        for (const auto& f : {text, empty, deleted}) {
            EXPECT_EQ(std::find(paths.begin(), paths.end(), f), paths.end()) << f;
        }
    });
}
