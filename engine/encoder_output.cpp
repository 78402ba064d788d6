#include "engine/encoder_output.h"

#include <climits>
#include <cstdint>
#include <cstring>

namespace engine {

namespace {

constexpr const char kDuration[] = "Duration: ";
constexpr std::size_t kDurationLength = sizeof kDuration - 1;
// What is kept of the text when room is made before any "Duration: " was
// seen: enough for the start of that word cut off by a read.
constexpr std::size_t kKeptTail = 64;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

int Clamp(std::int64_t v) {
    return v > INT_MAX ? INT_MAX : (v < INT_MIN ? INT_MIN : static_cast<int>(v));
}

// Reads 1 or more digits into value (saturating); returns the end.
const char* Digits(const char* p, std::int64_t& value) {
    value = 0;
    while (IsDigit(*p)) {
        if (value < INT64_MAX / 100) value = value * 10 + (*p - '0');
        ++p;
    }
    return p;
}

}  // namespace

int AtoiLike(const char* text) {
    const char* p = text;
    while (IsSpace(*p)) ++p;
    bool negative = false;
    if (*p == '+' || *p == '-') negative = *p++ == '-';
    std::int64_t value = 0;
    Digits(p, value);
    return Clamp(negative ? -value : value);
}

const char* FindProgressFigure(char* chunk) {
    char* match = std::strstr(chunk, "time=");
    if (match == nullptr) return nullptr;
    char* dot = std::strchr(match, '.');
    if (dot == nullptr) return nullptr;
    char* figure = match + 5;
    const char* first = figure[0] == '-' ? figure + 1 : figure;
    if (!IsDigit(*first)) return nullptr;
    *dot = '\0';
    return figure;
}

int ProgressSeconds(const char* figure) {
    const char* p = figure;
    while (IsSpace(*p)) ++p;
    bool negative = false;
    if (*p == '+' || *p == '-') negative = *p++ == '-';
    std::int64_t h = 0, m = 0, s = 0;
    const char* q = Digits(p, h);
    if (q != p && *q == ':') {
        const char* r = Digits(q + 1, m);
        if (r != q + 1 && *r == ':') {
            const char* t = Digits(r + 1, s);
            if (t != r + 1) {
                const std::int64_t total = h * 3600 + m * 60 + s;
                return Clamp(negative ? -total : total);
            }
        }
    }
    return AtoiLike(figure);
}

int ParseDuration(const char* text) {
    const char* match = std::strstr(text, kDuration);
    if (match == nullptr) return 0;
    const char* p = match + kDurationLength;
    std::int64_t hours = 0;
    const char* q = Digits(p, hours);
    if (q == p || *q != ':') return 0;
    if (!IsDigit(q[1]) || !IsDigit(q[2]) || q[3] != ':' || !IsDigit(q[4]) || !IsDigit(q[5])) {
        return 0;
    }
    const int minutes = (q[1] - '0') * 10 + (q[2] - '0');
    const int seconds = (q[4] - '0') * 10 + (q[5] - '0');
    const std::int64_t total = hours * 3600 + minutes * 60 + seconds;
    return total > INT_MAX ? 0 : static_cast<int>(total);
}

void ProbeText::Clear() {
    m_text[0] = '\0';
    m_length = 0;
    m_frozen = false;
}

void ProbeText::DropFront(std::size_t count) {
    std::memmove(m_text, m_text + count, m_length - count + 1);
    m_length -= count;
}

void ProbeText::UpdateFrozen() {
    const char* match = std::strstr(m_text, kDuration);
    if (match != nullptr && std::strpbrk(match + kDurationLength, "\r\n") != nullptr) {
        m_frozen = true;
    }
}

void ProbeText::Append(const char* chunk) {
    std::size_t remaining = std::strlen(chunk);
    while (remaining > 0 && !m_frozen) {
        std::size_t room = kCapacity - 1 - m_length;
        if (room == 0) {
            const char* match = std::strstr(m_text, kDuration);
            if (match == m_text) {  // a whole buffer of "Duration: " line: enough
                m_frozen = true;
                return;
            }
            DropFront(match != nullptr ? static_cast<std::size_t>(match - m_text)
                                       : m_length - kKeptTail);
            room = kCapacity - 1 - m_length;
        }
        const std::size_t n = remaining < room ? remaining : room;
        std::memcpy(m_text + m_length, chunk, n);
        m_length += n;
        m_text[m_length] = '\0';
        chunk += n;
        remaining -= n;
        UpdateFrozen();
    }
}

}  // namespace engine
