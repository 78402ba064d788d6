// The child process runner, driven by the scriptable fake encoder.
#include <dirent.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "engine/child_process.h"
#include "tests/test_util.h"

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

namespace {

// Records every callback with the thread-safe care a real owner must take.
class Recorder : public CChildProcess {
public:
    ~Recorder() override {
        if (!IsIdle()) Stop();
    }

    struct Snapshot {
        int started = 0;
        int terminated = 0;
        std::string stdoutText;
        std::vector<std::string> chunks;
        std::vector<std::string> figures;
        int figuresBeforeEnd = -1;  // figures seen when OnTerminated came
        std::string probeTextAtEnd;
    };
    std::atomic<int> progressDelayMs{0};

    Snapshot Get() {
        std::lock_guard lock(m_mu);
        return m_s;
    }

    // Waits until pred(snapshot) holds; false on timeout.
    template <class Pred>
    bool WaitFor(Pred pred, std::chrono::milliseconds timeout = 10s) {
        std::unique_lock lock(m_mu);
        return m_cv.wait_for(lock, timeout, [&] { return pred(m_s); });
    }

protected:
    void OnStarted(const char*) override { Update([](Snapshot& s) { ++s.started; }); }
    void OnStdoutText(const char* text) override {
        Update([&](Snapshot& s) {
            s.stdoutText += text;
            s.chunks.push_back(text);
        });
    }
    void OnProgressText(const char* figure) override {
        // A slow owner: lets the child get far ahead of the reader.
        std::this_thread::sleep_for(std::chrono::milliseconds(progressDelayMs.load()));
        Update([&](Snapshot& s) { s.figures.push_back(figure); });
    }
    void OnTerminated() override {
        const std::string text = ProbeTextCopy();
        Update([&](Snapshot& s) {
            ++s.terminated;
            s.figuresBeforeEnd = static_cast<int>(s.figures.size());
            s.probeTextAtEnd = text;
        });
    }

private:
    template <class F>
    void Update(F f) {
        {
            std::lock_guard lock(m_mu);
            f(m_s);
        }
        m_cv.notify_all();
    }
    std::mutex m_mu;
    std::condition_variable m_cv;
    Snapshot m_s;
};

int CountEntries(const char* folder) {
    int n = 0;
    if (DIR* d = ::opendir(folder)) {
        while (::readdir(d) != nullptr) ++n;
        ::closedir(d);
    }
    return n;
}

int OpenDescriptors() { return CountEntries("/proc/self/fd"); }
int Threads() { return CountEntries("/proc/self/task"); }

bool ProcessGone(pid_t pid) { return ::kill(pid, 0) != 0 && errno == ESRCH; }

// Processes of a process group that are still alive (not zombies), waiting a
// little for signals to take effect.
int LiveMembersOfGroup(pid_t group) {
    int live = 0;
    for (int attempt = 0; attempt < 100; ++attempt) {
        live = 0;
        for (const auto& e : std::filesystem::directory_iterator("/proc")) {
            const std::string stat = testutil::ReadFile(e.path().string() + "/stat");
            const auto close = stat.rfind(')');
            if (close == std::string::npos) continue;
            char state = 0;
            int ppid = 0, pgrp = 0;
            if (std::sscanf(stat.c_str() + close + 1, " %c %d %d", &state, &ppid, &pgrp) == 3 &&
                pgrp == group && state != 'Z') {
                ++live;
            }
        }
        if (live == 0) break;
        std::this_thread::sleep_for(20ms);
    }
    return live;
}

pid_t ReadPid(const std::string& path) {
    for (int i = 0; i < 200; ++i) {
        const std::string text = testutil::ReadFile(path);
        if (!text.empty() && text.back() == '\n') return static_cast<pid_t>(std::stoi(text));
        std::this_thread::sleep_for(10ms);
    }
    return -1;
}

class RunnerTest : public ::testing::Test {
protected:
    RunnerTest() { CChildProcess::SetStopPacePercentForTesting(0); }
    ~RunnerTest() override { CChildProcess::SetStopPacePercentForTesting(100); }

    // A fake encoder input with the given directives.
    std::string Script(const std::string& body, const std::string& name = "in.flv") {
        const std::string path = dir / name;
        testutil::WriteFile(path, "#fake-encoder\n" + body);
        return path;
    }
    static std::vector<std::string> Probe(const std::string& input) {
        return {FAKE_ENCODER_PATH, "-i", input};
    }
    static std::vector<std::string> Convert(const std::string& input, const std::string& output) {
        return {FAKE_ENCODER_PATH, "-i", input, "-acodec", "libmp3lame", output};
    }

    testutil::TempDir dir;
};

}  // namespace

TEST(RunnerPace, StopOnAnIdleRunnerTakes700msAndChangesNothing) {
    Recorder r;
    for (int i = 0; i < 2; ++i) {
        const auto start = Clock::now();
        r.Stop();
        const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start);
        EXPECT_GE(ms.count(), 700);
        EXPECT_LT(ms.count(), 1000);
        EXPECT_TRUE(r.IsIdle());
        EXPECT_EQ(g_childRunning.load(), 0);
    }
    EXPECT_EQ(r.Get().started + r.Get().terminated, 0);
}

TEST_F(RunnerTest, MissingProgramFailsWithoutCallbacksAndStopReleasesTheRest) {
    Recorder r;
    const int fdsBefore = OpenDescriptors();
    const int threadsBefore = Threads();
    EXPECT_FALSE(r.Start({dir / "no-such-program", "-i", "x"}, "\"no-such-program\" -i \"x\"", false));
    EXPECT_EQ(Threads(), threadsBefore);
    EXPECT_EQ(OpenDescriptors(), fdsBefore + 3);  // the runner's own pipe ends wait for Stop
    EXPECT_EQ(r.LastExit().started, false);
    r.Stop();
    EXPECT_EQ(OpenDescriptors(), fdsBefore);
    EXPECT_TRUE(r.IsIdle());
    const auto s = r.Get();
    EXPECT_EQ(s.started + s.terminated + static_cast<int>(s.chunks.size()), 0);
}

TEST_F(RunnerTest, ChildThatEndsAtOnceIsReportedExactlyOnce) {
    Recorder r;
    const std::string pidfile = dir / "pid";
    ASSERT_TRUE(r.Start(Convert(Script("pidfile " + pidfile + "\noutput none\nexit 3\n"),
                                dir / "out.mp3"),
                        "cmd", false));
    ASSERT_TRUE(r.WaitFor([](const auto& s) { return s.terminated == 1; }));
    std::this_thread::sleep_for(200ms);
    EXPECT_EQ(r.Get().terminated, 1);
    EXPECT_EQ(r.Get().started, 1);
    const ChildExit e = r.LastExit();
    EXPECT_TRUE(e.started && e.ended && !e.signaled);
    EXPECT_EQ(e.exitCode, 3);
    // Until Stop reaps it, the ended child keeps its id, so Stop cannot hit
    // another process that got the same id.
    const pid_t pid = ReadPid(pidfile);
    ASSERT_GT(pid, 0);
    const std::string stat = testutil::ReadFile("/proc/" + std::to_string(pid) + "/stat");
    EXPECT_NE(stat.find(") Z "), std::string::npos) << stat;
    r.Stop();
    EXPECT_TRUE(ProcessGone(pid));
    EXPECT_EQ(r.Get().terminated, 1);
}

TEST_F(RunnerTest, ExitStatusOfACrash) {
    Recorder r;
    ASSERT_TRUE(r.Start(Convert(Script("crash\n"), dir / "out.mp3"), "cmd", false));
    ASSERT_TRUE(r.WaitFor([](const auto& s) { return s.terminated == 1; }));
    const ChildExit e = r.LastExit();
    EXPECT_TRUE(e.signaled);
    EXPECT_EQ(e.signal, SIGSEGV);
    r.Stop();
}

TEST_F(RunnerTest, StopKillsTheChildAndWhatItStartedWithoutReportingAnEnd) {
    Recorder r;
    const std::string pidfile = dir / "pid";
    ASSERT_TRUE(r.Start(Convert(Script("pidfile " + pidfile + "\nholder 60000\nhang\n"), dir / "o"),
                        "cmd", false));
    const pid_t pid = ReadPid(pidfile);
    ASSERT_GT(pid, 0);
    EXPECT_FALSE(ProcessGone(pid));
    r.Stop();
    EXPECT_TRUE(ProcessGone(pid));
    // The holder shares the child's process group; killed with it.
    EXPECT_EQ(LiveMembersOfGroup(pid), 0);
    std::this_thread::sleep_for(100ms);
    EXPECT_EQ(r.Get().terminated, 0);
    EXPECT_TRUE(r.IsIdle());
}

TEST_F(RunnerTest, DestroyingTheOwnerKillsTheChild) {
    const std::string pidfile = dir / "pid";
    pid_t pid = -1;
    {
        Recorder r;
        ASSERT_TRUE(r.Start(Convert(Script("pidfile " + pidfile + "\nhang\n"), dir / "o"), "c", false));
        pid = ReadPid(pidfile);
        ASSERT_GT(pid, 0);
    }
    EXPECT_TRUE(ProcessGone(pid));
}

TEST_F(RunnerTest, OutputArrivesInChunksOfAtMost256AndStopsAtANul) {
    Recorder r;
    std::string long_text;
    for (int i = 0; i < 40; ++i) long_text += "line " + std::to_string(i) + " of the output\\n";
    // The pause keeps the NUL chunk apart from the text before it.
    ASSERT_TRUE(r.Start(Convert(Script("stdout " + long_text + "\nsleep 300\nstdout abc\\0def\n"),
                                dir / "o"),
                        "c", false));
    ASSERT_TRUE(r.WaitFor([](const auto& s) { return s.terminated == 1; }));
    r.Stop();
    const auto s = r.Get();
    std::string expected;
    for (int i = 0; i < 40; ++i) expected += "line " + std::to_string(i) + " of the output\n";
    ASSERT_GE(s.chunks.size(), 4u);
    for (const auto& c : s.chunks) EXPECT_LE(c.size(), 256u);
    EXPECT_EQ(s.stdoutText, expected + "abc");
    EXPECT_EQ(s.chunks.back(), "abc");
}

TEST_F(RunnerTest, ChildSeesItsStandardInputOpenAndEmpty) {
    Recorder r;
    ASSERT_TRUE(r.Start(Convert(Script("stdin\n"), dir / "o"), "c", false));
    ASSERT_TRUE(r.WaitFor([](const auto& s) { return s.terminated == 1; }));
    r.Stop();
    EXPECT_EQ(r.Get().stdoutText, "stdin:open-empty\n");
}

TEST_F(RunnerTest, ArgumentsReachTheChildByteForByte) {
    const std::string log = dir / "log";
    std::filesystem::create_directory(log);
    ::setenv("FAKE_ENCODER_LOG", log.c_str(), 1);
    const std::vector<std::string> argv = {
        FAKE_ENCODER_PATH, "-i", dir / "a b \"q\" $HOME \\x 'y'\nnew line Ünïcødé.flv", "-acodec",
        "libmp3lame", dir / "out  $(rm -rf x).mp3"};
    Recorder r;
    ASSERT_TRUE(r.Start(argv, "shown", false));
    ASSERT_TRUE(r.WaitFor([](const auto& s) { return s.terminated == 1; }));
    r.Stop();
    ::unsetenv("FAKE_ENCODER_LOG");
    const std::string logged = testutil::ReadFile(log + "/1.args");
    std::string expected;
    for (const auto& a : argv) expected += a + '\0';
    EXPECT_EQ(logged, expected);
}

TEST_F(RunnerTest, ProbeCollectsTheDurationAfterALongHeaderInSmallPieces) {
    for (const char* header : {"1900", "6000"}) {
        Recorder r;
        r.m_probeMode = true;
        ASSERT_TRUE(r.Start(Probe(Script(std::string("chunk 7\nbanner ") + header +
                                         "\nduration 00:03:25.50\nbanner 3000\nexit 1\n")),
                            "c", false));
        ASSERT_TRUE(r.WaitFor([](const auto& s) { return s.terminated == 1; }));
        r.Stop();
        EXPECT_EQ(engine::ParseDuration(r.Get().probeTextAtEnd.c_str()), 205) << header;
        EXPECT_LT(r.Get().probeTextAtEnd.size(), 2048u);
    }
}

TEST_F(RunnerTest, LastProgressComesBeforeTheEnd) {
    Recorder r;
    r.m_probeMode = false;
    r.progressDelayMs = 5;
    // The figures come faster than the owner takes them; the last one comes
    // alone, right before the end.
    ASSERT_TRUE(r.Start(Convert(Script("progress hms 0 1 299\nsleep 30\nprogress hms 299 1 1\n"
                                       "output none\n"),
                                dir / "o.mp3"),
                        "c", false));
    ASSERT_TRUE(r.WaitFor([](const auto& s) { return s.terminated == 1; }));
    r.Stop();
    const auto s = r.Get();
    ASSERT_FALSE(s.figures.empty());
    // No figure came after the end was reported.
    EXPECT_EQ(s.figuresBeforeEnd, static_cast<int>(s.figures.size()));
}

TEST_F(RunnerTest, ConversionOutputIsNotCollected) {
    Recorder r;
    r.m_probeMode = true;
    ASSERT_TRUE(r.Start(Probe(Script("duration 00:00:42.00\n")), "c", false));
    ASSERT_TRUE(r.WaitFor([](const auto& s) { return s.terminated == 1; }));
    r.Stop();
    r.m_probeMode = false;
    ASSERT_TRUE(r.Start(Convert(Script("duration 00:09:00.00\nprogress sec 1 1 3\n", "b.flv"),
                                dir / "o"),
                        "c", false));
    ASSERT_TRUE(r.WaitFor([](const auto& s) { return s.terminated == 2; }));
    r.Stop();
    EXPECT_EQ(engine::ParseDuration(r.ProbeTextCopy().c_str()), 42);
}

TEST_F(RunnerTest, AGrandchildHoldingThePipesDelaysTheEndOnlyBriefly) {
    Recorder r;
    r.m_probeMode = true;
    const auto start = Clock::now();
    ASSERT_TRUE(r.Start(Probe(Script("duration 00:00:05.00\nholder 20000\n")), "c", false));
    ASSERT_TRUE(r.WaitFor([](const auto& s) { return s.terminated == 1; }, 15s));
    EXPECT_LT(Clock::now() - start, 5s);
    EXPECT_EQ(engine::ParseDuration(r.Get().probeTextAtEnd.c_str()), 5);
    r.Stop();  // ends the grandchild too
}

TEST_F(RunnerTest, AReadErrorEndsAReaderInsteadOfSpinning) {
    Recorder r;
    const int folder = ::open(dir.path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    ASSERT_GE(folder, 0);
    g_childRunning = 1;
    const auto start = Clock::now();
    EXPECT_EQ(r.ReadStdout(folder), 0);  // reading a folder fails at once
    EXPECT_EQ(r.ReadStderr(folder), 0);
    EXPECT_LT(Clock::now() - start, 1s);
    g_childRunning = 0;
    ::close(folder);
}

TEST_F(RunnerTest, NothingOutlivesStopOverManyCycles) {
    const std::string quick = Script("stdout hello\\n\nduration 00:00:03.00\n", "quick.flv");
    const std::string slow = Script("progress hms 0 1 5\nhang\n", "slow.flv");
    Recorder r;
    // Warm up once so lazily made process-wide things exist before counting.
    ASSERT_TRUE(r.Start(Probe(quick), "c", false));
    r.Stop();
    const int fdsBefore = OpenDescriptors();
    const int threadsBefore = Threads();
    int ended = 0;
    for (int i = 0; i < 300; ++i) {
        switch (i % 3) {
            case 0:  // ends by itself before Stop
                r.m_probeMode = true;
                ASSERT_TRUE(r.Start(Probe(quick), "c", false));
                ASSERT_TRUE(r.WaitFor([&](const auto& s) { return s.terminated == ended + 1; }));
                ++ended;
                break;
            case 1:  // still running at Stop
                r.m_probeMode = false;
                ASSERT_TRUE(r.Start(Convert(slow, dir / "o.mp3"), "c", false));
                break;
            case 2:  // cannot start
                ASSERT_FALSE(r.Start({dir / "missing"}, "c", false));
                break;
        }
        r.Stop();
        const int terminatedAfterStop = r.Get().terminated;
        ASSERT_EQ(terminatedAfterStop, ended) << "a callback came after Stop, cycle " << i;
    }
    std::this_thread::sleep_for(100ms);
    EXPECT_EQ(r.Get().terminated, ended);  // nothing late either
    EXPECT_EQ(OpenDescriptors(), fdsBefore);
    EXPECT_EQ(Threads(), threadsBefore);
}
