// A compiled message catalog (.mo), read from its bytes with every offset checked, for the
// Windows build, which has no gettext library to read the catalogs for it; the catalog
// checks of the tests read the compiled catalogs with it too.
#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace kadeno {

class MoCatalog {
 public:
  // The catalog the bytes hold, in either byte order, or nullopt with the reason in *why
  // when they are not a well-formed catalog.
  static std::optional<MoCatalog> Parse(std::string bytes, std::string* why = nullptr);

  // The translation of msgid, or nullptr when the catalog has none. A message with plural
  // forms is found by its singular and answers with its first form.
  const char* Find(std::string_view msgid) const;
  // How many messages the catalog translates (its header not counted).
  size_t Size() const { return texts_.size(); }
  // A field of the header ("Language", "Content-Type"), "" when it has none.
  std::string HeaderField(std::string_view name) const;

 private:
  std::unique_ptr<const std::string> bytes_;  // the views below point into it
  std::string_view header_;
  std::unordered_map<std::string_view, const char*> texts_;
};

}  // namespace kadeno
