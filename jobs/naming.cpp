#include "jobs/naming.h"

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

}  // namespace jobs
