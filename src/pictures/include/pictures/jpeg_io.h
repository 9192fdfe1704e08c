// JPEG pictures through libjpeg: decoding the large source pictures of the
// phase-picture tools, and encoding them (the picture generator, the tests).
#pragma once
#include <filesystem>

#include "pictures/bitmap24.h"

namespace vk {

// Load_JPEG_To_Image: decodes the JPEG file `file` into `target` at its full
// size, 24 bits per pixel (greyscale pictures come out grey in all three bytes).
// Returns true when the picture was decoded.
// Returns false when the file exists but holds no valid JPEG picture (not a
//   JPEG, damaged or corrupt data, a premature end, any libjpeg warning, a
//   colour model that has no RGB form, more than 400 million pixels, or a
//   header claiming more pixels than the data can describe: over 256 a byte,
//   4096 a byte for progressive pictures); `target` is then cleared (0 x 0).
// Throws: Error(kFileNotFound, file) when the file does not exist;
//   Error(<system text>, file) when it exists but cannot be read.
//   `target` is unchanged then.
bool Load_JPEG_To_Image(const std::filesystem::path& file, Bitmap24& target);

// Decodes JPEG data held in memory. Returns true and fills `target` when the
// data hold a valid picture; else clears `target` and returns false.
// Never throws except std::bad_alloc.
bool DecodeJpeg(const void* data, std::size_t size, Bitmap24& target);

// Encodes `picture` (not empty) as a baseline JPEG of quality 1..100 with
// 4:2:0 chroma subsampling. Throws: Error(<libjpeg's text>) on failure.
std::vector<std::uint8_t> EncodeJpeg(const Bitmap24& picture, int quality);

// Writes EncodeJpeg(picture, quality) to `file` through a temporary file that
// is renamed over `file` when complete.
// Throws: Error(<system text>, file) when the file cannot be written; the old
//   file is then unchanged.
void SaveJpeg(const Bitmap24& picture, const std::filesystem::path& file, int quality);

}  // namespace vk
