// The runner's own cost: a Start/Stop cycle beyond Stop's 700 ms of pauses,
// and the CPU the worker threads use while a child writes nothing.
//
//   bin/bench_runner
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <thread>

#include "engine/child_process.h"

namespace {

using Clock = std::chrono::steady_clock;

double CpuSeconds() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return static_cast<double>(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
           static_cast<double>(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

}  // namespace

int main() {
    CChildProcess runner;
    const std::vector<std::string> silent = {"/bin/sleep", "1000"};

    constexpr int kCycles = 20;
    const auto start = Clock::now();
    for (int i = 0; i < kCycles; ++i) {
        runner.Start(silent, "sleep 1000", false);
        runner.Stop();
    }
    const double total = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    std::printf("Start/Stop cycle: %.1f ms each, %.2f ms beyond the 700 ms of pauses\n",
                total / kCycles, total / kCycles - 700.0);

    runner.Start(silent, "sleep 1000", false);
    const double cpu0 = CpuSeconds();
    std::this_thread::sleep_for(std::chrono::seconds(3));
    const double cpu = CpuSeconds() - cpu0;
    runner.Stop();
    std::printf("CPU used by the runner while its child is silent: %.3f ms over 3 s\n", cpu * 1e3);
    return 0;
}
