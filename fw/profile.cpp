#include "fw/profile.h"

#include <unistd.h>

#include <vector>

#include "fw/files.h"

namespace fw {

namespace {

struct Line {
    std::size_t begin;    // first byte
    std::size_t end;      // end of content (before CR LF / LF)
    std::size_t next;     // first byte of the next line
};

std::vector<Line> SplitLines(std::string_view text) {
    std::vector<Line> lines;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t nl = text.find('\n', pos);
        const std::size_t next = nl == std::string_view::npos ? text.size() : nl + 1;
        std::size_t end = nl == std::string_view::npos ? text.size() : nl;
        if (end > pos && text[end - 1] == '\r') --end;
        lines.push_back({pos, end, next});
        pos = next;
    }
    return lines;
}

bool EqualNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

// A section header "[name]": its trimmed name, else nothing.
bool ParseSection(std::string_view content, std::string& name) {
    const std::string t = Trim(content);
    if (t.empty() || t.front() != '[') return false;
    const std::size_t close = t.find(']');
    name = Trim(std::string_view(t).substr(1, close == std::string::npos ? std::string::npos
                                                                          : close - 1));
    return true;
}

// A "key = value" line: trimmed key and value.
bool ParseEntry(std::string_view content, std::string& key, std::string& value) {
    const std::string t = TrimLeft(content);
    if (t.empty() || t.front() == ';') return false;
    const std::size_t eq = t.find('=');
    if (eq == std::string::npos) return false;
    key = Trim(std::string_view(t).substr(0, eq));
    value = Trim(std::string_view(t).substr(eq + 1));
    return true;
}

struct Found {
    bool section = false;
    std::size_t sectionLine = 0;
    std::size_t lastLineOfSection = 0;  // last non-blank line of the section
    bool key = false;
    std::size_t keyLine = 0;
    std::string value;
};

Found Find(std::string_view text, const std::vector<Line>& lines, std::string_view section,
           std::string_view key) {
    Found f;
    bool inSection = false;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string_view content = text.substr(lines[i].begin, lines[i].end - lines[i].begin);
        std::string name;
        if (ParseSection(content, name)) {
            if (inSection) break;  // only the first section of that name counts
            inSection = EqualNoCase(name, Trim(section));
            if (inSection) {
                f.section = true;
                f.sectionLine = i;
                f.lastLineOfSection = i;
            }
            continue;
        }
        if (!inSection) continue;
        if (!Trim(content).empty()) f.lastLineOfSection = i;
        std::string k, v;
        if (!f.key && ParseEntry(content, k, v) && EqualNoCase(k, Trim(key))) {
            f.key = true;
            f.keyLine = i;
            f.value = v;
        }
    }
    return f;
}

std::string_view LineEnding(std::string_view text) {
    const std::size_t nl = text.find('\n');
    return nl != std::string_view::npos && nl > 0 && text[nl - 1] == '\r' ? "\r\n" : "\n";
}

}  // namespace

std::string ProfileLookup(std::string_view fileText, std::string_view section,
                          std::string_view key, std::string_view defaultValue) {
    const auto lines = SplitLines(fileText);
    const Found f = Find(fileText, lines, section, key);
    std::string value = f.key ? f.value : std::string(defaultValue);
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        value = value.substr(1, value.size() - 2);
    }
    if (value.size() > kMaxProfileValue) value.resize(kMaxProfileValue);
    return value;
}

std::string ProfileUpdate(std::string_view fileText, std::string_view section,
                          std::string_view key, std::string_view value) {
    const auto lines = SplitLines(fileText);
    const Found f = Find(fileText, lines, section, key);
    const std::string_view eol = LineEnding(fileText);
    const std::string entry = std::string(Trim(key)) + "=" + std::string(value);
    std::string out;
    if (f.key) {
        const Line& l = lines[f.keyLine];
        out.append(fileText.substr(0, l.begin));
        out.append(entry);
        out.append(fileText.substr(l.end));
    } else if (f.section) {
        const Line& l = lines[f.lastLineOfSection];
        out.append(fileText.substr(0, l.next));
        if (l.next == l.end) out.append(eol);  // the section's last line had no line end
        out.append(entry).append(eol);
        out.append(fileText.substr(l.next));
    } else {
        out.append(fileText);
        if (!out.empty() && out.back() != '\n') out.append(eol);
        out.append("[").append(Trim(section)).append("]").append(eol);
        out.append(entry).append(eol);
    }
    return out;
}

std::string GetPrivateProfileString(std::string_view section, std::string_view key,
                                    std::string_view defaultValue, const std::string& path) {
    const auto text = ReadWholeFile(path);
    return ProfileLookup(text ? *text : std::string(), section, key, defaultValue);
}

bool WritePrivateProfileString(std::string_view section, std::string_view key,
                               std::string_view value, const std::string& path) {
    if (value.find_first_of("\r\n") != std::string_view::npos) return false;
    const auto text = ReadWholeFile(path);
    // A file that exists but cannot be read is left alone rather than replaced
    // by one that holds nothing but this key.
    if (!text && ::access(path.c_str(), F_OK) == 0) return false;
    return WriteFileAtomically(path, ProfileUpdate(text ? *text : std::string(), section, key, value));
}

}  // namespace fw
