#include "fw/files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

namespace fw {

std::ptrdiff_t FindLastSeparator(std::string_view path) {
    const auto pos = path.rfind(kPathSeparator);
    return pos == std::string_view::npos ? -1 : static_cast<std::ptrdiff_t>(pos);
}

std::string WithTrailingSeparator(std::string path) {
    if (path.empty() || path.back() != kPathSeparator) path.push_back(kPathSeparator);
    return path;
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

std::string TrimLeft(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && IsBlank(text[i])) ++i;
    return std::string(text.substr(i));
}

std::string TrimRight(std::string_view text) {
    std::size_t n = text.size();
    while (n > 0 && IsBlank(text[n - 1])) --n;
    return std::string(text.substr(0, n));
}

std::string Trim(std::string_view text) { return TrimLeft(TrimRight(text)); }

bool DeleteFile(const std::string& path) {
    struct stat st {};
    // Like the platform call it stands for, this never removes a folder.
    if (::lstat(path.c_str(), &st) != 0 || S_ISDIR(st.st_mode)) return false;
    return ::unlink(path.c_str()) == 0;
}

bool CreateDirectory(const std::string& path) { return ::mkdir(path.c_str(), 0777) == 0; }

bool CreateDirectories(const std::string& path) {
    struct stat st {};
    if (path.empty()) return false;
    if (::stat(path.c_str(), &st) == 0) return S_ISDIR(st.st_mode);
    std::string trimmed = path;
    while (trimmed.size() > 1 && trimmed.back() == kPathSeparator) trimmed.pop_back();
    const auto sep = FindLastSeparator(trimmed);
    if (sep > 0 && !CreateDirectories(trimmed.substr(0, static_cast<std::size_t>(sep)))) {
        return false;
    }
    if (::mkdir(trimmed.c_str(), 0777) == 0) return true;
    return errno == EEXIST && ::stat(trimmed.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool IsWritableDirectory(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode) &&
           ::access(path.c_str(), W_OK | X_OK) == 0;
}

std::optional<std::string> ReadWholeFile(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return std::nullopt;
    std::string data;
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n > 0) {
            data.append(buffer, static_cast<std::size_t>(n));
        } else if (n == 0) {
            break;
        } else if (errno != EINTR) {
            ::close(fd);
            return std::nullopt;
        }
    }
    ::close(fd);
    return data;
}

namespace {

bool WriteAll(int fd, std::string_view data) {
    while (!data.empty()) {
        const ssize_t n = ::write(fd, data.data(), data.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        data.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

}  // namespace

AtomicFile::AtomicFile(const std::string& target, unsigned mode) : m_target(target) {
    std::string tmpl = target + ".XXXXXX";
    std::vector<char> name(tmpl.begin(), tmpl.end());
    name.push_back('\0');
    m_fd = ::mkostemp(name.data(), O_CLOEXEC);
    if (m_fd < 0) return;
    m_temp = name.data();
    if (::fchmod(m_fd, static_cast<mode_t>(mode)) != 0) m_failed = true;
}

AtomicFile::~AtomicFile() { Discard(); }

void AtomicFile::Discard() {
    if (m_fd >= 0) ::close(m_fd);
    m_fd = -1;
    if (!m_temp.empty()) ::unlink(m_temp.c_str());
    m_temp.clear();
}

bool AtomicFile::Write(std::string_view data) {
    if (m_fd < 0 || m_failed) return false;
    if (!WriteAll(m_fd, data)) m_failed = true;
    return !m_failed;
}

bool AtomicFile::Commit(bool sync) {
    if (m_fd < 0 || m_failed || (sync && ::fsync(m_fd) != 0)) {
        Discard();
        return false;
    }
    const int fd = m_fd;
    m_fd = -1;
    if (::close(fd) != 0 || ::rename(m_temp.c_str(), m_target.c_str()) != 0) {
        Discard();
        return false;
    }
    m_temp.clear();
    return true;
}

bool WriteFileAtomically(const std::string& path, std::string_view data,
                         std::optional<unsigned> mode) {
    if (!mode) {
        struct stat st {};
        mode = ::stat(path.c_str(), &st) == 0 ? (st.st_mode & 07777) : 0644;
    }
    AtomicFile file(path, *mode);
    return file.Write(data) && file.Commit(true);
}

}  // namespace fw
