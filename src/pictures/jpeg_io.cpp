#include "pictures/jpeg_io.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

// jpeglib.h needs FILE and size_t declared first.
#include <jpeglib.h>
#include <jerror.h>

#include "base/atomic_file.h"
#include "pictures/bmp_io.h"
#include "base/whole_file.h"
#include "base/error.h"

namespace vk {
namespace {

// libjpeg reports errors through a callback that must not return. The
// handler jumps back to the setjmp point of the decoding or encoding function;
// those functions keep no C++ objects with destructors between the setjmp and
// the libjpeg calls, so the jump skips no destructor.
struct JumpErrorManager {
  jpeg_error_mgr pub;
  std::jmp_buf jump;
  char message[JMSG_LENGTH_MAX];
};

[[noreturn]] void JumpOnError(j_common_ptr cinfo) {
  auto* err = reinterpret_cast<JumpErrorManager*>(cinfo->err);
  (*cinfo->err->format_message)(cinfo, err->message);
  std::longjmp(err->jump, 1);
}

// Every warning ends the decoding: a premature end, corrupt or extraneous
// data, a lost marker. libjpeg would otherwise go on and fill what it could
// not decode with grey, so such a file holds no complete picture. Trace
// messages (level above 0) are ignored.
void JumpOnWarning(j_common_ptr cinfo, int level) {
  if (level < 0) JumpOnError(cinfo);
}

constexpr unsigned long long kMaxPixels = 400000000ULL;

// The most pixels `size` bytes of JPEG data can describe: every 8 x 8 block of
// a sequential picture costs at least two bits (its DC difference and the end
// of block), so at most 256 pixels a byte; progressive pictures can skip runs
// of blocks and are given sixteen times that. Headers claiming more are
// refused before the picture is allocated.
unsigned long long MaxPixelsFor(unsigned long size, bool progressive) {
  return (static_cast<unsigned long long>(size) + 1024) * (progressive ? 4096ULL : 256ULL);
}

// Returns true when decoded into *out (already sized by this function).
bool DecodeInto(const unsigned char* data, unsigned long size, Bitmap24* out) {
  jpeg_decompress_struct cinfo;
  JumpErrorManager err;
  cinfo.err = jpeg_std_error(&err.pub);
  err.pub.error_exit = JumpOnError;
  err.pub.emit_message = JumpOnWarning;
  if (setjmp(err.jump)) {
    jpeg_destroy_decompress(&cinfo);
    return false;
  }
  jpeg_create_decompress(&cinfo);
  jpeg_mem_src(&cinfo, data, size);
  jpeg_read_header(&cinfo, TRUE);
  cinfo.out_color_space = JCS_EXT_BGR;
  jpeg_calc_output_dimensions(&cinfo);
  const unsigned long long pixels =
      static_cast<unsigned long long>(cinfo.output_width) * cinfo.output_height;
  if (pixels == 0 || pixels > kMaxPixels || pixels > MaxPixelsFor(size, cinfo.progressive_mode)) {
    jpeg_destroy_decompress(&cinfo);
    return false;
  }
  out->reset(static_cast<int>(cinfo.output_width), static_cast<int>(cinfo.output_height));
  jpeg_start_decompress(&cinfo);
  if (cinfo.output_components != 3) {
    jpeg_destroy_decompress(&cinfo);
    return false;
  }
  while (cinfo.output_scanline < cinfo.output_height) {
    JSAMPROW rows[1] = {out->row(static_cast<int>(cinfo.output_scanline))};
    jpeg_read_scanlines(&cinfo, rows, 1);
  }
  jpeg_finish_decompress(&cinfo);
  jpeg_destroy_decompress(&cinfo);
  return true;
}

// Returns true when encoded; the buffer is malloc'ed by libjpeg.
bool EncodeInto(const Bitmap24* picture, int quality, unsigned char** buffer, unsigned long* size,
                char* message) {
  jpeg_compress_struct cinfo;
  JumpErrorManager err;
  cinfo.err = jpeg_std_error(&err.pub);
  err.pub.error_exit = JumpOnError;
  if (setjmp(err.jump)) {
    std::memcpy(message, err.message, JMSG_LENGTH_MAX);
    jpeg_destroy_compress(&cinfo);
    return false;
  }
  jpeg_create_compress(&cinfo);
  jpeg_mem_dest(&cinfo, buffer, size);
  cinfo.image_width = static_cast<JDIMENSION>(picture->width);
  cinfo.image_height = static_cast<JDIMENSION>(picture->height);
  cinfo.input_components = 3;
  cinfo.in_color_space = JCS_EXT_BGR;
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, quality, TRUE);
  cinfo.optimize_coding = TRUE;
  jpeg_start_compress(&cinfo, TRUE);
  while (cinfo.next_scanline < cinfo.image_height) {
    JSAMPROW rows[1] = {const_cast<unsigned char*>(picture->row(static_cast<int>(cinfo.next_scanline)))};
    jpeg_write_scanlines(&cinfo, rows, 1);
  }
  jpeg_finish_compress(&cinfo);
  jpeg_destroy_compress(&cinfo);
  return true;
}

}  // namespace

bool DecodeJpeg(const void* data, std::size_t size, Bitmap24& target) {
  if (size == 0 || size > 0xFFFFFFFFUL) {
    target.clear();
    return false;
  }
  if (!DecodeInto(static_cast<const unsigned char*>(data), static_cast<unsigned long>(size), &target)) {
    target.clear();
    return false;
  }
  return true;
}

bool Load_JPEG_To_Image(const std::filesystem::path& file, Bitmap24& target) {
  const std::string data = ReadWholeFile(file, kPictureFileLimit);
  return DecodeJpeg(data.data(), data.size(), target);
}

std::vector<std::uint8_t> EncodeJpeg(const Bitmap24& picture, int quality) {
  if (picture.empty()) throw Error("Cannot encode an empty picture");
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  char message[JMSG_LENGTH_MAX] = {};
  const bool ok = EncodeInto(&picture, quality < 1 ? 1 : quality > 100 ? 100 : quality, &buffer, &size, message);
  std::vector<std::uint8_t> out;
  if (ok) out.assign(buffer, buffer + size);
  std::free(buffer);
  if (!ok) throw Error(message);
  return out;
}

void SaveJpeg(const Bitmap24& picture, const std::filesystem::path& file, int quality) {
  const std::vector<std::uint8_t> data = EncodeJpeg(picture, quality);
  AtomicFile out(file);
  out.write(data.data(), data.size());
  out.commit();
}

}  // namespace vk
