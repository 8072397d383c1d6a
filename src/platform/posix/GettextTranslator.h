// The player's language on Linux: the C library's gettext, with the usual LANGUAGE,
// LC_ALL, LC_MESSAGES and LANG, or KADENO_LANG above them all.
#pragma once

#include <string>

#include "seams/Translate.h"

namespace kadeno {

class GettextTranslator : public Translator {
 public:
  // Finds the catalogs in localeDir and the language the environment asks for; when that
  // is not English and has no catalog there, says so in one line on standard error and
  // leaves every text English.
  explicit GettextTranslator(const std::string& localeDir);

  const char* Lookup(const char* msgid) const override;
  // The catalog's language ("de", "pt_BR"), or "" when the texts stay English.
  const std::string& Language() const { return language_; }
  // The toolkit sets every locale category from the environment as it starts; this puts
  // back the messages' category as chosen here, and the numbers' as C, so that scores
  // read as they always have.
  void KeepLocale() const;

 private:
  std::string messagesLocale_;
  std::string language_;
};

// The catalogs' folder for the program at exePath: "locale" beside it in the build tree,
// else the installed "../share/locale".
std::string LocaleFolderFor(const std::string& exePath);

}  // namespace kadeno
