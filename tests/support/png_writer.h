// Encodes small RGBA images as PNG files for the image tests.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// pixels: width * height words 0xAARRGGBB, straight (not premultiplied) colour.
std::string EncodePng(int width, int height, const std::vector<uint32_t>& pixels);
