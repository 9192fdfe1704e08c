// 24-bit BMP files: what the phase-picture tools save, and what the image-set
// assembly reads back.
#pragma once
#include <cstdint>
#include <filesystem>
#include <vector>

#include "base/bmp_writer.h"
#include "pictures/bitmap24.h"

namespace vk {

// The bytes of a BMP file of `picture`: the 14-byte file header ("BM", file
// size, pixel data offset 54), a 40-byte BITMAPINFOHEADER (width, positive
// height = rows stored bottom-up, 1 plane, 24 bits, no compression, image size,
// 0 pixels per metre, 0 palette entries), then the rows from the bottom up,
// B G R per pixel, each row padded with zero bytes to a multiple of 4.
// An empty picture gives a 0 x 0 file of 54 bytes. Never throws except
// std::bad_alloc.
std::vector<std::uint8_t> EncodeBmp24(const Bitmap24& picture);

// Writes EncodeBmp24(picture) to `file`, replacing any file of that name, through
// a temporary file renamed over `file` when complete.
// Throws: Error(<system text>, file) when it cannot be written; an existing
//   file of that name is then unchanged.
void SaveBmp24(const Bitmap24& picture, const std::filesystem::path& file);

// Decodes BMP data: uncompressed 24-bit, bottom-up or top-down rows.
// Returns false (and clears `picture`) for anything else.
bool DecodeBmp24(const void* data, std::size_t size, Bitmap24& picture);

// Reads a 24-bit BMP file.
// Throws: Error(kFileNotFound, file) when missing; Error(<system text>, file)
//   when unreadable; Error(kBitmapNotValid, file) when it is no uncompressed
//   24-bit BMP.
Bitmap24 LoadBmp24(const std::filesystem::path& file);

inline constexpr const char* kBitmapNotValid = "Bitmap image is not valid";
// The most bytes read of a picture file (BMP or JPEG; the sources hold a few MB).
inline constexpr std::uint64_t kPictureFileLimit = std::uint64_t{64} << 20;

}  // namespace vk
