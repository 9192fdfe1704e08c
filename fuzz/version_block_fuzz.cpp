// A version block as bytes and inside an ELF file: parsed or refused,
// never more memory than the file holds.
#include <sys/stat.h>

#include <cstdint>
#include <vector>

#include "programfiles/version_block.h"
#include "programfiles/version_info.h"
#include "fuzz_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::vector<std::uint8_t> bytes(data, data + size);
  (void)vk::VersionInfoFromBlock(bytes);
  if (auto block = vk::VersionBlock::Parse(bytes)) {
    (void)block->QueryText("\\StringFileInfo\\080904E4\\FileVersion");
    (void)block->Query("\\VarFileInfo\\Translation");
    (void)block->Fixed();
  }
  const auto path = vk::fuzz::InputFile(data, size);
  ::chmod(path.c_str(), 0755);
  (void)vk::Read_Version_Info(path.string());
  return 0;
}
