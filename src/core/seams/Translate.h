// The translation seam: every text the player reads or hears passes through Tr(), which
// asks the catalog the platform installed and keeps the English when there is none or the
// catalog lacks the message. Texts with numbers or names in them are whole sentences with
// numbered placeholders (%1 .. %9), filled by Format(), so that a translation may put them
// in its own order; the numbers are formatted before they go in, as they always were.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace kadeno {

class Translator {
 public:
  virtual ~Translator() = default;
  // The catalog's text for msgid (never empty), or nullptr when it has none.
  virtual const char* Lookup(const char* msgid) const = 0;
};

// The catalog every Tr() asks from now on; nullptr keeps the English. The program sets it
// once at start-up, before the first text; the object must outlive every Tr().
void SetTranslator(const Translator* translator);

// The player's text for an English message.
std::string Tr(const char* msgid);

// Tr() for a text of several lines: the catalog holds them with "\n" between them, as
// translators are used to; the boxes take "\r\n".
std::string TrLines(const char* msgid);

// Marks a message for the template where it sits in a table; Tr() translates it at use.
constexpr const char* N_(const char* msgid) { return msgid; }

// The pattern with each %1 .. %9 replaced by that argument, in one pass (an argument that
// holds "%2" stays as it is). A placeholder without an argument and any other "%" stay.
std::string Format(std::string_view pattern, std::initializer_list<std::string_view> args);

}  // namespace kadeno
