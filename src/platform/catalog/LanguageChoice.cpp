#include "catalog/LanguageChoice.h"

#include <algorithm>

namespace kadeno {

namespace {

// One entry without its codeset and modifier, "-" read as "_".
std::string Bare(std::string_view entry) {
  entry = entry.substr(0, entry.find_first_of(".@"));
  std::string out(entry);
  std::replace(out.begin(), out.end(), '-', '_');
  return out;
}

void AddOnce(std::vector<std::string>& list, std::string name) {
  if (!name.empty() && std::find(list.begin(), list.end(), name) == list.end()) {
    list.push_back(std::move(name));
  }
}

}  // namespace

std::vector<std::string> CatalogCandidates(std::string_view setting) {
  std::vector<std::string> out;
  size_t start = 0;
  while (start <= setting.size()) {
    size_t end = setting.find(':', start);
    if (end == std::string_view::npos) end = setting.size();
    const std::string name = Bare(setting.substr(start, end - start));
    // English before a later entry means English: the texts need no catalog.
    if (!name.empty() && AsksForEnglish(name)) break;
    AddOnce(out, name);
    AddOnce(out, name.substr(0, name.find('_')));
    start = end + 1;
  }
  return out;
}

bool AsksForEnglish(std::string_view setting) {
  const std::string name = Bare(setting.substr(0, setting.find(':')));
  return name.empty() || name == "C" || name == "POSIX" || name == "en" ||
         name.rfind("en_", 0) == 0;
}

std::string SpeechLanguage(std::string_view catalogLanguage) {
  std::string out = Bare(catalogLanguage);
  std::replace(out.begin(), out.end(), '_', '-');
  return out;
}

}  // namespace kadeno
