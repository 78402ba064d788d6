// Engine events posted by the encoder runner to the application's main window.
#include <gtest/gtest.h>

#include <vector>

#include "engine/encoder_process.h"
#include "fw/fake/fake_backend.h"
#include "tests/test_util.h"

using namespace std::chrono_literals;

namespace {

struct Event {
    int code;
    std::uint32_t run;
    fw::LPARAM value;
};

// A main window that records the engine events it receives.
class EventSink : public fw::CWnd {
public:
    EventSink() { AttachNewHandle(); }
    fw::LRESULT WindowProc(fw::UINT message, fw::WPARAM w, fw::LPARAM l) override {
        if (message == WM_ENGINE_EVENT) events.push_back({EngineEventCode(w), EngineEventRun(w), l});
        return 1;
    }
    std::vector<Event> events;
    bool Finished() const {
        for (const Event& e : events)
            if (e.code == ENGINE_FINISHED) return true;
        return false;
    }
};

class EncoderEvents : public ::testing::Test {
protected:
    EncoderEvents() {
        CChildProcess::SetStopPacePercentForTesting(0);
        app.m_pMainWnd = &sink;
    }
    ~EncoderEvents() override { CChildProcess::SetStopPacePercentForTesting(100); }

    std::string Script(const std::string& body) {
        testutil::WriteFile(dir / "in.flv", "#fake-encoder\n" + body);
        return dir / "in.flv";
    }
    void Run(bool probe, const std::string& body) {
        runner.m_probeMode = probe;
        std::vector<std::string> argv = {FAKE_ENCODER_PATH, "-i", Script(body)};
        if (!probe) argv.push_back(dir / "out.mp3");
        ASSERT_TRUE(runner.Start(argv, "cmd", false));
        ASSERT_TRUE(fake.PumpUntil([&] { return sink.Finished(); }, 10s));
        runner.Stop();
        fake.DeliverPending();
    }
    std::vector<Event> Of(int code) const {
        std::vector<Event> out;
        for (const Event& e : sink.events)
            if (e.code == code) out.push_back(e);
        return out;
    }

    testutil::TempDir dir;
    fw::fake::FakeBackend fake;
    fw::CWinApp app;
    EventSink sink;
    CEncoderProcess runner;
};

}  // namespace

TEST_F(EncoderEvents, ProbeReportsTheDurationOnce) {
    Run(true, "banner 1900\nduration 00:03:25.50\nstdout x\nexit 1\n");
    ASSERT_EQ(Of(ENGINE_STARTED).size(), 1u);
    EXPECT_EQ(Of(ENGINE_STARTED)[0].value, 0);
    ASSERT_EQ(Of(ENGINE_STDOUT).size(), 1u);
    ASSERT_EQ(Of(ENGINE_FINISHED).size(), 1u);
    EXPECT_EQ(Of(ENGINE_FINISHED)[0].value, 205);
    EXPECT_TRUE(Of(ENGINE_PROGRESS).empty());  // no progress in a probe
    for (const Event& e : sink.events) EXPECT_EQ(e.run, runner.CurrentRun());
}

TEST_F(EncoderEvents, ProbeOfAnUnreadableInputReportsZero) {
    runner.m_probeMode = true;
    ASSERT_TRUE(runner.Start({FAKE_ENCODER_PATH, "-i", dir / "missing.flv"}, "cmd", false));
    ASSERT_TRUE(fake.PumpUntil([&] { return sink.Finished(); }, 10s));
    runner.Stop();
    EXPECT_EQ(Of(ENGINE_FINISHED)[0].value, 0);
}

TEST_F(EncoderEvents, ConversionReportsSecondsAndFinishesWithZero) {
    Run(false, "duration 00:00:30.00\ngap 20\nprogress hms 0 10 3\nprogress sec 30.5 1 1\n"
               "progress na 0 0 1\n");
    std::vector<fw::LPARAM> values;
    for (const Event& e : Of(ENGINE_PROGRESS)) values.push_back(e.value);
    EXPECT_EQ(values, (std::vector<fw::LPARAM>{0, 10, 20, 30}));
    ASSERT_EQ(Of(ENGINE_FINISHED).size(), 1u);
    EXPECT_EQ(Of(ENGINE_FINISHED)[0].value, 0);  // whatever the encoder printed
    EXPECT_EQ(sink.events.back().code, ENGINE_FINISHED);
}

TEST_F(EncoderEvents, EveryRunHasItsOwnNumberAndAStoppedRunReportsNoEnd) {
    Run(true, "duration 00:00:01.00\n");
    const std::uint32_t first = runner.CurrentRun();
    sink.events.clear();
    runner.m_probeMode = false;
    ASSERT_TRUE(runner.Start({FAKE_ENCODER_PATH, "-i", Script("progress hms 0 1 2\nhang\n"),
                              dir / "o.mp3"},
                             "cmd", false));
    EXPECT_NE(runner.CurrentRun(), first);
    ASSERT_TRUE(fake.PumpUntil([&] { return !Of(ENGINE_PROGRESS).empty(); }, 10s));
    runner.Stop();
    fake.DeliverPending();
    EXPECT_TRUE(Of(ENGINE_FINISHED).empty());
    for (const Event& e : sink.events) EXPECT_EQ(e.run, runner.CurrentRun());
}
