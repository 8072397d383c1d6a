// The player's language on Windows: the catalogs beside kadeno.exe
// (locale\<lang>\LC_MESSAGES\kadeno.mo), read by our own reader, in the user's Windows
// display language, or KADENO_LANG's.
#pragma once

#include <optional>
#include <string>

#include "catalog/MoCatalog.h"
#include "seams/Translate.h"

namespace kadeno {

class Win32Translator : public Translator {
 public:
  // Loads the first catalog of the language asked for that reads well; when there is
  // none, or it is damaged, says so in one line on standard error and keeps the English.
  Win32Translator(const std::string& programFolder, const std::string& asked);

  const char* Lookup(const char* msgid) const override;
  // The catalog's language ("de", "pt_BR"), or "" when the texts stay English.
  const std::string& Language() const { return language_; }

 private:
  std::optional<MoCatalog> catalog_;
  std::string language_;
};

// KADENO_LANG when set, else the user's Windows display language ("de_DE").
std::string Win32AskedLanguage();

}  // namespace kadeno
