#pragma once

#include <cstddef>
#include <string_view>

// Length in Unicode code points of UTF-8 text: every byte but the continuation bytes starts one.
inline std::size_t codePoints(std::string_view utf8)
{
    std::size_t count = 0;
    for (unsigned char byte : utf8)
        count += (byte & 0xC0) != 0x80;
    return count;
}

inline bool isAscii(std::string_view text)
{
    for (unsigned char byte : text) {
        if (byte > 0x7F)
            return false;
    }
    return true;
}
