#include "win32/Win32Translator.h"

#include <windows.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "catalog/LanguageChoice.h"
#include "win32/Win32Files.h"

namespace kadeno {

namespace {

std::optional<std::string> ReadWhole(const std::string& path) {
  std::ifstream in(std::filesystem::path(WindowsPath(path)), std::ios::binary);
  if (!in) return std::nullopt;
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

}  // namespace

Win32Translator::Win32Translator(const std::string& programFolder, const std::string& asked) {
  if (AsksForEnglish(asked)) return;
  std::string problem;
  for (const std::string& name : CatalogCandidates(asked)) {
    const std::string path = programFolder + "\\locale\\" + name + "\\LC_MESSAGES\\kadeno.mo";
    std::optional<std::string> bytes = ReadWhole(path);
    if (!bytes) continue;
    std::string why;
    catalog_ = MoCatalog::Parse(std::move(*bytes), &why);
    if (catalog_) {
      language_ = catalog_->HeaderField("Language");
      if (language_.empty()) language_ = name;
      return;
    }
    if (problem.empty()) problem = path + " is damaged: " + why;
  }
  if (problem.empty()) problem = "no catalog for " + asked + " in " + programFolder + "\\locale";
  std::fprintf(stderr, "kadeno: %s; the texts stay English\n", problem.c_str());
}

const char* Win32Translator::Lookup(const char* msgid) const {
  return catalog_ ? catalog_->Find(msgid) : nullptr;
}

std::string Win32AskedLanguage() {
  if (const wchar_t* asked = _wgetenv(L"KADENO_LANG"); asked != nullptr && *asked != L'\0') {
    return Narrow(asked);
  }
  wchar_t name[LOCALE_NAME_MAX_LENGTH] = L"";
  const LCID locale = MAKELCID(GetUserDefaultUILanguage(), SORT_DEFAULT);
  if (LCIDToLocaleName(locale, name, LOCALE_NAME_MAX_LENGTH, 0) == 0) return {};
  return Narrow(name);  // "de-DE": the candidates read "-" as "_"
}

}  // namespace kadeno
