// A damaged ELF file: section sizes and offsets that reach past the end of the
// file give no version block, never an allocation of the claimed size.
#include <elf.h>
#include <sys/stat.h>

#include <gtest/gtest.h>

#include <cstring>

#include "programfiles/version_block.h"
#include "programfiles/version_info.h"
#include "support/temp_dir.h"

namespace vk {
namespace {

// An executable ELF file with a name table and a ".vkversion" section holding
// `block`; `damage` may change the section headers before they are written.
template <class Damage>
std::string WriteElf(const test::TempDir& dir, const std::vector<std::uint8_t>& block, Damage damage) {
  const std::string names = std::string("\0.shstrtab\0.vkversion\0", 22);
  Elf64_Ehdr eh{};
  std::memcpy(eh.e_ident, ELFMAG, SELFMAG);
  eh.e_ident[EI_CLASS] = ELFCLASS64;
  eh.e_ident[EI_DATA] = ELFDATA2LSB;
  eh.e_ident[EI_VERSION] = EV_CURRENT;
  eh.e_type = ET_EXEC;
  eh.e_ehsize = sizeof eh;
  eh.e_shentsize = sizeof(Elf64_Shdr);
  eh.e_shnum = 3;
  eh.e_shstrndx = 1;
  const std::size_t names_at = sizeof eh, block_at = names_at + names.size();
  eh.e_shoff = block_at + block.size();
  Elf64_Shdr sh[3]{};
  sh[1].sh_name = 1;
  sh[1].sh_type = SHT_STRTAB;
  sh[1].sh_offset = names_at;
  sh[1].sh_size = names.size();
  sh[2].sh_name = 11;
  sh[2].sh_type = SHT_PROGBITS;
  sh[2].sh_offset = block_at;
  sh[2].sh_size = block.size();
  damage(sh);
  std::string bytes(reinterpret_cast<const char*>(&eh), sizeof eh);
  bytes += names;
  bytes.append(reinterpret_cast<const char*>(block.data()), block.size());
  bytes.append(reinterpret_cast<const char*>(sh), sizeof sh);
  const std::string path = (dir / "program").string();
  test::WriteFile(path, bytes);
  ::chmod(path.c_str(), 0755);
  return path;
}

std::vector<std::uint8_t> Block() {
  VersionSpec s;
  s.strings = {{"FileVersion", "1.2.3.4"}};
  return BuildVersionBlock(s);
}

TEST(ElfSection, AWellFormedFileGivesItsBlock) {
  test::TempDir dir;
  const std::string path = WriteElf(dir, Block(), [](Elf64_Shdr*) {});
  EXPECT_EQ(ReadElfSection(path, ".vkversion"), Block());
  EXPECT_EQ(Read_Version_Info(path).FileVersion, "1.2.3.4");
}

TEST(ElfSection, SizesPastTheEndOfTheFileGiveEmptyFields) {
  const struct {
    const char* what;
    void (*damage)(Elf64_Shdr*);
  } cases[] = {
      {"huge section", [](Elf64_Shdr* sh) { sh[2].sh_size = std::uint64_t{1} << 60; }},
      {"section one byte too long", [](Elf64_Shdr* sh) { sh[2].sh_size += 1 + 64 * 3; }},
      {"offset past the end", [](Elf64_Shdr* sh) { sh[2].sh_offset = ~std::uint64_t{0} - 4; }},
      {"huge name table", [](Elf64_Shdr* sh) { sh[1].sh_size = std::uint64_t{1} << 62; }},
      {"name table without bytes", [](Elf64_Shdr* sh) { sh[1].sh_type = SHT_NOBITS; }},
  };
  for (const auto& c : cases) {
    test::TempDir dir;
    const std::string path = WriteElf(dir, Block(), c.damage);
    EXPECT_EQ(ReadElfSection(path, ".vkversion"), std::nullopt) << c.what;
    const TFileVersionInfo info = Read_Version_Info(path);
    EXPECT_EQ(info.FileVersion, "") << c.what;
    EXPECT_EQ(info.CompanyName, "") << c.what;
  }
}

}  // namespace
}  // namespace vk
