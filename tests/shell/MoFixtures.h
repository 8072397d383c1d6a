// Compiled catalogs as msgfmt --no-hash lays them out: the little-endian one is byte for
// byte what msgfmt made of these messages (and of "untranslated", which it leaves out).
#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace kadeno::test {

inline void PutMoWord(std::string& bytes, size_t at, uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<char>(value >> (8 * i));
}

// The header (magic, revision 0, count, the tables' offsets, no hash table), both tables
// of lengths and offsets, then the texts, each with its NUL.
inline std::string MoBytes(std::vector<std::pair<std::string, std::string>> messages) {
  std::sort(messages.begin(), messages.end());
  const auto n = static_cast<uint32_t>(messages.size());
  std::string bytes(28 + 16 * n, '\0'), texts;
  for (const auto& [at, value] :
       {std::pair(0u, 0x950412DEu), {8u, n}, {12u, 28u}, {16u, 28 + 8 * n}, {24u, 28 + 16 * n}})
    PutMoWord(bytes, at, value);
  for (uint32_t i = 0; i < 2 * n; ++i) {
    const std::string& text = i < n ? messages[i].first : messages[i - n].second;
    PutMoWord(bytes, 28 + 8 * i, static_cast<uint32_t>(text.size()));
    PutMoWord(bytes, 32 + 8 * i, static_cast<uint32_t>(bytes.size() + texts.size()));
    texts += text + '\0';
  }
  return bytes + texts;
}

inline const std::string kLittleEndianMo =
    MoBytes({{"", "Language-Team: German\nLanguage: de\nContent-Type: text/plain; charset=UTF-8\n"},
             {"Are you ready?", "Bist du bereit?"},
             {"  two\n  lines\n", "  zwei\n  Zeilen\n"},
             // A plural message: both forms, and both forms' translations.
             {std::string("%1 note\0%1 notes", 16), std::string("%1 Note\0%1 Noten", 16)}});

// What msgfmt --endianness=big gave: each 32-bit word of the header and tables (92 bytes)
// reversed, the texts as they were.
inline const std::string kBigEndianMo = [] {
  std::string bytes = kLittleEndianMo;
  for (size_t word = 0; word < 92; word += 4) std::reverse(&bytes[word], &bytes[word + 4]);
  return bytes;
}();

}  // namespace kadeno::test
