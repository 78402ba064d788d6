// Probing 100 generated files through the dialog (fake desktop, real runner,
// real encoder), against the encoder's own probe time for the same files run
// back to back; prints the cost per file beyond Stop's 700 ms.
//
//   bin/bench_probe
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/bench_util.h"
#include "fw/fake/fake_backend.h"
#include "ui/converter_dialog.h"

extern char** environ;

namespace {

using bench::Clock;
using bench::Seconds;
namespace fs = std::filesystem;

// Runs the encoder on one file the way a probe does, with its output discarded.
void ProbeDirectly(const std::string& file) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    const char* argv[] = {REAL_ENCODER_PATH, "-i", file.c_str(), nullptr};
    pid_t pid;
    if (posix_spawn(&pid, argv[0], &actions, nullptr, const_cast<char**>(argv), environ) == 0) {
        int status;
        waitpid(pid, &status, 0);
    }
    posix_spawn_file_actions_destroy(&actions);
}

}  // namespace

int main() {
    constexpr int kFiles = 100;
    const std::string root = bench::MakeRoot();
    const std::vector<std::string> files = bench::MakeClips(root, kFiles, 60);
    if (files.empty()) return 1;

    const auto d0 = Clock::now();
    for (const auto& f : files) ProbeDirectly(f);
    const double direct = Seconds(d0, Clock::now());

    fw::fake::FakeBackend fake;
    fake.programFile = root + "/prog/tandrel";
    fake.documentsFolder = root + "/docs";
    fake.homeFolder = root;
    fw::CWinApp app;
    CConverterDialog dlg;
    app.m_pMainWnd = &dlg;
    double viaDialog = 0;
    int rows = 0;
    fake.PushModalScript([&](fw::CDialog&) {
        fake.openFileAnswers.push_back(files);
        const auto t0 = Clock::now();
        fake.Click(dlg, IDC_ADD);
        fake.PumpUntil([&] { return dlg.m_btnStart.IsWindowEnabled(); }, std::chrono::minutes(10));
        viaDialog = Seconds(t0, Clock::now());
        rows = dlg.JobList.GetItemCount();
    });
    dlg.DoModal();

    std::printf("probing %d files: %d measured\n", kFiles, rows);
    std::printf("  encoder alone, back to back: %7.3f s  (%.1f ms per file)\n", direct,
                direct * 1e3 / kFiles);
    std::printf("  through the dialog:          %7.3f s  (%.1f ms per file)\n", viaDialog,
                viaDialog * 1e3 / kFiles);
    std::printf("  per file beyond the encoder and the 700 ms pause: %.1f ms\n",
                (viaDialog - direct) * 1e3 / kFiles - 700.0);
    fs::remove_all(root);
    return 0;
}
