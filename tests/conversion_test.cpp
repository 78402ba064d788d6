// Output names, the exists rule, encoder command lines and the conversion run,
// with the fake encoder standing in for the real one.
#include <filesystem>
#include <thread>

#include "jobs/naming.h"
#include "fw/profile.h"
#include "tests/job_fixture.h"

namespace fs = std::filesystem;
using namespace std::chrono_literals;

TEST(OutputNames, BaseNamesAndPaths) {
    struct Case {
        const char* input;
        const char* output;
    } cases[] = {
        {"/clips/talk.flv", "/music/talk.mp3"},
        {"/clips/movie.mpeg", "/music/movie..mp3"},  // only four characters are cut
        {"/clips/.flv", "/music/.mp3"},
        {"/clips/abc", "/music/.mp3"},
        {"/talk.f4v", "/music/talk.mp3"},  // a file in the root folder
        {"/clips/Ünï.m4v", "/music/Ünï.mp3"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(jobs::OutputPath("/music/", jobs::BaseNameOf(c.input)), c.output) << c.input;
    }
    EXPECT_EQ(jobs::OutputPath("/music/", "talk", 2), "/music/talk_2.mp3");
    EXPECT_EQ(jobs::OutputFolderFromText(""), "/");
    EXPECT_EQ(jobs::OutputFolderFromText("/srv/out"), "/srv/out/");
    EXPECT_EQ(jobs::OutputFolderFromText("/srv/out/"), "/srv/out/");
}

TEST(OutputNames, CommandLines) {
    jobs::AudioSettings defaults;
    jobs::AudioSettings stereo{false, "128", "22050", false};
    jobs::AudioSettings mono{false, "64", "44100", true};
    struct Case {
        jobs::AudioSettings audio;
        std::string text;
        std::vector<std::string> argv;
    } cases[] = {
        {defaults, "\"/e/enc\" -i \"/in/a b.flv\" -acodec libmp3lame \"/out/a b.mp3\"",
         {"/e/enc", "-i", "/in/a b.flv", "-acodec", "libmp3lame", "/out/a b.mp3"}},
        {stereo,
         "\"/e/enc\" -i \"/in/a b.flv\" -acodec libmp3lame -ab 128k -ar 22050 -ac 2 \"/out/a b.mp3\"",
         {"/e/enc", "-i", "/in/a b.flv", "-acodec", "libmp3lame", "-ab", "128k", "-ar", "22050",
          "-ac", "2", "/out/a b.mp3"}},
        {mono,
         "\"/e/enc\" -i \"/in/a b.flv\" -acodec libmp3lame -ab 64k -ar 44100 -ac 1 \"/out/a b.mp3\"",
         {"/e/enc", "-i", "/in/a b.flv", "-acodec", "libmp3lame", "-ab", "64k", "-ar", "44100",
          "-ac", "1", "/out/a b.mp3"}},
    };
    for (const Case& c : cases) {
        const auto cmd = jobs::ConvertCommand("/e/enc", "/in/a b.flv", "/out/a b.mp3", c.audio);
        EXPECT_EQ(cmd.text, c.text);
        EXPECT_EQ(cmd.argv, c.argv);
    }
    const auto probe = jobs::ProbeCommand("/e/enc", "/in/x.flv");
    EXPECT_EQ(probe.text, "\"/e/enc\" -i \"/in/x.flv\"");
    EXPECT_EQ(probe.argv, (std::vector<std::string>{"/e/enc", "-i", "/in/x.flv"}));
}

TEST(OutputNames, FileExistsCountsOnlyReadableFiles) {
    testutil::TempDir dir;
    testutil::WriteFile(dir / "file.mp3", "x");
    fs::create_directory(dir / "folder.mp3");
    EXPECT_TRUE(jobs::FileExists(dir / "file.mp3"));
    EXPECT_FALSE(jobs::FileExists(dir / "folder.mp3"));
    EXPECT_FALSE(jobs::FileExists(dir / "none.mp3"));
    EXPECT_TRUE(jobs::PathOccupied(dir / "folder.mp3"));
    EXPECT_TRUE(jobs::IsDirectory(dir / "folder.mp3"));
    EXPECT_FALSE(jobs::IsDirectory(dir / "file.mp3"));
}

namespace {

class Conversion : public JobFixture {
protected:
    Conversion() {
        fs::create_directory(root / "out");
        fs::create_directory(root / "log");
        ::setenv("FAKE_ENCODER_LOG", (root / "log").c_str(), 1);
    }
    ~Conversion() override { ::unsetenv("FAKE_ENCODER_LOG"); }

    std::string Out(const std::string& name) const { return root / ("out/" + name); }

    // Points the output box at the "out" folder and starts; waits for the end.
    bool Convert(CConverterDialog& dlg) {
        fake.TypeText(dlg, IDC_OUTPUTDIR, root / "out");
        if (!fake.Click(dlg, IDC_START)) return false;
        return WaitRunEnd(dlg);
    }
    bool WaitRunEnd(CConverterDialog& dlg) {
        return fake.PumpUntil([&] { return !dlg.m_converting; }, 20s);
    }
    // Argument vectors of every encoder run (probes included), in order.
    std::vector<std::vector<std::string>> Runs() const {
        std::vector<std::vector<std::string>> runs;
        for (int n = 1;; ++n) {
            const std::string path = root / ("log/" + std::to_string(n) + ".args");
            if (!testutil::Exists(path)) break;
            std::vector<std::string> args;
            std::string all = testutil::ReadFile(path), arg;
            for (char c : all) {
                if (c == '\0') {
                    args.push_back(arg);
                    arg.clear();
                } else {
                    arg.push_back(c);
                }
            }
            runs.push_back(args);
        }
        return runs;
    }
    // Output paths of the conversion runs (the probes name none).
    std::vector<std::string> Outputs() const {
        std::vector<std::string> out;
        for (const auto& r : Runs()) {
            if (r.size() > 3) out.push_back(r.back());
        }
        return out;
    }
};

}  // namespace

TEST_F(Conversion, TheExistsRule) {
    struct Case {
        int policy;
        const char* status;
        std::string output;
    } cases[] = {
        {IDC_AUTORENAME, "Renamed", "talk_2.mp3"},
        {IDC_OVERWRITE, "Overwritten", "talk.mp3"},
        {IDC_SKIP, "Skipped", ""},
    };
    const std::string clip = Media("talk.flv", "duration 00:01:00.00\nconvert: askoverwrite\n");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.status);
        fs::remove_all(root / "log");
        fs::create_directory(root / "log");
        testutil::WriteFile(Out("talk.mp3"), "old");
        testutil::WriteFile(Out("talk_1.mp3"), "old one");
        fs::remove(Out("talk_2.mp3"));
        Run([&](CConverterDialog& dlg) {
            ASSERT_TRUE(Add(dlg, {clip}));
            ASSERT_TRUE(fake.Click(dlg, c.policy));
            ASSERT_TRUE(Convert(dlg));
            EXPECT_EQ(dlg.JobList.GetItemText(0, 2), c.status);
        });
        if (c.output.empty()) {
            EXPECT_TRUE(Outputs().empty());  // no encoder run for a skipped row
            EXPECT_EQ(testutil::ReadFile(Out("talk.mp3")), "old");
        } else {
            EXPECT_EQ(Outputs(), std::vector<std::string>{Out(c.output)});
            EXPECT_NE(testutil::ReadFile(Out(c.output)).find("fake mp3"), std::string::npos);
        }
        EXPECT_EQ(testutil::ReadFile(Out("talk_1.mp3")), "old one");
    }
}

TEST_F(Conversion, SameNameFromTwoFolders) {
    fs::create_directories(root / "in/a");
    fs::create_directories(root / "in/b");
    const std::string first = Media("a/song.flv", "duration 00:00:10.00\n");
    const std::string second = Media("b/song.flv", "duration 00:00:20.00\n");
    struct Case {
        int policy;
        std::vector<std::string> statuses;
        std::vector<std::string> outputs;
    } cases[] = {
        {IDC_AUTORENAME, {"Done", "Renamed"}, {"song.mp3", "song_1.mp3"}},
        {IDC_OVERWRITE, {"Done", "Overwritten"}, {"song.mp3", "song.mp3"}},
        {IDC_SKIP, {"Done", "Skipped"}, {"song.mp3"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.statuses.back());
        fs::remove_all(root / "out");
        fs::create_directory(root / "out");
        fs::remove_all(root / "log");
        fs::create_directory(root / "log");
        Run([&](CConverterDialog& dlg) {
            ASSERT_TRUE(Add(dlg, {first, second}));
            ASSERT_TRUE(fake.Click(dlg, c.policy));
            ASSERT_TRUE(Convert(dlg));
            EXPECT_EQ(Column(dlg.JobList, 2), c.statuses);
        });
        std::vector<std::string> expected;
        for (const auto& o : c.outputs) expected.push_back(Out(o));
        EXPECT_EQ(Outputs(), expected);
    }
}

TEST_F(Conversion, AudioSettingsReachTheEncoder) {
    const std::string clip = Clip("talk.flv", "00:00:30.00");
    Run([&](CConverterDialog& dlg) {
        ASSERT_TRUE(Add(dlg, {clip}));
        ASSERT_TRUE(Convert(dlg));  // "Default settings" ticked
        ASSERT_TRUE(fake.Click(dlg, IDC_DEFAULTSETTINGS));
        ASSERT_TRUE(Convert(dlg));  // 128k, 22050 Hz, stereo as shown
        ASSERT_TRUE(fake.Click(dlg, IDC_MONO));
        dlg.m_cmbBitrate.SetCurSel(17);
        dlg.m_cmbFrequency.SetCurSel(0);
        ASSERT_TRUE(Convert(dlg));
    });
    std::vector<std::vector<std::string>> conversions;
    for (const auto& r : Runs()) {
        if (r.size() > 3) conversions.emplace_back(r.begin() + 1, r.end() - 1);  // the options
    }
    const std::string in = root / "in/talk.flv";
    EXPECT_EQ(conversions,
              (std::vector<std::vector<std::string>>{
                  {"-i", in, "-acodec", "libmp3lame"},
                  {"-i", in, "-acodec", "libmp3lame", "-ab", "128k", "-ar", "22050", "-ac", "2"},
                  {"-i", in, "-acodec", "libmp3lame", "-ab", "350k", "-ar", "6000", "-ac", "1"}}));
    EXPECT_EQ(Outputs(), (std::vector<std::string>{Out("talk.mp3"), Out("talk_1.mp3"),
                                                   Out("talk_2.mp3")}));
}

TEST_F(Conversion, SkippedRows) {
    const std::string a = Clip("a.flv", "00:00:10.00");
    const std::string b = Clip("b.flv", "00:00:20.00");
    const std::string c = Clip("c.flv", "00:00:30.00");
    struct Case {
        const char* name;
        std::vector<std::string> existing;
        std::vector<std::string> statuses;
        const char* notice;
    } cases[] = {
        {"middle", {"b.mp3"}, {"Done", "Skipped", "Done"}, "Task completed! Open the output folder now?"},
        {"last", {"c.mp3"}, {"Done", "Done", "Skipped"}, "All Flv files have been converted!"},
        {"every", {"a.mp3", "b.mp3", "c.mp3"}, {"Skipped", "Skipped", "Skipped"},
         "All Flv files have been converted!"},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        fs::remove_all(root / "out");
        fs::create_directory(root / "out");
        for (const auto& e : k.existing) testutil::WriteFile(Out(e), "kept");
        Run([&](CConverterDialog& dlg) {
            ASSERT_TRUE(Add(dlg, {a, b, c}));
            const std::size_t conversionsBefore = Outputs().size();
            ASSERT_TRUE(fake.Click(dlg, IDC_SKIP));
            fake.messageBoxes.clear();
            bool unlockedAtNotice = true;
            fake.onMessageBox = [&](const fw::fake::MessageBoxRecord&) {
                unlockedAtNotice = dlg.m_btnAdd.IsWindowEnabled();
            };
            ASSERT_TRUE(Convert(dlg));
            fake.onMessageBox = nullptr;
            EXPECT_EQ(Column(dlg.JobList, 2), k.statuses);
            ASSERT_EQ(fake.messageBoxes.size(), 1u);
            EXPECT_EQ(fake.messageBoxes[0].text, k.notice);
            EXPECT_EQ(fake.messageBoxes[0].caption, "Confirm");
            const bool skippedLast = k.statuses.back() == "Skipped";
            // The notice after a skipped last row comes before the unlocking.
            EXPECT_EQ(unlockedAtNotice, !skippedLast);
            EXPECT_EQ(fake.messageBoxes[0].type,
                      skippedLast ? fw::MB_ICONINFORMATION : fw::MB_YESNO | fw::MB_ICONINFORMATION);
            EXPECT_EQ(Outputs().size() - conversionsBefore, 3 - k.existing.size());
            EXPECT_EQ(dlg.m_progress.GetPos(), 60);
            EXPECT_EQ(dlg.m_btnStart.GetWindowText(), "Start &Converting");
            EXPECT_TRUE(dlg.m_btnAdd.IsWindowEnabled());
        });
        for (const auto& e : k.existing) EXPECT_EQ(testutil::ReadFile(Out(e)), "kept");
    }
}

TEST_F(Conversion, ProgressAndTheEndOfTheRun) {
    const std::string a = Media("a.flv", "duration 00:01:40.00\nconvert: gap 10\n"
                                         "convert: progress hms 25 25 4\n");
    const std::string b = Media("b.flv", "duration 00:00:50.00\nconvert: sleep 400\n"
                                         "convert: gap 10\nconvert: progress sec 10 10 5\n");
    Run([&](CConverterDialog& dlg) {
        ASSERT_TRUE(Add(dlg, {a, b}));
        bool unlockedAtQuestion = false;
        std::string captionAtQuestion;
        fake.onMessageBox = [&](const fw::fake::MessageBoxRecord&) {
            unlockedAtQuestion = dlg.m_btnAdd.IsWindowEnabled() && !dlg.m_converting;
            captionAtQuestion = dlg.m_btnStart.GetWindowText();
        };
        fake.PushMessageBoxAnswer(fw::IDYES);
        fake.TypeText(dlg, IDC_OUTPUTDIR, root / "out");
        ASSERT_TRUE(fake.Click(dlg, IDC_START));
        EXPECT_EQ(dlg.m_btnStart.GetWindowText(), "&Stop");
        EXPECT_TRUE(dlg.m_btnStart.IsWindowEnabled());
        EXPECT_FALSE(dlg.m_btnAdd.IsWindowEnabled());
        int lower = -1, upper = -1;
        dlg.m_progress.GetRange(lower, upper);
        EXPECT_EQ(lower, 0);
        EXPECT_EQ(upper, 150);
        // The first file: percentages in its row, the bar towards 100.
        ASSERT_TRUE(fake.PumpUntil([&] { return dlg.JobList.GetItemText(0, 2) == "Done"; }, 10s));
        EXPECT_EQ(dlg.m_progress.GetPos(), 100);  // the second file has not reported yet
        EXPECT_EQ(dlg.JobList.GetItemText(1, 2), "Ready");
        ASSERT_TRUE(fake.PumpUntil([&] { return dlg.JobList.GetItemText(1, 2) != "Ready"; }, 10s));
        EXPECT_NE(dlg.JobList.GetItemText(1, 2).find('%'), std::string::npos);
        EXPECT_GT(dlg.m_progress.GetPos(), 100);
        ASSERT_TRUE(WaitRunEnd(dlg));
        EXPECT_EQ(Column(dlg.JobList, 2), (std::vector<std::string>{"Done", "Done"}));
        EXPECT_EQ(dlg.m_progress.GetPos(), 150);
        EXPECT_TRUE(unlockedAtQuestion);
        EXPECT_EQ(captionAtQuestion, "Start &Converting");
        EXPECT_EQ(fake.openedDocuments, std::vector<std::string>{root / "out/"});
        EXPECT_EQ(dlg.OutputDir, root / "out/");
        EXPECT_EQ(dlg.m_editOutputDir.GetWindowText(), root / "out");  // the box is left as typed
    });
    EXPECT_EQ(fw::GetPrivateProfileString("General", "OutputFolder", "", Ini()), root / "out/");
}

TEST_F(Conversion, PercentagesAsTheyComeAndALongQueueFillsTheBarOnlyAtItsEnd) {
    // 70,000 s in one file; the encoder reports a little beyond it.
    const std::string big = Media("big.flv", "duration 19:26:40.00\nconvert: gap 200\n"
                                             "convert: progress sec 65536 4464 2\n"
                                             "convert: progress sec 72100 1 1\n");
    Run([&](CConverterDialog& dlg) {
        ASSERT_TRUE(Add(dlg, {big}));
        fake.TypeText(dlg, IDC_OUTPUTDIR, root / "out");
        ASSERT_TRUE(fake.Click(dlg, IDC_START));
        int lower = 0, upper = 0;
        dlg.m_progress.GetRange(lower, upper);
        EXPECT_EQ(upper, 70000);
        ASSERT_TRUE(fake.PumpUntil([&] { return dlg.JobList.GetItemText(0, 2) == "93%"; }, 10s));
        EXPECT_EQ(dlg.m_progress.GetPos(), 65536);  // well short of full
        ASSERT_TRUE(fake.PumpUntil([&] { return dlg.JobList.GetItemText(0, 2) == "103%"; }, 10s));
        ASSERT_TRUE(WaitRunEnd(dlg));
        EXPECT_EQ(dlg.JobList.GetItemText(0, 2), "Done");
        EXPECT_EQ(dlg.m_progress.GetPos(), 70000);
    });
}

TEST_F(Conversion, AFailureIsNeverReportedAsSuccess) {
    fs::create_directory(Out("occupied.mp3"));  // a folder where the output would go
    fs::create_symlink(root / "nowhere", Out("dangling.mp3"));  // counts as absent, yet is there
    struct Case {
        const char* name;
        std::string body;
    } cases[] = {
        {"exit1.flv", "convert: output full\nconvert: exit 1\n"},
        {"crash.flv", "convert: output full\nconvert: crash\n"},
        {"nooutput.flv", "convert: output none\n"},
        {"empty.flv", "convert: stderr Output file #0 does not contain any stream\\n\n"
                      "convert: output empty\nconvert: exit 1\n"},
        {"emptyok.flv", "convert: output empty\n"},
        {"occupied.flv", ""},
        {"dangling.flv", ""},
    };
    std::vector<std::string> files;
    for (const Case& c : cases) {
        files.push_back(Media(c.name, "duration 00:00:10.00\n" + c.body));
        files.push_back(Clip(std::string("good_") + c.name, "00:00:05.00"));
    }
    Run([&](CConverterDialog& dlg) {
        ASSERT_TRUE(Add(dlg, files));
        ASSERT_TRUE(fake.Click(dlg, IDC_OVERWRITE));  // cannot remove the folder either
        ASSERT_TRUE(Convert(dlg));
        std::vector<std::string> expected;
        for (std::size_t i = 0; i < std::size(cases); ++i) {
            expected.push_back("Failed");
            expected.push_back("Done");
        }
        EXPECT_EQ(Column(dlg.JobList, 2), expected);
        EXPECT_EQ(dlg.m_progress.GetPos(), 105);
    });
    EXPECT_FALSE(testutil::Exists(Out("empty.mp3")));    // empty leftovers are removed
    EXPECT_FALSE(testutil::Exists(Out("emptyok.mp3")));
    EXPECT_TRUE(testutil::Exists(Out("exit1.mp3")));     // what was written is kept
    EXPECT_TRUE(jobs::IsDirectory(Out("occupied.mp3")));
    for (const auto& o : Outputs()) {  // never started
        EXPECT_NE(o, Out("occupied.mp3"));
        EXPECT_NE(o, Out("dangling.mp3"));
    }
    EXPECT_FALSE(testutil::Exists(root / "nowhere"));
}

TEST_F(Conversion, AnEncoderThatCannotStartFailsItsRowAndTheRunGoesOn) {
    const std::string a = Clip("a.flv", "00:00:10.00");
    const std::string b = Clip("b.flv", "00:00:20.00");
    Run([&](CConverterDialog& dlg) {
        ASSERT_TRUE(Add(dlg, {a, b}));
        fs::remove(CopyInDocs());
        ASSERT_TRUE(Convert(dlg));
        EXPECT_EQ(Column(dlg.JobList, 2), (std::vector<std::string>{"Failed", "Failed"}));
        EXPECT_EQ(dlg.m_btnStart.GetWindowText(), "Start &Converting");
        EXPECT_TRUE(dlg.m_btnAdd.IsWindowEnabled());
    });
}

TEST_F(Conversion, StopDuringTheSecondOfThreeAndStartAgain) {
    const std::string a = Clip("a.flv", "00:00:10.00");
    const std::string b = Media("b.flv", "duration 00:00:20.00\nconvert: progress sec 5 1 1\n"
                                         "convert: hang\n");
    const std::string c = Clip("c.flv", "00:00:30.00");
    Run([&](CConverterDialog& dlg) {
        ASSERT_TRUE(Add(dlg, {a, b, c}));
        fake.TypeText(dlg, IDC_OUTPUTDIR, root / "out");
        ASSERT_TRUE(fake.Click(dlg, IDC_START));
        ASSERT_TRUE(fake.PumpUntil([&] { return dlg.JobList.GetItemText(1, 2) == "25%"; }, 10s));
        ASSERT_TRUE(fake.Click(dlg, IDC_START));  // "&Stop"
        fake.DeliverPending();
        EXPECT_FALSE(dlg.m_converting);
        EXPECT_EQ(Column(dlg.JobList, 2), (std::vector<std::string>{"Done", "25%", "Ready"}));
        EXPECT_EQ(dlg.m_btnStart.GetWindowText(), "Start &Converting");
        EXPECT_TRUE(dlg.m_btnAdd.IsWindowEnabled());
        EXPECT_TRUE(fake.messageBoxes.empty());

        // A new start converts every row again, from the first.
        testutil::WriteFile(root / "in/b.flv", "#fake-encoder\nduration 00:00:20.00\n");
        ASSERT_TRUE(Convert(dlg));
        EXPECT_EQ(Column(dlg.JobList, 2), (std::vector<std::string>{"Renamed", "Done", "Done"}));
    });
    const auto outputs = Outputs();
    ASSERT_EQ(outputs.size(), 5u);
    EXPECT_EQ(outputs[2], Out("a_1.mp3"));
}

TEST_F(Conversion, EventsOfAStoppedRunAreIgnored) {
    const std::string a = Media("a.flv", "duration 00:00:10.00\nconvert: progress sec 4 1 1\n"
                                         "convert: sleep 200\n");
    const std::string b = Media("b.flv", "duration 00:00:20.00\nconvert: hang\n");
    Run([&](CConverterDialog& dlg) {
        ASSERT_TRUE(Add(dlg, {a, b}));
        fake.holdPosted = true;
        fake.TypeText(dlg, IDC_OUTPUTDIR, root / "out");
        ASSERT_TRUE(fake.Click(dlg, IDC_START));
        std::this_thread::sleep_for(600ms);  // the first child has reported and ended
        ASSERT_TRUE(fake.Click(dlg, IDC_START));  // Stop, with its events still queued
        fake.holdPosted = false;
        fake.DeliverPending();
        // Its end neither marks the row nor starts the next file; its last
        // figure still shows in its row.
        EXPECT_EQ(Column(dlg.JobList, 2), (std::vector<std::string>{"40%", "Ready"}));
        EXPECT_FALSE(dlg.m_converting);
        EXPECT_EQ(Outputs().size(), 1u);

        // During a later run, figures and ends of an earlier run change nothing.
        testutil::WriteFile(a, "#fake-encoder\nduration 00:00:10.00\nconvert: hang\n");
        ASSERT_TRUE(fake.Click(dlg, IDC_START));
        const std::uint32_t old = dlg.m_runner.CurrentRun() - 1;
        dlg.PostMessage(WM_ENGINE_EVENT, MakeEngineWParam(ENGINE_PROGRESS, old), 9);
        dlg.PostMessage(WM_ENGINE_EVENT, MakeEngineWParam(ENGINE_FINISHED, old), 0);
        fake.DeliverPending();
        EXPECT_EQ(Column(dlg.JobList, 2), (std::vector<std::string>{"40%", "Ready"}));
        EXPECT_EQ(dlg.m_currentRow, 0);
        EXPECT_TRUE(dlg.m_converting);
        ASSERT_TRUE(fake.Click(dlg, IDC_START));
    });
}

TEST_F(Conversion, StartIsRefusedWithoutFilesOrFolder) {
    const std::string a = Clip("a.flv", "00:00:10.00");
    testutil::WriteFile(root / "out/a-file", "x");
    Run([&](CConverterDialog& dlg) {
        const std::string before = dlg.OutputDir;
        ASSERT_TRUE(fake.Click(dlg, IDC_START));
        ASSERT_TRUE(Add(dlg, {a}));
        for (const std::string& box : {root / "missing", root / "out/a-file"}) {
            fake.TypeText(dlg, IDC_OUTPUTDIR, box);
            ASSERT_TRUE(fake.Click(dlg, IDC_START));
        }
        ASSERT_EQ(fake.messageBoxes.size(), 3u);
        EXPECT_EQ(fake.messageBoxes[0].text, "No flv file added!");
        EXPECT_EQ(fake.messageBoxes[1].text, "The output directory does not exists!");
        EXPECT_EQ(fake.messageBoxes[2].text, "The output directory does not exists!");
        for (const auto& m : fake.messageBoxes) {
            EXPECT_EQ(m.caption, "Warning");
            EXPECT_EQ(m.type, fw::MB_ICONINFORMATION);
        }
        EXPECT_FALSE(dlg.m_converting);
        EXPECT_EQ(dlg.m_btnStart.GetWindowText(), "Start &Converting");
        EXPECT_EQ(dlg.OutputDir, before);
    });
}

TEST_F(Conversion, ClosingIsRefusedDuringARunWhichGoesOn) {
    const std::string a = Media("a.flv", "duration 00:00:10.00\nconvert: sleep 300\n");
    Run([&](CConverterDialog& dlg) {
        ASSERT_TRUE(Add(dlg, {a}));
        fake.TypeText(dlg, IDC_OUTPUTDIR, root / "out");
        ASSERT_TRUE(fake.Click(dlg, IDC_START));
        fake.ClickCloseBox(dlg);
        EXPECT_FALSE(dlg.IsEnding());
        ASSERT_TRUE(WaitRunEnd(dlg));
        EXPECT_EQ(dlg.JobList.GetItemText(0, 2), "Done");
        ASSERT_EQ(fake.messageBoxes.size(), 2u);
        EXPECT_EQ(fake.messageBoxes[0].text, "Please stop converting before close!");
    });
}

TEST_F(Conversion, TheRunGoesOnWhileTheAboutBoxIsOpen) {
    const std::string a = Media("a.flv", "duration 00:00:10.00\nconvert: sleep 200\n");
    const std::string b = Clip("b.flv", "00:00:10.00");
    Run([&](CConverterDialog& dlg) {
        ASSERT_TRUE(Add(dlg, {a, b}));
        fake.TypeText(dlg, IDC_OUTPUTDIR, root / "out");
        ASSERT_TRUE(fake.Click(dlg, IDC_START));
        fake.PushModalScript([&](fw::CDialog& about) {
            EXPECT_TRUE(WaitRunEnd(dlg));  // events are handled inside the box's own loop
            fake.PressEscape(about);
        });
        ASSERT_TRUE(fake.ChooseSystemMenu(dlg, IDM_ABOUTBOX));
        EXPECT_EQ(Column(dlg.JobList, 2), (std::vector<std::string>{"Done", "Done"}));
    });
}
