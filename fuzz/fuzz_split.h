// Fuzz input cut into texts at zero bytes, as values read from Config.cfg or
// the registry never hold one.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

inline std::vector<std::string> SplitFuzzInput(const uint8_t* data, size_t size, size_t count)
{
    std::vector<std::string> parts(count);
    size_t part = 0;
    for (size_t i = 0; i < size; ++i) {
        if (data[i] == 0 && part + 1 < count)
            ++part;
        else
            parts[part].push_back(static_cast<char>(data[i]));
    }
    return parts;
}
