// Reading the encoder's standard error: the duration of a probed input and
// the progress figures of a conversion. Pure functions, no threads.
#pragma once

#include <cstddef>

namespace engine {

// Reads text as the C library's atoi does: leading white space, an optional
// sign, decimal digits up to the first other character; 0 without digits.
int AtoiLike(const char* text);

// One chunk of error output of a conversion: the text of its progress figure,
// or nullptr. The figure follows the chunk's first "time=" and ends at the
// first "." after it in the same chunk, which is overwritten with a NUL. A
// figure that does not start with a digit (after an optional "-"), such as
// "N/A", yields nothing.
const char* FindProgressFigure(char* chunk);

// Whole seconds of a progress figure: "00:02:08" (hours, minutes, seconds)
// gives 128, "83" gives 83.
int ProgressSeconds(const char* figure);

// The duration after the first "Duration: " in the text, in whole seconds
// (fraction dropped): hours of any number of digits, then ":MM:SS". No such
// line, or a garbled one, gives 0.
int ParseDuration(const char* text);

// The error output of a probe, collected in a bounded buffer. While no
// "Duration: " line has been seen, the oldest text is dropped to make room
// (keeping a tail, so a line cut between two reads is still found); once the
// first "Duration: " line is complete, the text is frozen.
class ProbeText {
public:
    static constexpr std::size_t kCapacity = 2048;  // including the final NUL
    ProbeText() { Clear(); }
    void Clear();
    void Append(const char* chunk);
    const char* c_str() const { return m_text; }
    bool Frozen() const { return m_frozen; }

private:
    void DropFront(std::size_t count);
    void UpdateFrozen();
    char m_text[kCapacity];
    std::size_t m_length = 0;
    bool m_frozen = false;
};

}  // namespace engine
