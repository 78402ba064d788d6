#include "app/startup.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

#include "fw/files.h"
#include "fw/profile.h"

int UnscrambleByte(int value) { return value * 27; }

namespace app {

void UnscrambleBlock(unsigned char* bytes, std::size_t size) {
    for (std::size_t i = 0; i < size; ++i) {
        bytes[i] = static_cast<unsigned char>(UnscrambleByte(bytes[i]) & 0xFF);
    }
}

std::string ProgramDirOf(const std::string& programFilePath) {
    const auto sep = fw::FindLastSeparator(programFilePath);
    std::string dir = sep < 0 ? std::string() : programFilePath.substr(0, static_cast<std::size_t>(sep));
    return fw::WithTrailingSeparator(dir);
}

std::string EngineWorkPathOf(const std::optional<std::string>& documentsFolder,
                             const std::string& tempFolder) {
    return fw::WithTrailingSeparator(documentsFolder ? *documentsFolder : tempFolder) +
           kEngineFileName;
}

bool UnpackEngine(const std::string& source, const std::string& target) {
    const int in = ::open(source.c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0) return false;
    struct stat st {};
    if (::fstat(in, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(in);
        return false;
    }
    fw::AtomicFile out(target, 0700);
    // One pass: read a block, unscramble it in place, write it.
    std::vector<char> buffer(1 << 20);
    off_t total = 0;
    bool ok = out.IsOpen();
    while (ok) {
        const ssize_t n = ::read(in, buffer.data(), buffer.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            ok = n == 0;
            break;
        }
        UnscrambleBlock(reinterpret_cast<unsigned char*>(buffer.data()),
                        static_cast<std::size_t>(n));
        ok = out.Write(std::string_view(buffer.data(), static_cast<std::size_t>(n)));
        total += n;
    }
    ::close(in);
    // A source that shrank while it was read gives an incomplete copy.
    return ok && total == st.st_size && out.Commit(false);
}

std::string SettingsPathOf(const std::string& programDir, bool programDirWritable,
                           const std::string& configFolder) {
    if (programDirWritable) return programDir + kSettingsFileName;
    return fw::WithTrailingSeparator(fw::WithTrailingSeparator(configFolder) + "tarnwick") +
           kSettingsFileName;
}

std::string ReadOutputFolder(const std::string& settingsPath) {
    return fw::Trim(fw::GetPrivateProfileString(kSettingsSection, kSettingsKey, "", settingsPath));
}

bool WriteOutputFolder(const std::string& settingsPath, const std::string& outputDir) {
    const auto sep = fw::FindLastSeparator(settingsPath);
    if (sep > 0) fw::CreateDirectories(settingsPath.substr(0, static_cast<std::size_t>(sep)));
    return fw::WritePrivateProfileString(kSettingsSection, kSettingsKey, outputDir, settingsPath);
}

std::string DefaultOutputDir(const std::string& homeFolder) {
    return fw::WithTrailingSeparator(fw::WithTrailingSeparator(homeFolder) + "Mp3 Output");
}

}  // namespace app
