// Which catalog a language setting asks for.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kadeno {

// The catalog names to try, best first, for a setting such as "de_AT.UTF-8@euro",
// "pt-BR" (as Windows names it) or the list "fr_CA:de": for each entry its language with
// its country ("pt_BR"), then its language alone ("pt"), each once; none from an English
// entry on, which needs no catalog.
std::vector<std::string> CatalogCandidates(std::string_view setting);

// Whether a setting asks for the program's own texts: English, "C" or "POSIX" (with or
// without a codeset), or nothing.
bool AsksForEnglish(std::string_view setting);

// The language as the speech service takes it (RFC 1766): "pt_BR" -> "pt-BR".
std::string SpeechLanguage(std::string_view catalogLanguage);

}  // namespace kadeno
