// A JPEG source picture: decoded or refused.
#include <cstdint>

#include "pictures/jpeg_io.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  vk::Bitmap24 picture;
  (void)vk::DecodeJpeg(data, size, picture);
  return 0;
}
