// A look at an image file before the decoder sees it, for faults of the
// stb_image version the program is built with (2.27).
#pragma once

#include <cstddef>
#include <cstdint>

namespace SkinUI {

// False for a JPEG with a Huffman table of more than 256 codes, which
// stb_image 2.27 writes past the end of its arrays, and for a PNG whose
// first IDAT chunk is empty, which it copies from a null pointer. Every
// other file is left to the decoder.
bool IsSkinImageDecodable(const uint8_t* bytes, size_t size);

} // namespace SkinUI
