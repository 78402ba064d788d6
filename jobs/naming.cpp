#include "jobs/naming.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "engine/encoder_output.h"
#include "fw/files.h"

namespace jobs {

SplitPath SplitAtLastSeparator(const std::string& path) {
    const auto k = fw::FindLastSeparator(path);
    const auto cut = static_cast<std::size_t>(k + 1);
    return {path.substr(0, cut), path.substr(cut)};
}

namespace {

std::string Quoted(const std::string& s) { return "\"" + s + "\""; }

}  // namespace

CommandLine ProbeCommand(const std::string& enginePath, const std::string& inputPath) {
    return {{enginePath, "-i", inputPath}, Quoted(enginePath) + " -i " + Quoted(inputPath)};
}

CommandLine ConvertCommand(const std::string& enginePath, const std::string& inputPath,
                           const std::string& outputPath, const AudioSettings& audio) {
    CommandLine cmd;
    cmd.argv = {enginePath, "-i", inputPath, "-acodec", "libmp3lame"};
    cmd.text = Quoted(enginePath) + " -i " + Quoted(inputPath) + " -acodec libmp3lame ";
    if (!audio.useDefaults) {
        const std::string channels = audio.mono ? "1" : "2";
        cmd.argv.insert(cmd.argv.end(), {"-ab", audio.bitrate + "k", "-ar", audio.sampleRate,
                                         "-ac", channels});
        cmd.text += "-ab " + audio.bitrate + "k -ar " + audio.sampleRate + " -ac " + channels + " ";
    }
    cmd.argv.push_back(outputPath);
    cmd.text += Quoted(outputPath);
    return cmd;
}

std::string BaseNameOf(const std::string& inputPath) {
    const std::string name = SplitAtLastSeparator(inputPath).name;
    return name.size() <= 4 ? std::string() : name.substr(0, name.size() - 4);
}

std::string OutputPath(const std::string& outputDir, const std::string& base, int n) {
    return outputDir + base + (n > 0 ? "_" + std::to_string(n) : std::string()) + ".mp3";
}

std::string OutputFolderFromText(const std::string& text) { return fw::WithTrailingSeparator(text); }

bool FileExists(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return false;
    struct stat st {};
    const bool file = ::fstat(fd, &st) == 0 && !S_ISDIR(st.st_mode);
    ::close(fd);
    return file;
}

bool IsDirectory(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool PathOccupied(const std::string& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0;
}

int DurationOf(const std::string& text) { return engine::AtoiLike(text.c_str()); }

}  // namespace jobs
