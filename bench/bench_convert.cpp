// Converting 20 generated files of 60 s through the dialog (fake desktop,
// real runner, real encoder) against the same encoder command lines run back
// to back by a shell; prints the cost per file beyond Stop's 700 ms.
//
//   bin/bench_convert
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "bench/bench_util.h"
#include "fw/fake/fake_backend.h"
#include "ui/converter_dialog.h"

using bench::Clock;
using bench::Seconds;
namespace fs = std::filesystem;

int main() {
    constexpr int kFiles = 20;
    const std::string root = bench::MakeRoot();
    fs::create_directory(root + "/shell");
    fs::create_directory(root + "/dialog");
    const std::vector<std::string> files = bench::MakeClips(root, kFiles, 60);
    if (files.empty()) return 1;

    // The same command lines, back to back in a shell.
    std::string script;
    for (int i = 0; i < kFiles; ++i) {
        script += std::string("'") + REAL_ENCODER_PATH + "' -i '" + files[i] +
                  "' -acodec libmp3lame '" + root + "/shell/clip" + std::to_string(i) +
                  ".mp3' </dev/null 2>/dev/null\n";
    }
    std::ofstream(root + "/run.sh") << script;
    auto runShell = [&] {
        const auto s0 = Clock::now();
        if (std::system(("sh '" + root + "/run.sh'").c_str()) != 0) return 1e9;
        return Seconds(s0, Clock::now());
    };
    double shell = runShell();

    fw::fake::FakeBackend fake;
    fake.programFile = root + "/prog/tandrel";
    fake.documentsFolder = root + "/docs";
    fake.homeFolder = root;
    fw::CWinApp app;
    CConverterDialog dlg;
    app.m_pMainWnd = &dlg;
    double viaDialog = 0;
    int done = 0;
    fake.PushModalScript([&](fw::CDialog&) {
        CChildProcess::SetStopPacePercentForTesting(0);  // probing is not measured here
        fake.openFileAnswers.push_back(files);
        fake.Click(dlg, IDC_ADD);
        fake.PumpUntil([&] { return dlg.m_btnStart.IsWindowEnabled(); }, std::chrono::minutes(5));
        CChildProcess::SetStopPacePercentForTesting(100);
        fake.TypeText(dlg, IDC_OUTPUTDIR, root + "/dialog");
        const auto t0 = Clock::now();
        fake.Click(dlg, IDC_START);
        fake.PumpUntil([&] { return !dlg.m_converting; }, std::chrono::minutes(30));
        viaDialog = Seconds(t0, Clock::now());
        for (int row = 0; row < dlg.JobList.GetItemCount(); ++row) {
            done += dlg.JobList.GetItemText(row, 2) == "Done";
        }
    });
    dlg.DoModal();
    shell = std::min(shell, runShell());  // the better of a run before and one after

    std::printf("converting %d files of 60 s: %d done\n", kFiles, done);
    std::printf("  shell, back to back: %7.3f s  (%.1f ms per file)\n", shell, shell * 1e3 / kFiles);
    std::printf("  through the dialog:  %7.3f s  (%.1f ms per file)\n", viaDialog,
                viaDialog * 1e3 / kFiles);
    std::printf("  per file beyond the shell and the 700 ms pause: %.1f ms\n",
                (viaDialog - shell) * 1e3 / kFiles - 700.0);
    fs::remove_all(root);
    return 0;
}
