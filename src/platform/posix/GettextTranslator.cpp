#include "posix/GettextTranslator.h"

#include <libintl.h>
#include <sys/stat.h>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "catalog/LanguageChoice.h"

namespace kadeno {

namespace {

constexpr const char* kDomain = "kadeno";

const char* Env(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr && *value != '\0' ? value : nullptr;
}

// The list LANGUAGE should hold for a setting: its catalog names, best first.
std::string LanguageList(const char* setting) {
  std::string list;
  for (const std::string& name : CatalogCandidates(setting))
    list += (list.empty() ? "" : ":") + name;
  return list;
}

bool IsCLocale(const char* locale) {
  return locale == nullptr || std::strcmp(locale, "C") == 0 || std::strcmp(locale, "POSIX") == 0;
}

// Which language the player asked for, and sets up the C library to look for it. The C
// library reads LANGUAGE only under a locale other than C, and takes no language from a
// locale this system has not installed; neither may keep a language the player asked
// for from them, so both get the C.UTF-8 locale and the language through LANGUAGE.
std::string ChooseLanguage(std::string& messagesLocale) {
  const char* installed = std::setlocale(LC_MESSAGES, "");
  const char* asked = Env("KADENO_LANG");
  if (asked == nullptr && installed == nullptr) {
    asked = Env("LC_ALL") ? Env("LC_ALL") : Env("LC_MESSAGES") ? Env("LC_MESSAGES") : Env("LANG");
    if (Env("LANGUAGE") != nullptr) asked = Env("LANGUAGE");
  }
  if (asked != nullptr) {
    if (AsksForEnglish(asked)) return {};
    setenv("LANGUAGE", LanguageList(asked).c_str(), 1);
    if (installed == nullptr || IsCLocale(installed))
      installed = std::setlocale(LC_MESSAGES, "C.UTF-8");
  }
  messagesLocale = installed != nullptr ? installed : "C";
  if (IsCLocale(installed)) return {};
  const char* language = Env("LANGUAGE") ? Env("LANGUAGE") : installed;
  return AsksForEnglish(language) ? std::string() : std::string(language);
}

}  // namespace

GettextTranslator::GettextTranslator(const std::string& localeDir) {
  const std::string asked = ChooseLanguage(messagesLocale_);
  if (asked.empty()) return;
  bindtextdomain(kDomain, localeDir.c_str());
  // The boxes and the speech take UTF-8 whatever the locale's own character set.
  bind_textdomain_codeset(kDomain, "UTF-8");
  // A catalog's header is the translation of the empty message; none means no catalog.
  const char* header = dgettext(kDomain, "");
  if (header == nullptr || *header == '\0') {
    std::fprintf(stderr, "kadeno: no catalog for %s in %s; the texts stay English\n", asked.c_str(),
                 localeDir.c_str());
    return;
  }
  const char* field = std::strstr(header, "Language:");
  if (field != nullptr) {
    field += std::strlen("Language:");
    while (*field == ' ') ++field;
    language_.assign(field, std::strcspn(field, "\n "));
  }
  if (language_.empty()) language_ = CatalogCandidates(asked).front();
}

const char* GettextTranslator::Lookup(const char* msgid) const {
  if (language_.empty()) return nullptr;
  return dgettext(kDomain, msgid);
}

void GettextTranslator::KeepLocale() const {
  std::setlocale(LC_MESSAGES, messagesLocale_.c_str());
  std::setlocale(LC_NUMERIC, "C");
}

std::string LocaleFolderFor(const std::string& exePath) {
  if (exePath.find('/') == std::string::npos) return "/usr/share/locale";
  const std::string folder = exePath.substr(0, exePath.rfind('/') + 1);
  struct stat st {};
  if (stat((folder + "locale").c_str(), &st) == 0 && S_ISDIR(st.st_mode)) return folder + "locale";
  return folder + "../share/locale";
}

}  // namespace kadeno
