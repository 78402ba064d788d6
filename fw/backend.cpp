#include "fw/backend.h"

#include <pwd.h>
#include <unistd.h>

#include <atomic>
#include <climits>
#include <cstdlib>

#include "fw/controls.h"
#include "fw/files.h"

namespace fw {

namespace {

std::atomic<Backend*> g_backend{nullptr};

std::string EnvOrEmpty(const char* name) {
    const char* v = std::getenv(name);
    return v ? std::string(v) : std::string();
}

// The value of XDG_DOCUMENTS_DIR in the user-dirs.dirs text, with $HOME
// expanded; empty when absent.
std::string DocumentsFromUserDirs(const std::string& text, const std::string& home) {
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t nl = text.find('\n', pos);
        if (nl == std::string::npos) nl = text.size();
        const std::string line = Trim(std::string_view(text).substr(pos, nl - pos));
        pos = nl + 1;
        const std::string prefix = "XDG_DOCUMENTS_DIR=";
        if (line.rfind(prefix, 0) != 0) continue;
        std::string value = line.substr(prefix.size());
        if (value.size() >= 2 && value.front() == '"' && value.back() == '"') {
            value = value.substr(1, value.size() - 2);
        }
        if (value.rfind("$HOME", 0) == 0) value = home + value.substr(5);
        return value;
    }
    return std::string();
}

}  // namespace

Backend& GetBackend() { return *g_backend.load(); }

void SetBackend(Backend* backend) { g_backend.store(backend); }

std::string Backend::ProgramFilePath() {
    char buffer[PATH_MAX + 1];
    const ssize_t n = ::readlink("/proc/self/exe", buffer, PATH_MAX);
    if (n <= 0) return std::string();
    return std::string(buffer, static_cast<std::size_t>(n));
}

std::string Backend::HomeFolder() {
    std::string home = EnvOrEmpty("HOME");
    if (!home.empty()) return home;
    if (const passwd* pw = ::getpwuid(::getuid()); pw != nullptr && pw->pw_dir != nullptr) {
        return pw->pw_dir;
    }
    return "/";
}

std::string Backend::ConfigFolder() {
    const std::string xdg = EnvOrEmpty("XDG_CONFIG_HOME");
    if (!xdg.empty() && xdg.front() == '/') return xdg;
    return WithTrailingSeparator(HomeFolder()) + ".config";
}

std::optional<std::string> Backend::DocumentsFolder() {
    const std::string home = HomeFolder();
    std::string folder = EnvOrEmpty("XDG_DOCUMENTS_DIR");
    if (folder.empty()) {
        if (auto text = ReadWholeFile(WithTrailingSeparator(ConfigFolder()) + "user-dirs.dirs")) {
            folder = DocumentsFromUserDirs(*text, home);
        }
    }
    if (folder.empty() || folder.front() != '/') folder = WithTrailingSeparator(home) + "Documents";
    if (!CreateDirectories(folder)) return std::nullopt;
    return folder;
}

std::string Backend::TempFolder() {
    const std::string tmp = EnvOrEmpty("TMPDIR");
    return tmp.empty() ? std::string("/tmp") : tmp;
}

std::vector<FileFilter> ParseFilterText(const std::string& text) {
    std::vector<std::string> parts;
    std::size_t pos = 0;
    while (pos <= text.size()) {
        const std::size_t bar = text.find('|', pos);
        const std::size_t end = bar == std::string::npos ? text.size() : bar;
        parts.push_back(text.substr(pos, end - pos));
        if (bar == std::string::npos) break;
        pos = bar + 1;
    }
    std::vector<FileFilter> filters;
    for (std::size_t i = 0; i + 1 < parts.size(); i += 2) {
        if (parts[i].empty()) break;  // "||" ends the list
        filters.push_back({parts[i], parts[i + 1]});
    }
    return filters;
}

bool CStatic::SubclassDlgItem(int id, CDialog* parent) {
    if (parent == nullptr) return false;
    m_parent = parent;
    m_id = id;
    PreSubclassWindow();
    GetBackend().SubclassControl(*parent, id, this);
    return true;
}

std::string GetProgramFilePath() { return GetBackend().ProgramFilePath(); }
std::optional<std::string> GetDocumentsFolder() { return GetBackend().DocumentsFolder(); }
std::string GetTempFolder() { return GetBackend().TempFolder(); }
std::string GetHomeFolder() { return GetBackend().HomeFolder(); }
std::string GetConfigFolder() { return GetBackend().ConfigFolder(); }

}  // namespace fw
