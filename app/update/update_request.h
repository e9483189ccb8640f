#pragma once

#include <cstdint>
#include <string>

// The seven values of one update query, each sent under its field's name.
struct UpdateRequest {
    std::string appId;
    std::string uid;
    std::string version;
    std::string channel;
    std::string osVersion;
    int32_t reqType = 0;
    int64_t ts = 0;
};
