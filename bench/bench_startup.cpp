// Start-up time: from the construction of the main dialog (which unpacks the
// encoder) until its window is shown and its message loop runs, with the real
// encoder and with a 100 MB encoder file; and the unscrambling speed alone.
//
// Runs offscreen unless a display is asked for: bin/bench_startup
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/startup.h"
#include "fw/qt/qt_backend.h"
#include "ui/converter_dialog.h"

namespace {

using Clock = std::chrono::steady_clock;

std::string g_programFile;
std::string g_documents;

class BenchBackend : public fw::qt::QtBackend {
public:
    using QtBackend::QtBackend;
    std::string ProgramFilePath() override { return g_programFile; }
    std::optional<std::string> DocumentsFolder() override { return g_documents; }
};

// Closes itself as soon as its message loop delivers a message, that is once
// the window is up; notes when that happened.
class TimedDialog : public CConverterDialog {
public:
    Clock::time_point shown;

protected:
    bool OnInitDialog() override {
        const bool r = CConverterDialog::OnInitDialog();
        PostMessage(fw::WM_CLOSE, 0, 0);
        return r;
    }
    fw::LRESULT WindowProc(fw::UINT m, fw::WPARAM w, fw::LPARAM l) override {
        if (m == fw::WM_CLOSE && shown == Clock::time_point{}) shown = Clock::now();
        return CConverterDialog::WindowProc(m, w, l);
    }
};

void WriteScrambled(const std::string& path, const std::string& data) {
    std::string out = data;
    for (char& c : out) c = static_cast<char>((static_cast<unsigned char>(c) * 19) & 0xFF);
    std::ofstream(path, std::ios::binary) << out;
}

double MsSince(Clock::time_point start, Clock::time_point end) {
    return std::chrono::duration<double, std::milli>(end - start).count();
}

void Measure(const char* label, const std::string& encoderBytes, const std::string& root) {
    WriteScrambled(root + "/prog/ra3Zidoz2.dll", encoderBytes);
    std::vector<double> times;
    for (int i = 0; i < 5; ++i) {
        const auto start = Clock::now();
        TimedDialog dlg;
        dlg.DoModal();
        times.push_back(MsSince(start, dlg.shown));
    }
    double best = times[0], sum = 0;
    for (double t : times) {
        best = std::min(best, t);
        sum += t;
    }
    std::printf("%-34s %9.1f MB  start to window: best %7.1f ms, mean %7.1f ms\n", label,
                static_cast<double>(encoderBytes.size()) / 1e6, best, sum / times.size());
}

}  // namespace

int main(int argc, char** argv) {
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    char tmpl[] = "/tmp/tarnwick-bench-XXXXXX";
    const std::string root = mkdtemp(tmpl);
    mkdir((root + "/prog").c_str(), 0755);
    mkdir((root + "/docs").c_str(), 0755);
    g_programFile = root + "/prog/tandrel";
    g_documents = root + "/docs";
    BenchBackend backend(argc, argv);

    std::ifstream in(REAL_ENCODER_PATH, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    Measure("real encoder (" REAL_ENCODER_PATH ")", ss.str(), root);

    std::string big(100u << 20, '\0');
    for (std::size_t i = 0; i < big.size(); ++i) big[i] = static_cast<char>(i * 2654435761u >> 13);
    Measure("100 MB encoder file", big, root);

    // Unscrambling alone, in memory.
    const auto start = Clock::now();
    app::UnscrambleBlock(reinterpret_cast<unsigned char*>(big.data()), big.size());
    const double ms = MsSince(start, Clock::now());
    std::printf("unscramble in memory: %.1f ms for 100 MB (%.0f MB/s)\n", ms, 100.0 * 1.048576e3 / ms);

    std::system(("rm -rf '" + root + "'").c_str());
    return 0;
}
