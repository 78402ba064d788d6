#include "ui/site_address.h"

#include <array>
#include <cstddef>

namespace {

// Each byte is kept multiplied by 19 (mod 256); 27 undoes it, as 19 × 27 ≡ 1.
template <std::size_t N>
constexpr std::array<unsigned char, N - 1> Scrambled(const char (&text)[N]) {
    std::array<unsigned char, N - 1> out{};
    for (std::size_t i = 0; i + 1 < N; ++i) {
        out[i] = static_cast<unsigned char>((static_cast<unsigned char>(text[i]) * 19) & 0xFF);
    }
    return out;
}

constexpr auto kDomain = Scrambled("quillet.example");

}  // namespace

std::string CSiteAddress::GetDomain() const {
    std::string domain;
    domain.reserve(kDomain.size());
    for (unsigned char b : kDomain) domain.push_back(static_cast<char>((b * 27) & 0xFF));
    return domain;
}
