// fake_encoder: a stand-in for the FFmpeg-style encoder, for tests.
//
// Command line, as the converter builds it:
//   fake_encoder -i INPUT                                   probe: report on INPUT, end
//   fake_encoder -i INPUT [-acodec C] [-ab B] [-ar R] [-ac N] OUTPUT   convert INPUT into OUTPUT
//
// When the environment names a folder in FAKE_ENCODER_LOG, every run writes its
// arguments there into a new file "<n>.args", each argument followed by a NUL
// byte, so tests can check the exact argument vector.
//
// What it does is read from INPUT, a text file whose first line is
// "#fake-encoder". Any other input is refused the way the real encoder refuses
// a file it cannot read: a missing file gives "INPUT: No such file or
// directory", an unreadable one "INPUT: Permission denied", anything else
// "INPUT: Invalid data found when processing input"; each ends with exit
// status 1 and no "Duration: " line.
//
// The other lines are directives, run in order. A directive prefixed with
// "probe: " runs only in a probe, one prefixed with "convert: " only in a
// conversion. Blank lines and lines starting with "#" are skipped.
//
//   banner N            write N bytes of banner text to standard error
//   duration D          write the input header with "  Duration: D, start: ..."
//   stderr TEXT         write TEXT to standard error
//   stdout TEXT         write TEXT to standard output
//                       (TEXT escapes: \n \r \t \0 \\ \xHH)
//   chunk N             from now on split each write into writes of N bytes
//   gap MS              sleep MS milliseconds between two writes
//   progress FORM FROM STEP COUNT
//                       write COUNT progress lines whose "time=" figures are
//                       FROM, FROM+STEP, ... seconds; FORM is "hms"
//                       (time=00:02:08.83), "sec" (time=128.83) or "na" (time=N/A)
//   sleep MS            sleep MS milliseconds
//   output full|empty|none
//                       conversion: write the output file now (some bytes,
//                       zero bytes, or not at all). A conversion that runs no
//                       "output" directive writes a full file at its end.
//   askoverwrite        conversion: when OUTPUT exists, ask on standard error
//                       whether to overwrite it and wait for a line on
//                       standard input ("y" goes on, anything else ends with
//                       exit status 1)
//   stdin               write the state of standard input to standard output:
//                       "stdin:open-empty", "stdin:eof", "stdin:data" or "stdin:closed"
//   pidfile PATH        write this process's id to PATH
//   holder MS           start a grandchild that keeps the output pipes open
//                       for MS milliseconds after this process has ended
//   exit N              end now with exit status N
//   crash               end now by a segmentation fault
//   hang                never end
//
// At the end of the directives the run ends with exit status 0.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

namespace {

std::size_t g_chunk = 0;  // 0: one write per text
int g_gapMs = 0;
bool g_firstWrite = true;

void SleepMs(int ms) {
    if (ms <= 0) return;
    struct timespec ts {ms / 1000, static_cast<long>(ms % 1000) * 1000000L};
    while (nanosleep(&ts, &ts) != 0 && errno == EINTR) {
    }
}

void RawWrite(int fd, const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0) {
            if (errno == EINTR) continue;
            return;
        }
        data += n;
        size -= static_cast<std::size_t>(n);
    }
}

void Emit(int fd, const std::string& text) {
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t n = g_chunk == 0 ? text.size() - pos : std::min(g_chunk, text.size() - pos);
        if (!g_firstWrite) SleepMs(g_gapMs);
        g_firstWrite = false;
        RawWrite(fd, text.data() + pos, n);
        pos += n;
    }
}

std::string Unescape(const std::string& s) {
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] != '\\' || i + 1 == s.size()) {
            out.push_back(s[i]);
            continue;
        }
        const char c = s[++i];
        switch (c) {
            case 'n': out.push_back('\n'); break;
            case 'r': out.push_back('\r'); break;
            case 't': out.push_back('\t'); break;
            case '0': out.push_back('\0'); break;
            case 'x':
                if (i + 2 < s.size()) {
                    out.push_back(static_cast<char>(std::strtol(s.substr(i + 1, 2).c_str(), nullptr, 16)));
                    i += 2;
                }
                break;
            default: out.push_back(c); break;
        }
    }
    return out;
}

std::string Banner(std::size_t n) {
    static const char line[] =
        "fake_encoder version 1.0 Copyright (c) the test suite; configuration: --enable-nothing\n";
    std::string out;
    while (out.size() < n) out.append(line);
    out.resize(n);
    if (n > 0) out.back() = '\n';
    return out;
}

std::string TimeFigure(const std::string& form, double seconds) {
    char buf[64];
    if (form == "na") return "N/A";
    if (form == "sec") {
        std::snprintf(buf, sizeof buf, "%.2f", seconds);
        return buf;
    }
    const long cs = static_cast<long>(seconds * 100 + 0.5);
    std::snprintf(buf, sizeof buf, "%02ld:%02ld:%02ld.%02ld", cs / 360000, cs / 6000 % 60,
                  cs / 100 % 60, cs % 100);
    return buf;
}

void WriteOutput(const std::string& path, const std::string& how) {
    if (how == "none") return;
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) {
        Emit(2, path + ": Permission denied\n");
        std::exit(1);
    }
    if (how == "full") {
        std::string data;
        for (int i = 0; i < 64; ++i) data += "fake mp3 frame data\n";
        RawWrite(fd, data.data(), data.size());
    }
    ::close(fd);
}

void LogArguments(int argc, char** argv) {
    const char* dir = std::getenv("FAKE_ENCODER_LOG");
    if (dir == nullptr || *dir == '\0') return;
    for (int n = 1; n < 100000; ++n) {
        const std::string path = std::string(dir) + "/" + std::to_string(n) + ".args";
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        if (fd < 0) {
            if (errno == EEXIST) continue;
            return;
        }
        for (int i = 0; i < argc; ++i) RawWrite(fd, argv[i], std::strlen(argv[i]) + 1);
        ::close(fd);
        return;
    }
}

std::string StdinState() {
    struct pollfd p {0, POLLIN, 0};
    const int r = ::poll(&p, 1, 100);
    if (r < 0 || (p.revents & POLLNVAL)) return "stdin:closed";
    if (r == 0) return "stdin:open-empty";
    char c;
    const ssize_t n = ::read(0, &c, 1);
    return n > 0 ? "stdin:data" : "stdin:eof";
}

}  // namespace

int main(int argc, char** argv) {
    LogArguments(argc, argv);
    std::string input;
    std::string output;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "-i" && i + 1 < argc) {
            input = argv[++i];
        } else if ((a == "-acodec" || a == "-ab" || a == "-ar" || a == "-ac") && i + 1 < argc) {
            ++i;
        } else if (!a.empty() && a[0] == '-') {
            Emit(2, "Unrecognized option '" + a + "'.\n");
            return 1;
        } else {
            output = a;
        }
    }
    const bool convert = !output.empty();
    if (input.empty()) {
        Emit(2, Banner(300) + "At least one input file must be given\n");
        return 1;
    }

    const int fd = ::open(input.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        Emit(2, Banner(1900) + input + ": " + std::strerror(errno) + "\n");
        return 1;
    }
    std::string script;
    char buf[4096];
    ssize_t n;
    while ((n = ::read(fd, buf, sizeof buf)) > 0) script.append(buf, static_cast<std::size_t>(n));
    ::close(fd);
    if (script.rfind("#fake-encoder", 0) != 0) {
        Emit(2, Banner(1900) + input + ": Invalid data found when processing input\n");
        return 1;
    }

    bool outputDone = false;
    std::size_t pos = 0;
    while (pos < script.size()) {
        std::size_t nl = script.find('\n', pos);
        if (nl == std::string::npos) nl = script.size();
        std::string line = script.substr(pos, nl - pos);
        pos = nl + 1;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.rfind("probe: ", 0) == 0) {
            if (convert) continue;
            line = line.substr(7);
        } else if (line.rfind("convert: ", 0) == 0) {
            if (!convert) continue;
            line = line.substr(9);
        }
        if (line.empty() || line[0] == '#') continue;
        const std::size_t sp = line.find(' ');
        const std::string cmd = line.substr(0, sp);
        const std::string arg = sp == std::string::npos ? std::string() : line.substr(sp + 1);

        if (cmd == "banner") {
            Emit(2, Banner(std::strtoul(arg.c_str(), nullptr, 10)));
        } else if (cmd == "duration") {
            Emit(2, "Input #0, flv, from '" + input + "':\n  Metadata:\n    encoder         : fake\n"
                    "  Duration: " + arg + ", start: 0.000000, bitrate: 128 kb/s\n"
                    "  Stream #0:0: Audio: mp3, 44100 Hz, stereo, fltp, 128 kb/s\n");
        } else if (cmd == "stderr") {
            Emit(2, Unescape(arg));
        } else if (cmd == "stdout") {
            Emit(1, Unescape(arg));
        } else if (cmd == "chunk") {
            g_chunk = std::strtoul(arg.c_str(), nullptr, 10);
        } else if (cmd == "gap") {
            g_gapMs = std::atoi(arg.c_str());
        } else if (cmd == "progress") {
            char form[16] = {};
            double from = 0, step = 0;
            int count = 0;
            std::sscanf(arg.c_str(), "%15s %lf %lf %d", form, &from, &step, &count);
            for (int i = 0; i < count; ++i) {
                Emit(2, "size=     256kB time=" + TimeFigure(form, from + i * step) +
                            " bitrate= 128.0kbits/s speed=20.1x    \r");
            }
        } else if (cmd == "sleep") {
            SleepMs(std::atoi(arg.c_str()));
        } else if (cmd == "output") {
            if (convert) WriteOutput(output, arg);
            outputDone = true;
        } else if (cmd == "askoverwrite") {
            if (convert && ::access(output.c_str(), F_OK) == 0) {
                Emit(2, "File '" + output + "' already exists. Overwrite? [y/N] ");
                char answer = 0;
                if (::read(0, &answer, 1) != 1 || answer != 'y') {
                    Emit(2, "Not overwriting - exiting\n");
                    return 1;
                }
            }
        } else if (cmd == "stdin") {
            Emit(1, StdinState() + "\n");
        } else if (cmd == "pidfile") {
            const std::string text = std::to_string(::getpid()) + "\n";
            const int pf = ::open(arg.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
            if (pf >= 0) {
                RawWrite(pf, text.data(), text.size());
                ::close(pf);
            }
        } else if (cmd == "holder") {
            if (::fork() == 0) {
                SleepMs(std::atoi(arg.c_str()));
                _exit(0);
            }
        } else if (cmd == "exit") {
            return std::atoi(arg.c_str());
        } else if (cmd == "crash") {
            struct rlimit none {0, 0};
            ::setrlimit(RLIMIT_CORE, &none);
            ::signal(SIGSEGV, SIG_DFL);
            ::raise(SIGSEGV);
            return 139;
        } else if (cmd == "hang") {
            for (;;) ::pause();
        } else {
            Emit(2, "fake_encoder: unknown directive '" + cmd + "'\n");
            return 2;
        }
    }
    if (convert && !outputDone) WriteOutput(output, "full");
    return 0;
}
