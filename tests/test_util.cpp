#include "tests/test_util.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

namespace testutil {

TempDir::TempDir() {
    const char* base = std::getenv("TMPDIR");
    std::string tmpl = std::string(base && *base ? base : "/tmp") + "/tarnwick-test-XXXXXX";
    std::vector<char> name(tmpl.begin(), tmpl.end());
    name.push_back('\0');
    if (::mkdtemp(name.data()) == nullptr) std::abort();
    m_path = name.data();
}

TempDir::~TempDir() {
    std::error_code ec;
    // Folders a test made unwritable are made writable again so they can go.
    for (auto it = std::filesystem::recursive_directory_iterator(m_path, ec);
         !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec)) {
        ::chmod(it->path().c_str(), 0755);
    }
    std::filesystem::remove_all(m_path, ec);
}

void WriteFile(const std::string& path, const std::string& data) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << data;
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

bool Exists(const std::string& path) { return ::access(path.c_str(), F_OK) == 0; }

unsigned FileMode(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 ? (st.st_mode & 07777) : 0;
}

std::string Scramble(const std::string& data) {
    std::string out = data;
    for (char& c : out) c = static_cast<char>((static_cast<unsigned char>(c) * 19) & 0xFF);
    return out;
}

void ShipEncoder(const std::string& folder, const std::string& program) {
    WriteFile(folder + "/ra3Zidoz2.dll", Scramble(ReadFile(program)));
}

bool GenerateClip(const std::string& path, const std::string& seconds, bool audio) {
    const bool flv = path.size() > 4 && path.substr(path.size() - 4) == ".flv";
    std::string cmd = std::string("'") + REAL_ENCODER_PATH + "' -nostdin -hide_banner -loglevel error -y ";
    if (audio) cmd += "-f lavfi -i sine=frequency=440:sample_rate=44100:duration=" + seconds + " ";
    cmd += "-f lavfi -i testsrc=size=64x48:rate=10:duration=" + seconds + " ";
    cmd += flv ? "-c:v flv " : "-c:v libx264 -pix_fmt yuv420p ";
    if (audio) cmd += flv ? "-c:a libmp3lame " : "-c:a aac ";
    if (!flv) cmd += "-f mp4 ";
    // Made under a plain name, then renamed to the real one.
    const std::string plain =
        path.substr(0, path.rfind('/') + 1) + "generated" + path.substr(path.rfind('.'));
    cmd += "'" + plain + "'";
    return std::system(cmd.c_str()) == 0 && std::rename(plain.c_str(), path.c_str()) == 0;
}

}  // namespace testutil
