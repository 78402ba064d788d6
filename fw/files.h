// Small file and path helpers.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace fw {

#ifdef _WIN32
constexpr char kPathSeparator = '\\';
#else
constexpr char kPathSeparator = '/';
#endif

// Index of the last path separator, or -1. UTF-8 never has '/' inside a
// multibyte character, so a byte search is exact here.
std::ptrdiff_t FindLastSeparator(std::string_view path);

// The path with a separator appended when its last byte is not one (an empty
// path becomes the separator alone).
std::string WithTrailingSeparator(std::string path);

// White space as the C library's isspace sees it in the "C" locale.
bool IsBlank(char c);
std::string TrimLeft(std::string_view text);
std::string TrimRight(std::string_view text);
std::string Trim(std::string_view text);

// Deletes a file; false when it could not be deleted (results are usually
// ignored by callers).
bool DeleteFile(const std::string& path);

// Creates one folder; false when it could not (it may exist already).
bool CreateDirectory(const std::string& path);

// Creates a folder and its missing parents; true when it exists afterwards.
bool CreateDirectories(const std::string& path);

// True when the path names a folder this process may create files in.
bool IsWritableDirectory(const std::string& path);

// The whole content of a file, or nothing when it cannot be read.
std::optional<std::string> ReadWholeFile(const std::string& path);

// A file written under a temporary name in the folder of its target and
// renamed over the target only by Commit, so that no reader ever sees it half
// written. Without a successful Commit the temporary file is removed.
class AtomicFile {
public:
    // mode: permission bits of the new file.
    AtomicFile(const std::string& target, unsigned mode);
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;
    ~AtomicFile();

    bool IsOpen() const { return m_fd >= 0; }
    bool Write(std::string_view data);
    // Closes the file (after flushing it to the disk when sync is set) and
    // renames it over the target; false when anything failed.
    bool Commit(bool sync);

private:
    void Discard();
    std::string m_target;
    std::string m_temp;
    int m_fd = -1;
    bool m_failed = false;
};

// Writes a file so that no reader ever sees it half written: the data goes to
// a temporary file in the same folder, which is renamed over the target only
// when complete. On failure the target is left as it was and the temporary
// file is removed. The new file gets `mode` as its permission bits, or, when
// no mode is given, those of the file it replaces (0644 for a new one).
bool WriteFileAtomically(const std::string& path, std::string_view data,
                         std::optional<unsigned> mode = std::nullopt);

}  // namespace fw
