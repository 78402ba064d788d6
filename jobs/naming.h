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

}  // namespace jobs
