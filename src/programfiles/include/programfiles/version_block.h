// The version block of an executable: the VS_VERSIONINFO tree (UTF-16 keys,
// 32-bit aligned nodes), its fixed-information root and its string tables.
// The build embeds one in the program's ELF section ".vkversion".
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vk {

// Fixed file information (13 little-endian 32-bit words, signature 0xFEEF04BD).
struct VS_FIXEDFILEINFO {
  std::uint32_t dwSignature = 0xFEEF04BD;
  std::uint32_t dwStrucVersion = 0x00010000;
  std::uint32_t dwFileVersionMS = 0;
  std::uint32_t dwFileVersionLS = 0;
  std::uint32_t dwProductVersionMS = 0;
  std::uint32_t dwProductVersionLS = 0;
  std::uint32_t dwFileFlagsMask = 0x3F;
  std::uint32_t dwFileFlags = 0;
  std::uint32_t dwFileOS = 0x40004;
  std::uint32_t dwFileType = 1;
  std::uint32_t dwFileSubtype = 0;
  std::uint32_t dwFileDateMS = 0;
  std::uint32_t dwFileDateLS = 0;
};
static_assert(sizeof(VS_FIXEDFILEINFO) == 52);

// What a version block holds, for building one.
struct VersionSpec {
  VS_FIXEDFILEINFO fixed;
  bool with_fixed = true;                 // false: a block without a root value
  std::vector<std::uint32_t> translations = {0x04E40809};  // language low, code page high
  std::string table_key = "080904E4";     // the string table's name
  std::vector<std::pair<std::string, std::string>> strings;  // key, value (UTF-8)
};

// Builds the bytes of a version block. Never fails.
std::vector<std::uint8_t> BuildVersionBlock(const VersionSpec& spec);

// A parsed version block answering path queries like the platform's lookup:
// "\" (the fixed information), "\VarFileInfo\Translation",
// "\StringFileInfo\080904E4\FileVersion"; keys compare without regard to case.
class VersionBlock {
 public:
  // Returns: nothing when the bytes are not a well-formed block.
  static std::optional<VersionBlock> Parse(std::vector<std::uint8_t> bytes);

  // The value bytes at `path`, or nothing when there is no such node.
  std::optional<std::vector<std::uint8_t>> Query(const std::string& path) const;
  // A string value (UTF-8) at `path`, up to its terminating zero.
  std::optional<std::string> QueryText(const std::string& path) const;
  // The fixed information, or nothing when the root holds none.
  std::optional<VS_FIXEDFILEINFO> Fixed() const;

 private:
  struct Node {
    std::string key;
    std::size_t value_offset = 0;
    std::size_t value_size = 0;
    bool text = false;
    std::vector<Node> children;
  };
  static std::optional<Node> ParseNode(const std::vector<std::uint8_t>& b, std::size_t offset, std::size_t end,
                                       std::size_t& next);
  std::vector<std::uint8_t> bytes_;
  Node root_;
};

// The bytes of the ELF section `name` of the file at `path`, or nothing when
// the file is no ELF file or has no such section.
std::optional<std::vector<std::uint8_t>> ReadElfSection(const std::string& path, const std::string& name);

// True when `path` is an ELF executable (or position-independent executable) with execute permission.
bool IsExecutableProgram(const std::string& path);

}  // namespace vk
