// The child process runner: runs one console program with its standard
// streams on pipes, reads its output on two worker threads, notices its end
// on a third, and reports through four virtual callbacks.
//
// Threads: Start, Stop and OnStarted run on the owner's (user-interface)
// thread; OnStdoutText, OnProgressText and OnTerminated on the worker threads.
// Callbacks must never wait for the owner's thread: Stop waits for them.
// No callback of a run is made after Stop has returned.
#pragma once

#include <pthread.h>
#include <sys/types.h>

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "engine/encoder_output.h"

// 1 while a child started by Start is considered running and its readers may
// go on reading. Process-wide: at most one runner runs a child at a time.
extern std::atomic<int> g_childRunning;

// How the last child of a runner ended.
struct ChildExit {
    bool started = false;   // Start created the process
    bool ended = false;     // it ended (by itself or by Stop)
    bool signaled = false;  // ended by a signal
    int exitCode = 0;       // its exit status, when not signaled
    int signal = 0;         // the signal that ended it, when signaled
};

class CChildProcess {
public:
    CChildProcess();
    CChildProcess(const CChildProcess&) = delete;
    CChildProcess& operator=(const CChildProcess&) = delete;
    // Stops whatever run the runner still holds.
    virtual ~CChildProcess();

    // Runs the program argv[0] with the arguments argv (no shell is
    // involved, so every byte reaches the program as it is). commandLine is
    // the one-string form shown to people and handed to OnStarted. The runner
    // must be stopped when this is called, and m_probeMode set for this run.
    // Returns false when the process could not be created.
    bool Start(const std::vector<std::string>& argv, const std::string& commandLine,
               bool showWindow);

    // Ends the child (and anything it started) and all threads of the run,
    // and closes every descriptor. Callable in any state, any number of
    // times; never returns in less than 700 ms.
    void Stop();

    // Creates the process with the given standard output, input and error;
    // returns its id, or -1 when it could not be created.
    pid_t CreateChild(const std::vector<std::string>& argv, int hStdout, int hStdin, int hStderr,
                      bool showWindow);

    // Thread bodies; each returns 0.
    int ReadStdout(int pipe);
    int ReadStderr(int pipe);
    int WatchExit();

    // Number of the current run: every Start begins a new one.
    std::uint32_t CurrentRun() const { return m_run.load(); }
    // How the last child ended; meaningful after its end was reported and
    // until the next Start.
    ChildExit LastExit() const;
    // True when the runner holds nothing of a run (owner's thread only).
    bool IsIdle() const;
    // A copy of the error output collected by the last probe run.
    std::string ProbeTextCopy() const;

    // Sleeps `ms` milliseconds at the pace Stop keeps (see below).
    static void Pause(int ms);
    // Speeds up Stop's pauses in tests that run many cycles (100 = normal).
    static void SetStopPacePercentForTesting(int percent);

    std::atomic<bool> m_probeMode{false};

protected:
    virtual void OnStarted(const char* commandLine);
    virtual void OnStdoutText(const char* text);
    virtual void OnProgressText(const char* figure);
    virtual void OnTerminated();

private:
    static void* StdoutEntry(void* self);
    static void* StderrEntry(void* self);
    static void* WatchEntry(void* self);
    void SignalStop();
    void MarkReaderDone(bool& done);
    void CloseFd(int& fd);
    bool StartThread(pthread_t& thread, bool& running, void* (*body)(void*));
    void JoinThread(pthread_t& thread, bool& running);
    void Reap();

    // Guards m_probeText, m_lastExit, the readers' done flags and m_stopRequested.
    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    engine::ProbeText m_probeText;
    ChildExit m_lastExit;
    bool m_stdoutDone = false;
    bool m_stderrDone = false;
    bool m_stopRequested = false;

    // Descriptors; -1 when not held. Only the owner's thread opens and
    // closes them, and never while a worker thread could use them.
    int m_hStopEvent = -1;    // read end of the stop pipe; readable once Stop was called
    int m_hStopSignal = -1;   // its write end
    int m_hChildStdin = -1;   // the child's ends, closed once the child holds them
    int m_hChildStdout = -1;
    int m_hChildStderr = -1;
    int m_hStdinWrite = -1;   // the runner's ends; nothing is ever written to stdin
    int m_hStdoutRead = -1;
    int m_hStderrRead = -1;
    pthread_t m_hStdoutThread{};
    pthread_t m_hStderrThread{};
    pthread_t m_hWatchThread{};
    bool m_stdoutThreadRunning = false;
    bool m_stderrThreadRunning = false;
    bool m_watchThreadRunning = false;
    pid_t m_hProcess = -1;  // the child, until Stop has reaped it
    std::atomic<std::uint32_t> m_run{0};
};
