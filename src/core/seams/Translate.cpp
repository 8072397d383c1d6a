#include "seams/Translate.h"

namespace kadeno {

namespace {
const Translator* gTranslator = nullptr;
}  // namespace

void SetTranslator(const Translator* translator) { gTranslator = translator; }

std::string Tr(const char* msgid) {
  // The empty message would ask a catalog for its header.
  if (gTranslator == nullptr || msgid[0] == '\0') return msgid;
  const char* text = gTranslator->Lookup(msgid);
  return text != nullptr && text[0] != '\0' ? text : msgid;
}

std::string TrLines(const char* msgid) {
  const std::string text = Tr(msgid);
  std::string out;
  out.reserve(text.size() + text.size() / 40);
  for (char c : text) {
    if (c == '\n') out += '\r';
    out += c;
  }
  return out;
}

std::string Format(std::string_view pattern, std::initializer_list<std::string_view> args) {
  std::string out;
  out.reserve(pattern.size() + 16);
  for (size_t i = 0; i < pattern.size(); ++i) {
    const char c = pattern[i];
    if (c == '%' && i + 1 < pattern.size() && pattern[i + 1] >= '1' && pattern[i + 1] <= '9') {
      const size_t n = static_cast<size_t>(pattern[i + 1] - '1');
      if (n < args.size()) {
        out += *(args.begin() + n);
        ++i;
        continue;
      }
    }
    out += c;
  }
  return out;
}

}  // namespace kadeno
