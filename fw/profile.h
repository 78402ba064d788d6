// Profile (INI) files: one key at a time, as the classic profile calls do.
//
// Reading: section and key names match without regard to ASCII letter case;
// blanks around names and around "=" are ignored; lines starting with ";" are
// comments; CRLF and LF line ends both read; a value enclosed in a matching
// pair of double or single quotes loses them; at most kMaxProfileValue
// characters of a value are returned.
//
// Writing changes only the one key (adding it, or its section, when missing)
// and keeps every other line byte for byte. The file is replaced atomically,
// so a crash or a full disk never leaves it truncated.
#pragma once

#include <string>
#include <string_view>

namespace fw {

constexpr std::size_t kMaxProfileValue = 259;

// Pure forms on the file's text.
std::string ProfileLookup(std::string_view fileText, std::string_view section,
                          std::string_view key, std::string_view defaultValue);
std::string ProfileUpdate(std::string_view fileText, std::string_view section,
                          std::string_view key, std::string_view value);

// The value of a key, or the default when the file, the section or the key
// is missing.
std::string GetPrivateProfileString(std::string_view section, std::string_view key,
                                    std::string_view defaultValue, const std::string& path);

// Writes one key; false when the file could not be written or the value
// holds a line break (which would spill into the file's structure).
bool WritePrivateProfileString(std::string_view section, std::string_view key,
                               std::string_view value, const std::string& path);

}  // namespace fw
