#include "catalog/MoCatalog.h"

#include <cstdint>
#include <cstring>

namespace kadeno {

namespace {

constexpr uint32_t kMagic = 0x950412de;
// The header: magic, revision, count, originals' table, translations' table.
constexpr size_t kHeaderBytes = 20;

class Reader {
 public:
  Reader(const std::string& bytes, bool bigEndian) : bytes_(bytes), big_(bigEndian) {}

  uint32_t Word(size_t at) const {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes_.data() + at);
    if (big_) return uint32_t{p[0]} << 24 | uint32_t{p[1]} << 16 | uint32_t{p[2]} << 8 | p[3];
    return uint32_t{p[3]} << 24 | uint32_t{p[2]} << 16 | uint32_t{p[1]} << 8 | p[0];
  }

  // The string a table's entry describes (length, then offset), with the NUL that must
  // follow it inside the file; nullptr when the entry points outside.
  const char* String(size_t entry, uint32_t* length) const {
    *length = Word(entry);
    const uint64_t offset = Word(entry + 4);
    if (offset + *length + 1 > bytes_.size() || bytes_[offset + *length] != '\0') return nullptr;
    return bytes_.data() + offset;
  }

 private:
  const std::string& bytes_;
  bool big_;
};

std::optional<MoCatalog> Refused(std::string* why, const char* reason) {
  if (why != nullptr) *why = reason;
  return std::nullopt;
}

}  // namespace

std::optional<MoCatalog> MoCatalog::Parse(std::string bytes, std::string* why) {
  MoCatalog catalog;
  catalog.bytes_ = std::make_unique<const std::string>(std::move(bytes));
  const std::string& b = *catalog.bytes_;
  if (b.size() < kHeaderBytes) return Refused(why, "too short for a catalog");
  const bool big = Reader(b, true).Word(0) == kMagic;
  if (!big && Reader(b, false).Word(0) != kMagic) {
    return Refused(why, "not a compiled catalog");
  }
  const Reader r(b, big);
  // Revisions 0 and 1 share the tables read here; a later major revision may not.
  if (r.Word(4) >> 16 > 1) return Refused(why, "an unknown revision");
  const uint64_t count = r.Word(8), originals = r.Word(12), translations = r.Word(16);
  if (originals + count * 8 > b.size() || translations + count * 8 > b.size()) {
    return Refused(why, "its tables run past its end");
  }
  for (uint64_t i = 0; i < count; ++i) {
    uint32_t idLength = 0, textLength = 0;
    const char* id = r.String(originals + i * 8, &idLength);
    const char* text = r.String(translations + i * 8, &textLength);
    if (id == nullptr || text == nullptr) {
      return Refused(why, "a message runs past its end");
    }
    // A plural message's singular ends at its first NUL, as does its first form.
    const std::string_view key(id, std::strlen(id));
    if (key.empty()) {
      catalog.header_ = std::string_view(text, textLength);
    } else {
      catalog.texts_.emplace(key, text);
    }
  }
  return catalog;
}

const char* MoCatalog::Find(std::string_view msgid) const {
  const auto it = texts_.find(msgid);
  return it == texts_.end() ? nullptr : it->second;
}

std::string MoCatalog::HeaderField(std::string_view name) const {
  size_t start = 0;
  while (start < header_.size()) {
    size_t end = header_.find('\n', start);
    if (end == std::string_view::npos) end = header_.size();
    const std::string_view line = header_.substr(start, end - start);
    if (line.size() > name.size() && line.substr(0, name.size()) == name &&
        line[name.size()] == ':') {
      std::string_view value = line.substr(name.size() + 1);
      while (!value.empty() && value.front() == ' ') value.remove_prefix(1);
      while (!value.empty() && value.back() == ' ') value.remove_suffix(1);
      return std::string(value);
    }
    start = end + 1;
  }
  return {};
}

}  // namespace kadeno
