// Helpers shared by the tests: temporary folders and small file operations.
#pragma once

#include <string>

namespace testutil {

// A fresh folder under the temporary folder, removed with everything in it.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& path() const { return m_path; }
    // path() + "/" + name
    std::string operator/(const std::string& name) const { return m_path + "/" + name; }

private:
    std::string m_path;
};

void WriteFile(const std::string& path, const std::string& data);
std::string ReadFile(const std::string& path);  // empty when unreadable
bool Exists(const std::string& path);
unsigned FileMode(const std::string& path);  // permission bits, 0 when missing
// Multiplies each byte by 19 modulo 256, as the build does for shipping.
std::string Scramble(const std::string& data);
// Writes `program`, scrambled, as the shipped encoder file into `folder`.
void ShipEncoder(const std::string& folder, const std::string& program);

// Makes a clip with the real encoder: a tiny moving picture and, with audio,
// a 44.1 kHz tone; ".flv" gets Flash video with MP3 sound, anything else an
// MP4 file. The name reaches no shell. False when it could not be made.
bool GenerateClip(const std::string& path, const std::string& seconds, bool audio = true);

}  // namespace testutil
