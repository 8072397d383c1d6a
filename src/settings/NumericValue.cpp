// The numeric value of a text, as typed into an input box or found in the settings file.
#include <locale.h>
#include <cerrno>
#include <clocale>
#include <cmath>
#include <cstdlib>

#include "settings/NumericValue.h"
#include "settings/Settings.h"

namespace kadeno {

namespace {

bool Ignored(char ch) { return ch == ' ' || ch == '\t' || ch == '\n' || ch == '\r'; }
bool Digit(char ch) { return ch >= '0' && ch <= '9'; }

// The longest leading number of a text with the ignored characters taken out.
std::string LeadingNumber(const std::string& text) {
  std::string s;
  s.reserve(text.size());
  for (char ch : text) {
    if (!Ignored(ch)) s.push_back(ch);
  }
  size_t i = 0;
  std::string out;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) out.push_back(s[i++]);
  size_t digits = 0;
  while (i < s.size() && Digit(s[i])) {
    out.push_back(s[i++]);
    ++digits;
  }
  if (i < s.size() && s[i] == '.') {
    out.push_back(s[i++]);
    while (i < s.size() && Digit(s[i])) {
      out.push_back(s[i++]);
      ++digits;
    }
  }
  if (digits == 0) return {};
  // An exponent counts only when digits follow its letter (and optional sign).
  if (i < s.size() && (s[i] == 'E' || s[i] == 'e' || s[i] == 'D' || s[i] == 'd')) {
    size_t j = i + 1;
    std::string exp = "e";
    if (j < s.size() && (s[j] == '+' || s[j] == '-')) exp.push_back(s[j++]);
    if (j < s.size() && Digit(s[j])) {
      while (j < s.size() && Digit(s[j])) exp.push_back(s[j++]);
      out += exp;
    }
  }
  return out;
}

locale_t CLocale() {
  static locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
  return c;
}

}  // namespace

std::optional<double> CheckedNumericValue(const std::string& text) {
  const std::string number = LeadingNumber(text);
  if (number.empty()) return 0.0;
  errno = 0;
  char* end = nullptr;
  const double v = strtod_l(number.c_str(), &end, CLocale());
  if (errno == ERANGE && std::isinf(v)) return std::nullopt;  // too large for a double
  return v;  // an underflow reads as the nearest small value, which is fine
}

double NumericValue(const std::string& text) {
  if (auto v = CheckedNumericValue(text)) return *v;
  return 0;
}

}  // namespace kadeno
