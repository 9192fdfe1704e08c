// The chart as a 32-bit BMP file.
#pragma once
#include <QImage>
#include <filesystem>

namespace vk {

// Writes `image` as an uncompressed 32-bit bottom-up BMP, under a temporary
// name renamed over `path` when complete.
// Throws: Error with the system's text and the file; the old file then stays.
void SaveBmp32(const QImage& image, const std::filesystem::path& path);

}  // namespace vk
