// How texts cross the test driver's line protocol: as hex of their bytes, "-" for none, so that
// blanks, line breaks and any byte travel inside one word. Both sides of the protocol use it.
#pragma once

#include <string>
#include <string_view>

inline std::string Hex(std::string_view bytes) {
    static const char digits[] = "0123456789abcdef";
    std::string hex;
    for (unsigned char c : bytes) {
        hex += digits[c >> 4];
        hex += digits[c & 15];
    }
    return hex.empty() ? "-" : hex;
}

inline std::string Unhex(const std::string& hex) {
    std::string bytes;
    if (hex == "-")
        return bytes;
    for (size_t i = 0; i + 1 < hex.size(); i += 2)
        bytes += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
    return bytes;
}
