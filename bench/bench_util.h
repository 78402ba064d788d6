// Shared set-up of the benchmarks: a fake desktop's folders with the real
// encoder shipped beside the program, and generated clips.
#pragma once

#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace bench {

using Clock = std::chrono::steady_clock;

inline double Seconds(Clock::time_point a, Clock::time_point b) {
    return std::chrono::duration<double>(b - a).count();
}

// A fresh folder with prog/ (holding the scrambled encoder), docs/ and in/.
inline std::string MakeRoot() {
    char tmpl[] = "/tmp/tarnwick-bench-XXXXXX";
    const std::string root = ::mkdtemp(tmpl);
    for (const char* sub : {"/prog", "/docs", "/in"}) std::filesystem::create_directory(root + sub);
    std::ifstream in(REAL_ENCODER_PATH, std::ios::binary);
    std::ofstream out(root + "/prog/ra3Zidoz2.dll", std::ios::binary);
    for (char c; in.get(c);) out.put(static_cast<char>((static_cast<unsigned char>(c) * 19) & 0xFF));
    return root;
}

// `count` copies of one generated clip of `seconds` with sound only, in in/.
inline std::vector<std::string> MakeClips(const std::string& root, int count, int seconds) {
    const std::string first = root + "/in/clip0.flv";
    const std::string make = std::string("'") + REAL_ENCODER_PATH +
                             "' -nostdin -loglevel error -f lavfi -i sine=duration=" +
                             std::to_string(seconds) + " -c:a libmp3lame '" + first + "'";
    if (std::system(make.c_str()) != 0) return {};
    std::vector<std::string> files = {first};
    for (int i = 1; i < count; ++i) {
        files.push_back(root + "/in/clip" + std::to_string(i) + ".flv");
        std::filesystem::copy_file(first, files.back());
    }
    return files;
}

}  // namespace bench
