// Start-up helpers with no window: working paths, the encoder unpacking and
// the settings file.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

// Unscrambles one byte of the shipped encoder file; the caller keeps the low
// 8 bits of the result. Shipping scrambles with ×19, and 19 × 27 ≡ 1 (mod 256).
int UnscrambleByte(int value);

namespace app {

// Unscrambles a block in place, one pass.
void UnscrambleBlock(unsigned char* bytes, std::size_t size);

inline constexpr const char* kEngineFileName = "ra3Zidoz2.dll";
inline constexpr const char* kSettingsFileName = "option.ini";
inline constexpr const char* kSettingsSection = "General";
inline constexpr const char* kSettingsKey = "OutputFolder";

// The folder of the program file, ending with a separator.
std::string ProgramDirOf(const std::string& programFilePath);

// Where the runnable encoder copy goes: the documents folder or, when that
// could not be had, the temporary folder.
std::string EngineWorkPathOf(const std::optional<std::string>& documentsFolder,
                             const std::string& tempFolder);

// Unscrambles `source` into a runnable copy at `target` (owner-only execute
// permission). The copy appears at `target` only when it is complete: on any
// failure (missing or unreadable source, short read, full disk) nothing is
// left at `target` by this call. Returns true when the copy was made.
bool UnpackEngine(const std::string& source, const std::string& target);

// Where "option.ini" is kept: beside the program, or in the user's
// configuration folder when the program's folder is not writable.
std::string SettingsPathOf(const std::string& programDir, bool programDirWritable,
                           const std::string& configFolder);

// The output folder stored in the settings file, trimmed; empty when none.
std::string ReadOutputFolder(const std::string& settingsPath);

// Stores the output folder; false when the file could not be written.
bool WriteOutputFolder(const std::string& settingsPath, const std::string& outputDir);

// The output folder used when none is stored.
std::string DefaultOutputDir(const std::string& homeFolder);

}  // namespace app
