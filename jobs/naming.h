// Names and command lines of the job queue: pure functions.
#pragma once

#include <string>
#include <vector>

namespace jobs {

// A path split at its last separator: the folder keeps the separator; with
// no separator the name is the whole path and the folder is empty.
struct SplitPath {
    std::string folder;
    std::string name;
};
SplitPath SplitAtLastSeparator(const std::string& path);

// The encoder run that measures a file: the argument vector and its
// one-string form, each path in double quotes.
struct CommandLine {
    std::vector<std::string> argv;
    std::string text;
};
CommandLine ProbeCommand(const std::string& enginePath, const std::string& inputPath);

// The audio settings of a conversion. With useDefaults the encoder's own
// defaults apply and the other fields are not used.
struct AudioSettings {
    bool useDefaults = true;
    std::string bitrate;     // kbit/s, decimal text
    std::string sampleRate;  // Hz, decimal text
    bool mono = false;
};
CommandLine ConvertCommand(const std::string& enginePath, const std::string& inputPath,
                           const std::string& outputPath, const AudioSettings& audio);

// The output file's base name: the input's name after its last separator,
// without its last four characters (empty when it has four or fewer).
std::string BaseNameOf(const std::string& inputPath);
// outputDir + base + ".mp3", and with n > 0: outputDir + base + "_n.mp3".
std::string OutputPath(const std::string& outputDir, const std::string& base, int n = 0);

// The output folder a run uses for the text of the output-folder box: the
// text with a separator at its end (an empty box names the root folder).
std::string OutputFolderFromText(const std::string& text);

// True when the path names a file that can be opened for reading; a folder,
// or a file that cannot be read, counts as absent.
bool FileExists(const std::string& path);
// True when the path names a folder.
bool IsDirectory(const std::string& path);
// True when anything at all stands at the path (file, folder, link, ...).
bool PathOccupied(const std::string& path);

// Reads a duration text as atoi does.
int DurationOf(const std::string& text);

}  // namespace jobs
