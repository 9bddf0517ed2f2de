// Fixed-capacity text: a field of N bytes holds at most N - 1 characters followed by a zero
// byte. Storing keeps the first N - 1 characters and stops early at a zero byte in the source;
// reading takes the characters up to the first zero byte and never looks past the field.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// How many characters of text a field with room for `capacity` characters keeps.
inline size_t FittingLength(std::string_view text, size_t capacity) {
    size_t end = text.find('\0');
    if (end == std::string_view::npos)
        end = text.size();
    return end < capacity ? end : capacity;
}

// The part of text that a field with room for `capacity` characters keeps.
inline std::string FitText(std::string_view text, size_t capacity) {
    return std::string(text.substr(0, FittingLength(text, capacity)));
}

// Stores text into a field of fieldSize bytes; the bytes after the terminator are left alone.
inline void StoreFixedText(char* field, size_t fieldSize, std::string_view text) {
    size_t length = FittingLength(text, fieldSize - 1);
    text.copy(field, length);
    field[length] = '\0';
}

// Reads a field of fieldSize bytes. A field without a zero byte (a damaged file) gives its
// first fieldSize - 1 bytes.
inline std::string ReadFixedText(const char* field, size_t fieldSize) {
    return FitText(std::string_view(field, fieldSize - 1), fieldSize - 1);
}
