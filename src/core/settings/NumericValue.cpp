// The numeric value of a text, as typed into an input box or found in the settings file.
#include <charconv>
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

// Whether a number out of a double's range is too large rather than too small: its
// first significant digit's decimal place plus its exponent is above zero.
bool TooLarge(const std::string& number) {
  size_t i = number[0] == '+' || number[0] == '-' ? 1 : 0;
  long place = 0;
  while (i < number.size() && number[i] == '0') ++i;
  for (; i < number.size() && number[i] >= '0' && number[i] <= '9'; ++i) ++place;
  if (place == 0 && i < number.size() && number[i] == '.') {
    for (++i; i < number.size() && number[i] == '0'; ++i) --place;
  }
  const size_t e = number.find('e');
  // Exponents beyond a long's range read as its largest, which says the same.
  const long exponent =
      e == std::string::npos ? 0 : std::strtol(number.c_str() + e + 1, nullptr, 10);
  return exponent > -place;
}

}  // namespace

std::optional<double> CheckedNumericValue(const std::string& text) {
  const std::string number = LeadingNumber(text);
  if (number.empty()) return 0.0;
  // Read as C reads it, whatever the locale: the point is the decimal separator.
  const char* first = number.c_str() + (number[0] == '+' ? 1 : 0);
  double v = 0;
  const auto [end, error] = std::from_chars(first, number.c_str() + number.size(), v);
  (void)end;
  if (error == std::errc::result_out_of_range) {
    if (TooLarge(number)) return std::nullopt;  // too large for a double
    return number[0] == '-' ? -0.0 : 0.0;       // too small: the nearest small value
  }
  return v;
}

double NumericValue(const std::string& text) {
  if (auto v = CheckedNumericValue(text)) return *v;
  return 0;
}

}  // namespace kadeno
