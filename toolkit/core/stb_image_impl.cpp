// The stb_image decoder, compiled once. Images only come from memory, and
// only in the formats a skin may use.
#define STB_IMAGE_IMPLEMENTATION
#define STBI_NO_STDIO
#define STBI_ONLY_PNG
#define STBI_ONLY_JPEG
#define STBI_ONLY_BMP
#define STBI_ONLY_GIF
#define STBI_FAILURE_USERMSG
#include <stb_image.h>
