// A look at an image file before the decoder sees it, for faults of the
// stb_image version the program is built with (2.27).
#pragma once

#include <cstddef>
#include <cstdint>

namespace SkinUI {

// False for a JPEG with a Huffman table of more than 256 codes: stb_image
// 2.27 writes such a table past the end of its arrays. Every other file,
// JPEG or not, is left to the decoder.
bool IsSkinImageDecodable(const uint8_t* bytes, size_t size);

} // namespace SkinUI
