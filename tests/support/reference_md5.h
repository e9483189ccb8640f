#pragma once

#include <string>

// MD5 from an independent implementation (the platform's crypto library),
// as lower-case hexadecimal text.
std::string ReferenceMd5Hex(const std::string& bytes);
