// The stb_image decoder, compiled once. Images only come from memory, and
// only in the formats skins use: PNG, JPEG, BMP and GIF.
#define STB_IMAGE_IMPLEMENTATION
#define STBI_NO_STDIO
#define STBI_FAILURE_USERMSG
#define STBI_ONLY_PNG
#define STBI_ONLY_JPEG
#define STBI_ONLY_BMP
#define STBI_ONLY_GIF
#define STBI_NO_LINEAR
#include <stb_image.h>
