#include "programfiles/version_block.h"

#include <elf.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <cerrno>
#include <memory>

#include "base/error.h"
#include "base/whole_file.h"

namespace vk {
namespace {

std::u16string Utf8ToUtf16(const std::string& s) {
  std::u16string out;
  for (std::size_t i = 0; i < s.size();) {
    const auto c = static_cast<unsigned char>(s[i]);
    std::uint32_t cp;
    int extra;
    if (c < 0x80) { cp = c; extra = 0; }
    else if ((c >> 5) == 6) { cp = c & 0x1F; extra = 1; }
    else if ((c >> 4) == 14) { cp = c & 0x0F; extra = 2; }
    else { cp = c & 0x07; extra = 3; }
    ++i;
    for (int k = 0; k < extra && i < s.size(); ++k, ++i) cp = (cp << 6) | (static_cast<unsigned char>(s[i]) & 0x3F);
    if (cp >= 0x10000) {
      cp -= 0x10000;
      out += static_cast<char16_t>(0xD800 + (cp >> 10));
      out += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
    } else {
      out += static_cast<char16_t>(cp);
    }
  }
  return out;
}

void AppendUtf8(std::string& out, std::uint32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

std::uint16_t Word(const std::vector<std::uint8_t>& b, std::size_t o) {
  return static_cast<std::uint16_t>(b[o] | (b[o + 1] << 8));
}

// UTF-16 text from `o` up to a zero word or `end`; `next` is the offset after the zero.
std::string Utf16Text(const std::vector<std::uint8_t>& b, std::size_t o, std::size_t end, std::size_t* next) {
  std::string out;
  while (o + 1 < end) {
    std::uint32_t w = Word(b, o);
    o += 2;
    if (w == 0) break;
    if (w >= 0xD800 && w < 0xDC00 && o + 1 < end) {
      const std::uint32_t lo = Word(b, o);
      o += 2;
      w = 0x10000 + ((w - 0xD800) << 10) + (lo - 0xDC00);
    }
    AppendUtf8(out, w);
  }
  if (next) *next = o;
  return out;
}

std::size_t Align4(std::size_t n) { return (n + 3) & ~std::size_t{3}; }

void PutWord(std::vector<std::uint8_t>& b, std::size_t o, std::uint16_t w) {
  b[o] = static_cast<std::uint8_t>(w & 0xFF);
  b[o + 1] = static_cast<std::uint8_t>(w >> 8);
}

// One node: header, key, value, children, each part starting 32-bit aligned.
std::vector<std::uint8_t> MakeNode(const std::string& key, const std::vector<std::uint8_t>& value,
                                   std::uint16_t value_length, std::uint16_t type,
                                   const std::vector<std::vector<std::uint8_t>>& children) {
  std::vector<std::uint8_t> b(6, 0);
  for (char16_t c : Utf8ToUtf16(key)) {
    b.push_back(static_cast<std::uint8_t>(c & 0xFF));
    b.push_back(static_cast<std::uint8_t>(c >> 8));
  }
  b.push_back(0);
  b.push_back(0);
  b.resize(Align4(b.size()), 0);
  b.insert(b.end(), value.begin(), value.end());
  for (const auto& child : children) {
    b.resize(Align4(b.size()), 0);
    b.insert(b.end(), child.begin(), child.end());
  }
  PutWord(b, 0, static_cast<std::uint16_t>(b.size()));
  PutWord(b, 2, value_length);
  PutWord(b, 4, type);
  return b;
}

bool KeyEquals(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) return false;
  return true;
}

}  // namespace

std::vector<std::uint8_t> BuildVersionBlock(const VersionSpec& spec) {
  std::vector<std::vector<std::uint8_t>> strings;
  for (const auto& [key, value] : spec.strings) {
    const std::u16string v = Utf8ToUtf16(value);
    std::vector<std::uint8_t> bytes;
    for (char16_t c : v) {
      bytes.push_back(static_cast<std::uint8_t>(c & 0xFF));
      bytes.push_back(static_cast<std::uint8_t>(c >> 8));
    }
    bytes.push_back(0);
    bytes.push_back(0);
    strings.push_back(MakeNode(key, bytes, static_cast<std::uint16_t>(v.size() + 1), 1, {}));
  }
  const auto table = MakeNode(spec.table_key, {}, 0, 1, strings);
  const auto string_info = MakeNode("StringFileInfo", {}, 0, 1, {table});
  std::vector<std::uint8_t> translations;
  for (std::uint32_t t : spec.translations)
    for (int k = 0; k < 4; ++k) translations.push_back(static_cast<std::uint8_t>(t >> (8 * k)));
  const auto var = MakeNode("Translation", translations, static_cast<std::uint16_t>(translations.size()), 0, {});
  const auto var_info = MakeNode("VarFileInfo", {}, 0, 1, {var});
  std::vector<std::uint8_t> fixed;
  if (spec.with_fixed) {
    fixed.resize(sizeof(VS_FIXEDFILEINFO));
    std::memcpy(fixed.data(), &spec.fixed, sizeof(VS_FIXEDFILEINFO));
  }
  return MakeNode("VS_VERSION_INFO", fixed, static_cast<std::uint16_t>(fixed.size()), 0, {string_info, var_info});
}

std::optional<VersionBlock::Node> VersionBlock::ParseNode(const std::vector<std::uint8_t>& b, std::size_t offset,
                                                          std::size_t end, std::size_t& next) {
  if (offset + 6 > end) return std::nullopt;
  const std::size_t length = Word(b, offset);
  const std::size_t value_length = Word(b, offset + 2);
  const std::uint16_t type = Word(b, offset + 4);
  const std::size_t node_end = offset + length;
  if (length < 6 || node_end > end) return std::nullopt;
  Node n;
  std::size_t p = 0;
  n.key = Utf16Text(b, offset + 6, node_end, &p);
  p = Align4(p);
  n.text = type == 1;
  n.value_offset = p;
  n.value_size = n.text ? value_length * 2 : value_length;
  if (p + n.value_size > node_end) n.value_size = p < node_end ? node_end - p : 0;
  p = Align4(p + n.value_size);
  while (p + 6 <= node_end) {
    std::size_t child_end = 0;
    auto child = ParseNode(b, p, node_end, child_end);
    if (!child) break;
    n.children.push_back(std::move(*child));
    p = Align4(child_end);
  }
  next = node_end;
  return n;
}

std::optional<VersionBlock> VersionBlock::Parse(std::vector<std::uint8_t> bytes) {
  std::size_t next = 0;
  auto root = ParseNode(bytes, 0, bytes.size(), next);
  if (!root || root->key != "VS_VERSION_INFO") return std::nullopt;
  VersionBlock v;
  v.bytes_ = std::move(bytes);
  v.root_ = std::move(*root);
  return v;
}

std::optional<std::vector<std::uint8_t>> VersionBlock::Query(const std::string& path) const {
  const Node* n = &root_;
  std::size_t i = 0;
  while (i < path.size()) {
    if (path[i] == '\\') {
      ++i;
      continue;
    }
    const std::size_t j = std::min(path.find('\\', i), path.size());
    const std::string key = path.substr(i, j - i);
    const Node* found = nullptr;
    for (const Node& c : n->children)
      if (KeyEquals(c.key, key)) {
        found = &c;
        break;
      }
    if (!found) return std::nullopt;
    n = found;
    i = j;
  }
  return std::vector<std::uint8_t>(bytes_.begin() + static_cast<std::ptrdiff_t>(n->value_offset),
                                   bytes_.begin() + static_cast<std::ptrdiff_t>(n->value_offset + n->value_size));
}

std::optional<std::string> VersionBlock::QueryText(const std::string& path) const {
  auto v = Query(path);
  if (!v) return std::nullopt;
  return Utf16Text(*v, 0, v->size(), nullptr);
}

std::optional<VS_FIXEDFILEINFO> VersionBlock::Fixed() const {
  if (root_.value_size < sizeof(VS_FIXEDFILEINFO)) return std::nullopt;
  VS_FIXEDFILEINFO f;
  std::memcpy(&f, bytes_.data() + root_.value_offset, sizeof f);
  if (f.dwSignature != 0xFEEF04BD) return std::nullopt;
  return f;
}

namespace {

// The most bytes an executable may hold, and the most read of one of its
// parts (the section names, the version block: a few KiB each).
constexpr std::uint64_t kProgramFileLimit = std::uint64_t{1} << 30;
constexpr std::uint64_t kElfPartLimit = std::uint64_t{1} << 20;

bool ReadAt(const InputFile& file, void* to, std::uint64_t size, std::uint64_t offset) {
  for (std::uint64_t done = 0; done < size;) {
    const ssize_t n = ::pread(file.fd(), static_cast<char*>(to) + done, size - done, static_cast<off_t>(offset + done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<std::uint64_t>(n);
  }
  return true;
}

std::unique_ptr<InputFile> OpenProgram(const std::string& path) {
  try {
    return std::make_unique<InputFile>(path, kProgramFileLimit);
  } catch (const Error&) {
    return nullptr;
  }
}

}  // namespace

std::optional<std::vector<std::uint8_t>> ReadElfSection(const std::string& path, const std::string& name) {
  const auto file = OpenProgram(path);
  if (!file) return std::nullopt;
  const std::uint64_t file_size = file->size();
  // Every part read must lie inside the file and be of a size a program's
  // part can have: a header claiming more is refused before anything is
  // allocated for it.
  auto inside = [&](std::uint64_t offset, std::uint64_t size) {
    return offset <= file_size && size <= file_size - offset && size <= kElfPartLimit;
  };
  Elf64_Ehdr eh{};
  if (!ReadAt(*file, &eh, sizeof eh, 0)) return std::nullopt;
  if (std::memcmp(eh.e_ident, ELFMAG, SELFMAG) != 0 || eh.e_ident[EI_CLASS] != ELFCLASS64) return std::nullopt;
  if (eh.e_shentsize != sizeof(Elf64_Shdr) || eh.e_shstrndx >= eh.e_shnum) return std::nullopt;
  if (!inside(eh.e_shoff, std::uint64_t{eh.e_shnum} * sizeof(Elf64_Shdr))) return std::nullopt;
  std::vector<Elf64_Shdr> sections(eh.e_shnum);
  if (!ReadAt(*file, sections.data(), sections.size() * sizeof(Elf64_Shdr), eh.e_shoff)) return std::nullopt;
  const Elf64_Shdr& names = sections[eh.e_shstrndx];
  if (names.sh_type == SHT_NOBITS || !inside(names.sh_offset, names.sh_size)) return std::nullopt;
  std::string strtab(names.sh_size, '\0');
  if (!ReadAt(*file, strtab.data(), strtab.size(), names.sh_offset)) return std::nullopt;
  for (const Elf64_Shdr& s : sections) {
    if (s.sh_name >= strtab.size() || std::strcmp(strtab.c_str() + s.sh_name, name.c_str()) != 0) continue;
    if (s.sh_type == SHT_NOBITS || !inside(s.sh_offset, s.sh_size)) return std::nullopt;
    std::vector<std::uint8_t> data(s.sh_size);
    if (!ReadAt(*file, data.data(), data.size(), s.sh_offset)) return std::nullopt;
    return data;
  }
  return std::nullopt;
}

bool IsExecutableProgram(const std::string& path) {
  if (::access(path.c_str(), X_OK) != 0) return false;
  const auto file = OpenProgram(path);
  Elf64_Ehdr eh{};
  if (!file || !ReadAt(*file, &eh, sizeof eh, 0)) return false;
  if (std::memcmp(eh.e_ident, ELFMAG, SELFMAG) != 0) return false;
  return eh.e_type == ET_EXEC || eh.e_type == ET_DYN;
}

}  // namespace vk
