// Scrambles a program into the shipped encoder file, or back.
//
//   scramble INPUT OUTPUT       each byte b becomes (b × 19) mod 256
//   scramble -d INPUT OUTPUT    each byte b becomes (b × 27) mod 256 (undoes the above)
//
// The output is written under a temporary name and renamed into place when
// complete, so a build that is interrupted never leaves a partial file.
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    int factor = 19;
    int first = 1;
    if (argc == 4 && std::strcmp(argv[1], "-d") == 0) {
        factor = 27;
        first = 2;
    } else if (argc != 3) {
        std::cerr << "usage: scramble [-d] INPUT OUTPUT\n";
        return 2;
    }
    const std::string input = argv[first];
    const std::string output = argv[first + 1];
    const std::string temp = output + ".part";

    std::ifstream in(input, std::ios::binary);
    if (!in) {
        std::cerr << "scramble: cannot read " << input << "\n";
        return 1;
    }
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    if (!out) {
        std::cerr << "scramble: cannot write " << temp << "\n";
        return 1;
    }
    std::vector<char> buffer(1 << 20);
    while (in) {
        in.read(buffer.data(), static_cast<std::streamsize>(buffer.size()));
        const std::streamsize n = in.gcount();
        for (std::streamsize i = 0; i < n; ++i) {
            const auto b = static_cast<unsigned char>(buffer[static_cast<std::size_t>(i)]);
            buffer[static_cast<std::size_t>(i)] = static_cast<char>((b * factor) & 0xFF);
        }
        out.write(buffer.data(), n);
    }
    const bool readAll = in.eof() && !in.bad();
    out.close();
    if (!readAll || !out) {
        std::remove(temp.c_str());
        std::cerr << "scramble: failed to convert " << input << "\n";
        return 1;
    }
    if (std::rename(temp.c_str(), output.c_str()) != 0) {
        std::remove(temp.c_str());
        std::cerr << "scramble: cannot create " << output << "\n";
        return 1;
    }
    return 0;
}
