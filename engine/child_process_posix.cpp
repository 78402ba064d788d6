// The runner on POSIX: pipes, posix_spawn, a process group per child, and
// threads that end on end-of-file or on the stop pipe (never killed).
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <thread>

#include "engine/child_process.h"

extern char** environ;

std::atomic<int> g_childRunning{0};

namespace {

std::atomic<int> g_stopPacePercent{100};

// How long the exit watcher waits for the readers to deliver the last
// output of a child that has ended; only a grandchild that keeps the pipe
// open makes it wait that long.
constexpr auto kDrainWait = std::chrono::milliseconds(2000);

// Size of one read of the child's output.
constexpr std::size_t kChunk = 256;

// Waits until `fd` can be read or the stop pipe is signalled; false on stop
// or on an error of poll itself.
bool WaitReadable(int fd, int stopFd) {
    for (;;) {
        struct pollfd fds[2] = {{fd, POLLIN, 0}, {stopFd, POLLIN, 0}};
        const int r = ::poll(fds, 2, -1);
        if (r < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (fds[1].revents != 0) return false;
        if (fds[0].revents != 0) return true;
    }
}

// One read of at most kChunk bytes into buffer (NUL-terminated): the byte
// count, 0 at end of file or on stop, -1 on a read error.
ssize_t ReadChunk(int fd, int stopFd, char* buffer) {
    if (!WaitReadable(fd, stopFd)) return 0;
    ssize_t n;
    do {
        n = ::read(fd, buffer, kChunk);
    } while (n < 0 && errno == EINTR);
    buffer[n > 0 ? n : 0] = '\0';
    return n;
}

}  // namespace

CChildProcess::CChildProcess() { g_childRunning.store(0); }

CChildProcess::~CChildProcess() {
    // Nothing to end on an idle runner, so no need for Stop's pauses then.
    if (!IsIdle()) Stop();
}

void CChildProcess::SetStopPacePercentForTesting(int percent) { g_stopPacePercent.store(percent); }

void CChildProcess::Pause(int ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms * g_stopPacePercent.load() / 100));
}

bool CChildProcess::IsIdle() const {
    return !(m_hProcess > 0 || m_hStopEvent >= 0 || m_hStdinWrite >= 0 || m_hStdoutRead >= 0 ||
           m_hStderrRead >= 0 || m_watchThreadRunning || m_stdoutThreadRunning ||
           m_stderrThreadRunning);
}

void CChildProcess::CloseFd(int& fd) {
    if (fd >= 0) ::close(fd);
    fd = -1;
}

bool CChildProcess::Start(const std::vector<std::string>& argv, const std::string& commandLine,
                          bool showWindow) {
    int in[2], out[2], err[2], stop[2];
    if (::pipe2(in, O_CLOEXEC) != 0) return false;
    if (::pipe2(out, O_CLOEXEC) != 0) {
        ::close(in[0]), ::close(in[1]);
        return false;
    }
    if (::pipe2(err, O_CLOEXEC) != 0) {
        ::close(in[0]), ::close(in[1]), ::close(out[0]), ::close(out[1]);
        return false;
    }
    m_hChildStdin = in[0];
    m_hStdinWrite = in[1];
    m_hStdoutRead = out[0];
    m_hChildStdout = out[1];
    m_hStderrRead = err[0];
    m_hChildStderr = err[1];

    m_run.fetch_add(1);
    {
        std::lock_guard lock(m_mutex);
        m_lastExit = ChildExit{};
        m_stdoutDone = false;
        m_stderrDone = false;
        m_stopRequested = false;
    }
    g_childRunning.store(1);
    m_hProcess = CreateChild(argv, m_hChildStdout, m_hChildStdin, m_hChildStderr, showWindow);

    // The child holds its own ends now; closing ours lets the readers see the
    // end of the output when the child (and whatever it started) is gone.
    CloseFd(m_hChildStdin);
    CloseFd(m_hChildStdout);
    CloseFd(m_hChildStderr);
    if (m_hProcess <= 0) {
        m_hProcess = -1;
        return false;  // the runner's ends stay until the next Stop
    }
    {
        std::lock_guard lock(m_mutex);
        m_lastExit.started = true;
        if (m_probeMode.load()) m_probeText.Clear();
    }

    if (::pipe2(stop, O_CLOEXEC) == 0) {
        m_hStopEvent = stop[0];
        m_hStopSignal = stop[1];
    }
    if (m_hStopEvent < 0 || !StartThread(m_hStdoutThread, m_stdoutThreadRunning, StdoutEntry) ||
        !StartThread(m_hStderrThread, m_stderrThreadRunning, StderrEntry) ||
        !StartThread(m_hWatchThread, m_watchThreadRunning, WatchEntry)) {
        // Without its threads the run cannot be followed: end it at once.
        g_childRunning.store(0);
        SignalStop();
        ::kill(-m_hProcess, SIGKILL);
        JoinThread(m_hWatchThread, m_watchThreadRunning);
        JoinThread(m_hStdoutThread, m_stdoutThreadRunning);
        JoinThread(m_hStderrThread, m_stderrThreadRunning);
        Reap();
        return false;
    }
    OnStarted(commandLine.c_str());
    return true;
}

pid_t CChildProcess::CreateChild(const std::vector<std::string>& argv, int hStdout, int hStdin,
                                 int hStderr, bool /*showWindow: a console child has no window here*/) {
    if (argv.empty()) return -1;
    std::vector<char*> args;
    for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawnattr_t attr;
    posix_spawn_file_actions_init(&actions);
    posix_spawnattr_init(&attr);
    posix_spawn_file_actions_adddup2(&actions, hStdin, 0);
    posix_spawn_file_actions_adddup2(&actions, hStdout, 1);
    posix_spawn_file_actions_adddup2(&actions, hStderr, 2);
    // Nothing else of this process reaches the child.
    posix_spawn_file_actions_addclosefrom_np(&actions, 3);

    // A process group of its own, so Stop ends it with whatever it started;
    // default signal handling whatever this process has set up.
    sigset_t none, all;
    sigemptyset(&none);
    sigfillset(&all);
    posix_spawnattr_setpgroup(&attr, 0);
    posix_spawnattr_setsigmask(&attr, &none);
    posix_spawnattr_setsigdefault(&attr, &all);
    posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGMASK |
                                        POSIX_SPAWN_SETSIGDEF);

    pid_t pid = -1;
    const int rc = ::posix_spawn(&pid, args[0], &actions, &attr, args.data(), environ);
    posix_spawnattr_destroy(&attr);
    posix_spawn_file_actions_destroy(&actions);
    return rc == 0 ? pid : -1;
}

bool CChildProcess::StartThread(pthread_t& thread, bool& running, void* (*body)(void*)) {
    running = ::pthread_create(&thread, nullptr, body, this) == 0;
    return running;
}

void CChildProcess::JoinThread(pthread_t& thread, bool& running) {
    if (running) ::pthread_join(thread, nullptr);
    running = false;
}

int CChildProcess::ReadStdout(int pipe) {
    char buffer[kChunk + 1];
    while (g_childRunning.load() != 0) {
        const ssize_t n = ReadChunk(pipe, m_hStopEvent, buffer);
        // End of output, stop, or a read error: none of them is retried.
        if (n <= 0) break;
        OnStdoutText(buffer);
    }
    MarkReaderDone(m_stdoutDone);
    return 0;
}

int CChildProcess::ReadStderr(int pipe) {
    char buffer[kChunk + 1];
    while (g_childRunning.load() != 0) {
        const ssize_t n = ReadChunk(pipe, m_hStopEvent, buffer);
        if (n <= 0) break;
        if (m_probeMode.load()) {
            std::lock_guard lock(m_mutex);
            m_probeText.Append(buffer);
        } else if (const char* figure = engine::FindProgressFigure(buffer)) {
            OnProgressText(figure);
        }
    }
    MarkReaderDone(m_stderrDone);
    return 0;
}

void CChildProcess::MarkReaderDone(bool& done) {
    {
        std::lock_guard lock(m_mutex);
        done = true;
    }
    m_changed.notify_all();
}

int CChildProcess::WatchExit() {
    // Wait for the end without reaping: the process stays a zombie, so its
    // id cannot be reused before Stop reaps it.
    siginfo_t info{};
    int r;
    do {
        r = ::waitid(P_PID, static_cast<id_t>(m_hProcess), &info, WEXITED | WNOWAIT);
    } while (r != 0 && errno == EINTR);
    {
        std::unique_lock lock(m_mutex);
        if (r == 0) {
            m_lastExit.ended = true;
            m_lastExit.signaled = info.si_code != CLD_EXITED;
            (m_lastExit.signaled ? m_lastExit.signal : m_lastExit.exitCode) = info.si_status;
        }
        // The end is reported after the last output has been read.
        if (g_childRunning.load() != 0) {
            m_changed.wait_for(lock, kDrainWait, [this] {
                return (m_stdoutDone && m_stderrDone) || m_stopRequested;
            });
        }
    }
    if (g_childRunning.load() != 0) OnTerminated();
    g_childRunning.store(0);
    return 0;
}

void CChildProcess::SignalStop() {
    {
        std::lock_guard lock(m_mutex);
        m_stopRequested = true;
    }
    m_changed.notify_all();
    if (m_hStopSignal >= 0) {
        const char byte = 1;
        while (::write(m_hStopSignal, &byte, 1) < 0 && errno == EINTR) {
        }
    }
}

void CChildProcess::Reap() {
    if (m_hProcess <= 0) return;
    int status = 0;
    while (::waitpid(m_hProcess, &status, 0) < 0 && errno == EINTR) {
    }
    m_hProcess = -1;
}

void CChildProcess::Stop() {
    g_childRunning.store(0);
    SignalStop();
    Pause(500);
    if (m_hProcess > 0) {
        // The child is not reaped yet (running or a zombie), so its id and
        // its group id are still ours to signal.
        ::kill(-m_hProcess, SIGKILL);
        ::kill(m_hProcess, SIGKILL);
    }
    JoinThread(m_hWatchThread, m_watchThreadRunning);
    Reap();
    JoinThread(m_hStdoutThread, m_stdoutThreadRunning);
    JoinThread(m_hStderrThread, m_stderrThreadRunning);
    CloseFd(m_hChildStdin);
    CloseFd(m_hChildStdout);
    CloseFd(m_hChildStderr);
    Pause(100);
    CloseFd(m_hStdinWrite);
    CloseFd(m_hStdoutRead);
    CloseFd(m_hStderrRead);
    Pause(100);
    CloseFd(m_hStopEvent);
    CloseFd(m_hStopSignal);
}

ChildExit CChildProcess::LastExit() const {
    std::lock_guard lock(m_mutex);
    return m_lastExit;
}

std::string CChildProcess::ProbeTextCopy() const {
    std::lock_guard lock(m_mutex);
    return m_probeText.c_str();
}

void CChildProcess::OnStarted(const char*) {}
void CChildProcess::OnStdoutText(const char*) {}
void CChildProcess::OnProgressText(const char*) {}
void CChildProcess::OnTerminated() {}

void* CChildProcess::StdoutEntry(void* self) {
    auto* runner = static_cast<CChildProcess*>(self);
    runner->ReadStdout(runner->m_hStdoutRead);
    return nullptr;
}

void* CChildProcess::StderrEntry(void* self) {
    auto* runner = static_cast<CChildProcess*>(self);
    runner->ReadStderr(runner->m_hStderrRead);
    return nullptr;
}

void* CChildProcess::WatchEntry(void* self) {
    static_cast<CChildProcess*>(self)->WatchExit();
    return nullptr;
}
