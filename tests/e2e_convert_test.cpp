// Converting with the real encoder through the dialog: generated clips of
// every kind become MP3 files that decode, last as long as the clips' audio
// and carry the chosen settings.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>

#include "tests/job_fixture.h"

namespace fs = std::filesystem;

namespace {

std::string Ffprobe() {
    const std::string encoder = REAL_ENCODER_PATH;
    return encoder.substr(0, encoder.rfind('/') + 1) + "ffprobe";
}

// Runs a command (no shell sees a file name: they go through the
// environment) and returns what it printed.
std::string Capture(const std::string& cmd) {
    std::string out;
    if (FILE* p = ::popen(cmd.c_str(), "r")) {
        char buf[512];
        for (std::size_t n; (n = std::fread(buf, 1, sizeof buf, p)) > 0;) out.append(buf, n);
        ::pclose(p);
    }
    return out;
}

// The first audio stream's facts and the container's duration, as ffprobe
// tells them.
std::map<std::string, std::string> Probe(const std::string& file) {
    ::setenv("PROBED_FILE", file.c_str(), 1);
    const std::string text = Capture(
        "'" + Ffprobe() + "' -v error -select_streams a:0 -show_entries "
        "stream=sample_rate,channels,bit_rate:format=duration -of default=nw=1 \"$PROBED_FILE\"");
    std::map<std::string, std::string> facts;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t nl = text.find('\n', pos);
        const std::string line = text.substr(pos, nl - pos);
        const std::size_t eq = line.find('=');
        if (eq != std::string::npos && !facts.count(line.substr(0, eq))) {
            facts[line.substr(0, eq)] = line.substr(eq + 1);
        }
        if (nl == std::string::npos) break;
        pos = nl + 1;
    }
    return facts;
}

// True when the whole file decodes without a single error.
bool Decodes(const std::string& file) {
    ::setenv("DECODED_FILE", file.c_str(), 1);
    const std::string errors = Capture("'" REAL_ENCODER_PATH
                                       "' -nostdin -v error -i \"$DECODED_FILE\" -f null - 2>&1; "
                                       "echo \"exit=$?\"");
    return errors == "exit=0\n";
}

class RealConversion : public JobFixture {
protected:
    RealConversion() {
        ShipEncoder(REAL_ENCODER_PATH);
        fs::create_directory(root / "out");
    }
};

}  // namespace

TEST_F(RealConversion, ClipsOfEveryKindBecomeGoodMp3Files) {
    const std::vector<std::string> names = {"clip one.flv", "quote \"x\" $y.f4v", "Ünï ñame.mp4",
                                            "it's.m4v"};
    std::vector<std::string> files;
    for (const auto& n : names) {
        files.push_back(root / ("in/" + n));
        ASSERT_TRUE(testutil::GenerateClip(files.back(), "5.5")) << n;
    }
    Run([&](CConverterDialog& dlg) {
        ASSERT_TRUE(Add(dlg, files));
        ASSERT_EQ(dlg.JobList.GetItemCount(), 4);
        fake.TypeText(dlg, IDC_OUTPUTDIR, root / "out");

        // First with the encoder's defaults, then 64 kbit/s, 22050 Hz, mono.
        ASSERT_TRUE(fake.Click(dlg, IDC_START));
        ASSERT_TRUE(fake.PumpUntil([&] { return !dlg.m_converting; }, std::chrono::minutes(2)));
        EXPECT_EQ(Column(dlg.JobList, 2), std::vector<std::string>(4, "Done"));
        ASSERT_TRUE(fake.Click(dlg, IDC_DEFAULTSETTINGS));
        dlg.m_cmbBitrate.SetCurSel(7);    // "64"
        dlg.m_cmbFrequency.SetCurSel(5);  // "22050"
        ASSERT_TRUE(fake.Click(dlg, IDC_MONO));
        ASSERT_TRUE(fake.Click(dlg, IDC_START));
        ASSERT_TRUE(fake.PumpUntil([&] { return !dlg.m_converting; }, std::chrono::minutes(2)));
        EXPECT_EQ(Column(dlg.JobList, 2), std::vector<std::string>(4, "Renamed"));
        int lower = 0, upper = 0;
        dlg.m_progress.GetRange(lower, upper);
        EXPECT_EQ(upper, 20);
        EXPECT_EQ(dlg.m_progress.GetPos(), 20);
    });
    for (const auto& n : names) {
        const std::string base = n.substr(0, n.size() - 4);
        for (const auto& [out, settings] :
             {std::pair{base + ".mp3", false}, std::pair{base + "_1.mp3", true}}) {
            SCOPED_TRACE(out);
            const std::string path = root / ("out/" + out);
            ASSERT_TRUE(testutil::Exists(path));
            EXPECT_TRUE(Decodes(path));
            auto facts = Probe(path);
            ASSERT_FALSE(facts["duration"].empty());
            EXPECT_NEAR(std::stod(facts["duration"]), 5.5, 0.1);
            if (settings) {
                EXPECT_EQ(facts["sample_rate"], "22050");
                EXPECT_EQ(facts["channels"], "1");
                EXPECT_EQ(facts["bit_rate"], "64000");
            } else {
                EXPECT_EQ(facts["sample_rate"], "44100");  // as the clip has it
            }
        }
    }
}

TEST_F(RealConversion, AClipWithoutSoundFailsAndLeavesNothing) {
    const std::string silent = root / "in/video only.flv";
    const std::string good = root / "in/good.flv";
    ASSERT_TRUE(testutil::GenerateClip(silent, "5.5", false));
    ASSERT_TRUE(testutil::GenerateClip(good, "5.5"));
    Run([&](CConverterDialog& dlg) {
        ASSERT_TRUE(Add(dlg, {silent, good}));
        ASSERT_EQ(dlg.JobList.GetItemCount(), 2);  // it has a length, so it is queued
        fake.TypeText(dlg, IDC_OUTPUTDIR, root / "out");
        ASSERT_TRUE(fake.Click(dlg, IDC_START));
        ASSERT_TRUE(fake.PumpUntil([&] { return !dlg.m_converting; }, std::chrono::minutes(1)));
        EXPECT_EQ(Column(dlg.JobList, 2), (std::vector<std::string>{"Failed", "Done"}));
    });
    EXPECT_FALSE(testutil::Exists(root / "out/video only.mp3"));
    EXPECT_TRUE(Decodes(root / "out/good.mp3"));
}
