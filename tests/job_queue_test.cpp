// Adding, removing and clearing files, and probing each one, with the fake
// encoder standing in for the real one.
#include <signal.h>

#include <filesystem>
#include <set>
#include <thread>

#include "tests/job_fixture.h"

using JobQueue = JobFixture;

TEST_F(JobQueue, ReadableFileBecomesAReadyRow) {
    const std::string clip = Clip("talk.flv", "00:03:25.50");
    Run([&](CConverterDialog& dlg) {
        ASSERT_TRUE(Add(dlg, {clip}));
        EXPECT_EQ(Column(dlg.JobStore, 0), std::vector<std::string>{clip});
        EXPECT_EQ(Column(dlg.JobStore, 1), std::vector<std::string>{"205"});
        EXPECT_EQ(Column(dlg.JobList, 0), std::vector<std::string>{"talk.flv"});
        EXPECT_EQ(Column(dlg.JobList, 1), std::vector<std::string>{root / "in/"});
        EXPECT_EQ(Column(dlg.JobList, 2), std::vector<std::string>{"Ready"});
        EXPECT_TRUE(fake.messageBoxes.empty());
        EXPECT_EQ(fake.openFileFilters, std::vector<std::string>{
                                            "Flv files(*.flv;*.f4v)|*.flv;*.f4v|Mp4 files(*.mp4;"
                                            "*.m4v)|*.mp4;*.m4v|All files(*.*)|*.*||"});
    });
}

TEST_F(JobQueue, FilesThatCannotBeMeasuredAreDroppedAndTheRestKeepTheirOrder) {
    const std::vector<std::string> files = {
        Clip("a.flv", "00:00:10.00"),
        Media("text.flv", "this is no media"),          // no duration at all
        Clip("one.mp4", "00:00:01.00"),                 // exactly one second: kept
        Clip("short.m4v", "00:00:00.80"),               // under one second: dropped
        root / "in/missing.flv",                        // gone before it was measured
        Clip("long.f4v", "123:04:05.00"),               // a hundred hours and more
        Media("late.flv", "banner 6000\nduration 00:01:40.00\n"),  // after a long header
    };
    testutil::WriteFile(root / "in/text.flv", "this is no media");
    Run([&](CConverterDialog& dlg) {
        ASSERT_TRUE(Add(dlg, files));
        EXPECT_EQ(Column(dlg.JobList, 0),
                  (std::vector<std::string>{"a.flv", "one.mp4", "long.f4v", "late.flv"}));
        EXPECT_EQ(Column(dlg.JobStore, 1), (std::vector<std::string>{"10", "1", "443045", "100"}));
        EXPECT_EQ(Column(dlg.JobStore, 0),
                  (std::vector<std::string>{files[0], files[2], files[5], files[6]}));
        EXPECT_EQ(MessageTexts(),
                  (std::vector<std::string>{"Failed to load: " + files[1],
                                            "Failed to load: " + files[3],
                                            "Failed to load: " + files[4]}));
        for (const auto& m : fake.messageBoxes) {
            EXPECT_EQ(m.caption, "Warning");
            EXPECT_EQ(m.type, fw::MB_ICONINFORMATION);
        }
    });
}

TEST_F(JobQueue, WithoutTheEncoderEveryFileFailsInOrderAndTheListsStayAsTheyWere) {
    const std::string kept = Clip("kept.flv", "00:00:05.00");
    const std::vector<std::string> files = {Clip("x.flv", "00:00:05.00"), Clip("y.flv", "00:00:06.00"),
                                            Clip("z.flv", "00:00:07.00")};
    Run([&](CConverterDialog& dlg) {
        ASSERT_TRUE(Add(dlg, {kept}));
        std::filesystem::remove(CopyInDocs());
        ASSERT_TRUE(Add(dlg, files));
        EXPECT_EQ(MessageTexts(), (std::vector<std::string>{"Failed to load: " + files[0],
                                                            "Failed to load: " + files[1],
                                                            "Failed to load: " + files[2]}));
        EXPECT_EQ(Column(dlg.JobStore, 0), std::vector<std::string>{kept});
        EXPECT_EQ(Column(dlg.JobList, 0), std::vector<std::string>{"kept.flv"});
    });
}

TEST_F(JobQueue, ThousandsOfFilesThatCannotStartDoNotDeepenTheStack) {
    std::filesystem::remove(root / "prog/ra3Zidoz2.dll");  // no encoder at all
    std::vector<std::string> files;
    for (int i = 0; i < 3000; ++i) files.push_back(root / ("in/f" + std::to_string(i) + ".flv"));
    Run([&](CConverterDialog& dlg) {
        ASSERT_TRUE(Add(dlg, files));
        EXPECT_EQ(fake.messageBoxes.size(), 3000u);
        EXPECT_EQ(fake.messageBoxes.back().text, "Failed to load: " + files.back());
        EXPECT_EQ(dlg.JobStore.GetItemCount(), 0);
    });
}

TEST_F(JobQueue, DuplicatesAreRefusedByExactPath) {
    const std::string a = Clip("a.flv", "00:00:05.00");
    const std::string c = Clip("c.flv", "00:00:06.00");
    const std::string upper = Clip("A.flv", "00:00:07.00");
    Run([&](CConverterDialog& dlg) {
        ASSERT_TRUE(Add(dlg, {a}));
        // Already queued, twice in one selection, and the same name in
        // another letter case (a different file here).
        ASSERT_TRUE(Add(dlg, {a, c, "  " + c + "\t", upper}));
        EXPECT_EQ(Column(dlg.JobList, 0), (std::vector<std::string>{"a.flv", "c.flv", "A.flv"}));
        ASSERT_EQ(fake.messageBoxes.size(), 2u);
        EXPECT_EQ(fake.messageBoxes[0].text, "The file:\r\n" + a + "\r\nhas already been added!");
        EXPECT_EQ(fake.messageBoxes[1].text, "The file:\r\n" + c + "\r\nhas already been added!");
        EXPECT_EQ(fake.messageBoxes[0].caption, "Warning");
        EXPECT_EQ(fake.messageBoxes[0].type, fw::MB_OK);  // no icon

        // Only duplicates: messages, then the window as before.
        fake.messageBoxes.clear();
        ASSERT_TRUE(Add(dlg, {a, c}));
        EXPECT_EQ(fake.messageBoxes.size(), 2u);
        EXPECT_EQ(dlg.JobList.GetItemCount(), 3);
        EXPECT_EQ(dlg.JobStore.GetItemCount(), 3);
        EXPECT_TRUE(dlg.m_btnAdd.IsWindowEnabled());
    });
}

TEST_F(JobQueue, CancellingTheFileDialogChangesNothing) {
    Run([&](CConverterDialog& dlg) {
        bool lockedWhileOpen = true;
        fake.onOpenFileDialog = [&] { lockedWhileOpen = !dlg.m_btnStart.IsWindowEnabled(); };
        ASSERT_TRUE(fake.Click(dlg, IDC_ADD));  // no answer queued: cancel
        EXPECT_FALSE(lockedWhileOpen);
        EXPECT_TRUE(dlg.m_btnStart.IsWindowEnabled());
        EXPECT_TRUE(dlg.m_btnAdd.IsWindowEnabled());
        EXPECT_EQ(dlg.JobStore.GetItemCount(), 0);
        EXPECT_EQ(fake.openFileFilters.size(), 1u);
    });
}

TEST_F(JobQueue, RemoveAndClearKeepTheTwoListsInStep) {
    std::vector<std::string> files;
    for (const char* n : {"0.flv", "1.flv", "2.flv", "3.flv", "4.flv"}) {
        files.push_back(Clip(n, "00:00:0" + std::string(1, n[0] + 1) + ".00"));
    }
    Run([&](CConverterDialog& dlg) {
        ASSERT_TRUE(Add(dlg, files));
        ASSERT_TRUE(fake.Click(dlg, IDC_REMOVE));  // nothing selected: nothing happens
        EXPECT_EQ(dlg.JobList.GetItemCount(), 5);
        ASSERT_TRUE(fake.SelectRows(dlg, IDC_JOBLIST, {0, 2, 4}));
        ASSERT_TRUE(fake.Click(dlg, IDC_REMOVE));
        EXPECT_EQ(Column(dlg.JobList, 0), (std::vector<std::string>{"1.flv", "3.flv"}));
        EXPECT_EQ(Column(dlg.JobStore, 0), (std::vector<std::string>{files[1], files[3]}));
        EXPECT_EQ(Column(dlg.JobStore, 1), (std::vector<std::string>{"2", "4"}));
        ASSERT_TRUE(fake.Click(dlg, IDC_CLEAR));
        EXPECT_EQ(dlg.JobList.GetItemCount(), 0);
        EXPECT_EQ(dlg.JobStore.GetItemCount(), 0);
        ASSERT_TRUE(fake.Click(dlg, IDC_CLEAR));  // on empty lists too
    });
}

TEST_F(JobQueue, ControlsDuringAndAfterProbing) {
    const std::string slow = Media("slow.flv", "sleep 300\nduration 00:00:09.00\n");
    for (bool defaults : {true, false}) {
        SCOPED_TRACE(defaults ? "default settings ticked" : "unticked");
        Run([&](CConverterDialog& dlg) {
            if (!defaults) {
                ASSERT_TRUE(fake.Click(dlg, IDC_DEFAULTSETTINGS));
            }
            fake.openFileAnswers.push_back(std::vector<std::string>{slow});
            ASSERT_TRUE(fake.Click(dlg, IDC_ADD));
            // The file is pending: nothing that changes the queue can be used.
            EXPECT_EQ(dlg.JobList.GetItemCount(), 0);
            for (int id : {IDC_START, IDC_ADD, IDC_REMOVE, IDC_CLEAR, IDC_EXIT, IDC_BITRATE,
                           IDC_MONO, IDC_DEFAULTSETTINGS, IDC_OUTPUTDIR}) {
                EXPECT_FALSE(fake.Control(dlg, id).enabled) << id;
            }
            EXPECT_TRUE(fake.Control(dlg, IDC_MOREDOWNLOADS).enabled);
            ASSERT_TRUE(WaitIdle(dlg));
            EXPECT_EQ(dlg.JobList.GetItemCount(), 1);
            for (int id : {IDC_BITRATE, IDC_FREQUENCY, IDC_MONO, IDC_STEREO}) {
                EXPECT_EQ(fake.Control(dlg, id).enabled, !defaults) << id;
            }
        });
    }
}

TEST_F(JobQueue, ClosingDuringProbingEndsItAtOnceWithoutMessages) {
    const std::string pidfile = root / "probe.pid";
    const std::vector<std::string> files = {
        Media("a.flv", "pidfile " + pidfile + "\nsleep 5000\nduration 00:00:09.00\n"),
        Clip("b.flv", "00:00:05.00"), Clip("c.flv", "00:00:05.00")};
    pid_t pid = -1;
    Run([&](CConverterDialog& dlg) {
        fake.openFileAnswers.push_back(files);
        ASSERT_TRUE(fake.Click(dlg, IDC_ADD));
        for (int i = 0; i < 200 && pid <= 0; ++i) {
            const std::string text = testutil::ReadFile(pidfile);
            if (!text.empty() && text.back() == '\n') pid = std::stoi(text);
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        fake.ClickCloseBox(dlg);  // allowed: no conversion runs
        EXPECT_TRUE(dlg.IsEnding());
    });
    EXPECT_TRUE(fake.messageBoxes.empty());
    ASSERT_GT(pid, 0);
    EXPECT_NE(::kill(pid, 0), 0);  // the probe child was ended with the window
    EXPECT_FALSE(testutil::Exists(CopyInDocs()));
}

TEST_F(JobQueue, AnEndArrivingAfterTheWindowStartedClosingIsIgnored) {
    const std::vector<std::string> files = {Clip("a.flv", "00:00:09.00"), Clip("b.flv", "00:00:05.00")};
    Run([&](CConverterDialog& dlg) {
        fake.holdPosted = true;
        fake.openFileAnswers.push_back(files);
        ASSERT_TRUE(fake.Click(dlg, IDC_ADD));
        ASSERT_TRUE(fake.WaitForPosted(std::chrono::seconds(10)));
        std::this_thread::sleep_for(std::chrono::milliseconds(300));  // the child has ended
        fake.ClickCloseBox(dlg);
        fake.holdPosted = false;
        fake.DeliverPending();  // its ENGINE_FINISHED now changes nothing
        EXPECT_EQ(dlg.JobList.GetItemCount(), 0);
    });
    EXPECT_TRUE(fake.messageBoxes.empty());
}
