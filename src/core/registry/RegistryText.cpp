// Reading and writing the REGEDIT4 text of the registry file. The reader takes what a
// registry export holds and what a careful hand adds (comments, blank lines, short root
// names, either line end); anything else stops it with the line and the reason, so that
// a damaged file is reported instead of half read and then overwritten.
#include "registry/RegistryText.h"

#include <algorithm>
#include <vector>

namespace kadeno {

namespace {

std::string_view Trim(std::string_view s) {
  const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
  while (!s.empty() && blank(s.front())) s.remove_prefix(1);
  while (!s.empty() && blank(s.back())) s.remove_suffix(1);
  return s;
}

bool StartsWithNoCase(std::string_view s, std::string_view prefix) {
  return s.size() >= prefix.size() && SameRegistryName(s.substr(0, prefix.size()), prefix);
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// One to eight hex digits and nothing else.
std::optional<uint32_t> HexNumber(std::string_view s) {
  if (s.empty() || s.size() > 8) return std::nullopt;
  uint32_t n = 0;
  for (char c : s) {
    const int d = HexDigit(c);
    if (d < 0) return std::nullopt;
    n = n << 4 | static_cast<uint32_t>(d);
  }
  return n;
}

// Reads the quoted text at the start of s, with \\ and \" as escapes. A backslash before
// anything else stays a backslash: hand-typed folder names are common and harmless.
// Returns the text and leaves s after the closing quote; nullopt when it is not closed.
std::optional<std::string> Quoted(std::string_view& s) {
  std::string text;
  size_t i = 1;
  while (i < s.size()) {
    const char c = s[i];
    if (c == '"') {
      s.remove_prefix(i + 1);
      return text;
    }
    if (c == '\\' && i + 1 < s.size() && (s[i + 1] == '\\' || s[i + 1] == '"')) {
      text += s[i + 1];
      i += 2;
    } else {
      text += c;
      ++i;
    }
  }
  return std::nullopt;
}

std::optional<std::vector<uint8_t>> HexBytes(std::string_view list) {
  std::vector<uint8_t> bytes;
  list = Trim(list);
  if (list.empty()) return bytes;
  size_t start = 0;
  while (true) {
    const size_t comma = list.find(',', start);
    const std::string_view item =
        Trim(list.substr(start, comma == std::string_view::npos ? list.npos : comma - start));
    // A comma may end the list, as before a line continuation.
    if (item.empty() && comma == std::string_view::npos && start > 0) break;
    const auto n = HexNumber(item);
    if (!n || item.size() > 2) return std::nullopt;
    bytes.push_back(static_cast<uint8_t>(*n));
    if (comma == std::string_view::npos) break;
    start = comma + 1;
  }
  return bytes;
}

std::string Escaped(std::string_view text) {
  std::string out = "\"";
  for (char c : text) {
    if (c == '\\' || c == '"') out += '\\';
    out += c;
  }
  return out + "\"";
}

bool PlainText(const StoredValue& v) {
  if (v.type != 1 || v.data.empty() || v.data.back() != 0) return false;
  return std::none_of(v.data.begin(), v.data.end() - 1,
                      [](uint8_t b) { return b == 0 || b == '\r' || b == '\n'; });
}

void AppendHex(std::string& out, uint32_t n, int digits) {
  static const char* kDigits = "0123456789abcdef";
  for (int i = digits - 1; i >= 0; --i) out += kDigits[(n >> (4 * i)) & 0xF];
}

}  // namespace

std::optional<RegistryTextProblem> ParseRegistryText(std::string_view text, RegistryKeys& keys) {
  keys = EmptyRegistryKeys();
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);

  std::vector<std::string_view> lines;
  for (size_t start = 0; start <= text.size();) {
    const size_t end = text.find('\n', start);
    lines.push_back(text.substr(start, end == text.npos ? text.npos : end - start));
    if (end == text.npos) break;
    start = end + 1;
  }

  bool header = false;
  // Every key holds its whole path, so a small file of deep keys could ask for a great
  // deal of memory; a file whose key paths outgrow this is refused instead.
  constexpr size_t kMaxPathBytes = size_t{16} << 20;
  size_t pathBytes = 0;
  std::optional<std::string> section;
  for (size_t i = 0; i < lines.size(); ++i) {
    const size_t number = i + 1;
    const auto problem = [number](std::string what) {
      return RegistryTextProblem{number, std::move(what)};
    };
    std::string_view line = Trim(lines[i]);
    if (!header) {
      if (line.empty()) continue;
      if (line != "REGEDIT4") return problem("the file does not begin with REGEDIT4");
      header = true;
      continue;
    }
    if (line.empty() || line[0] == ';') continue;

    if (line[0] == '[') {
      if (line.back() != ']') return problem("a key's line does not end with ]");
      const std::string_view path = line.substr(1, line.size() - 2);
      const size_t slash = path.find('\\');
      const char* root = RegistryRootLongName(path.substr(0, slash));
      if (root == nullptr) return problem("unknown root key");
      std::vector<std::string> parts;
      for (size_t start = slash; start != path.npos;) {
        const size_t end = path.find('\\', start + 1);
        const std::string_view name =
            path.substr(start + 1, end == path.npos ? path.npos : end - start - 1);
        if (!ValidRegistryKeyName(name)) return problem("bad key name");
        parts.emplace_back(name);
        start = end;
      }
      if (parts.size() > kMaxRegistryDepth) return problem("keys nested too deep");
      const size_t before = keys.size();
      section = MakeRegistryKey(keys, root, parts);
      pathBytes += (keys.size() - before) * section->size();
      if (pathBytes > kMaxPathBytes) return problem("more keys than a registry file may hold");
      continue;
    }

    if (!section) return problem("a value before the first key");
    StoredValue value;
    if (line[0] == '@') {
      line.remove_prefix(1);
    } else if (line[0] == '"') {
      const auto name = Quoted(line);
      if (!name) return problem("the value's name is not closed with \"");
      value.name = *name;
    } else {
      return problem("neither a key, a value nor a comment");
    }
    if (!ValidRegistryValueName(value.name)) return problem("bad value name");
    line = Trim(line);
    if (line.empty() || line[0] != '=') return problem("no = after the value's name");
    line = Trim(line.substr(1));

    if (!line.empty() && line[0] == '"') {
      const auto data = Quoted(line);
      if (!data || !Trim(line).empty()) return problem("the text is not closed with \"");
      value.type = 1;
      value.data.assign(data->begin(), data->end());
      value.data.push_back(0);
    } else if (StartsWithNoCase(line, "dword:")) {
      const auto n = HexNumber(line.substr(6));
      if (!n) return problem("a dword needs one to eight hex digits");
      value.type = 4;
      value.data = {static_cast<uint8_t>(*n), static_cast<uint8_t>(*n >> 8),
                    static_cast<uint8_t>(*n >> 16), static_cast<uint8_t>(*n >> 24)};
    } else if (StartsWithNoCase(line, "hex")) {
      line.remove_prefix(3);
      value.type = 3;
      if (!line.empty() && line[0] == '(') {
        const size_t close = line.find(')');
        const auto type = close == line.npos ? std::nullopt : HexNumber(line.substr(1, close - 1));
        if (!type) return problem("hex( needs a type in hex digits and )");
        value.type = *type;
        line.remove_prefix(close + 1);
      }
      if (line.empty() || line[0] != ':') return problem("no : after hex");
      std::string list(Trim(line.substr(1)));
      while (!list.empty() && list.back() == '\\') {
        list.pop_back();
        if (++i == lines.size()) return problem("a continued hex line ends the file");
        list += Trim(lines[i]);
      }
      const auto bytes = HexBytes(list);
      if (!bytes) return problem("hex bytes must be two hex digits each, split by commas");
      value.data = *bytes;
    } else {
      return problem("the value is neither text, dword nor hex");
    }

    auto& values = keys[*section];
    const auto same = std::find_if(values.begin(), values.end(), [&](const StoredValue& v) {
      return SameRegistryName(v.name, value.name);
    });
    if (same != values.end()) {
      same->type = value.type;
      same->data = std::move(value.data);
    } else {
      values.push_back(std::move(value));
    }
  }
  return std::nullopt;
}

std::string FormatRegistryText(const RegistryKeys& keys) {
  std::string out = "REGEDIT4\r\n";
  for (const auto& [path, values] : keys) {
    if (values.empty() && RegistryRootLongName(path) != nullptr) continue;
    out += "\r\n[" + path + "]\r\n";
    for (const StoredValue& v : values) {
      out += v.name.empty() ? std::string("@") : Escaped(v.name);
      out += '=';
      if (PlainText(v)) {
        out += Escaped(
            std::string_view(reinterpret_cast<const char*>(v.data.data()), v.data.size() - 1));
      } else if (v.type == 4 && v.data.size() == 4) {
        out += "dword:";
        AppendHex(out,
                  static_cast<uint32_t>(v.data[0]) | static_cast<uint32_t>(v.data[1]) << 8 |
                      static_cast<uint32_t>(v.data[2]) << 16 |
                      static_cast<uint32_t>(v.data[3]) << 24,
                  8);
      } else {
        if (v.type == 3) {
          out += "hex:";
        } else {
          out += "hex(";
          int digits = 1;
          while (digits < 8 && (v.type >> (4 * digits)) != 0) ++digits;
          AppendHex(out, v.type, digits);
          out += "):";
        }
        for (size_t k = 0; k < v.data.size(); ++k) {
          if (k > 0) out += ',';
          AppendHex(out, v.data[k], 2);
        }
      }
      out += "\r\n";
    }
  }
  return out;
}

}  // namespace kadeno
