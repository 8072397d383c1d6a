// The registry module: paths, value encoding and the pending-error record.
#include "registry/RegistryAccess.h"

#include <algorithm>
#include <cctype>

#include "seams/Translate.h"

namespace kadeno {

namespace {

constexpr uint32_t kClassRoom = 1024;

std::string Upper(std::string text) {
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

}  // namespace

// TRANSLATORS: The registry's error messages, each shown in a box when a registry
// call fails.
std::string RegistryResultDescription(int32_t result) {
  switch (result) {
    case 2:
      return N_("Key/Value does not exist.");
    case 5:
      return N_("Access to Registry Denied.");
    case 14:
      return N_("Out of memory.");
    case 87:
      return N_("Invalid Parameter.");
    case 1009:
      return N_("Corrupt Registry Database!");
    case 1010:
      return N_("Key name is bad.");
    case 1011:
      return N_("Cannot Open Key.");
    case 1012:
      return N_("Cannot Read Key.");
    case 1013:
      return N_("Cannot Write Key.");
    default:
      return N_("Undefined key error code!");
  }
}

std::string RegistryErrorDescription(int code) {
  switch (code) {
    case RegistryErrorCode::NoCurrentKey:
      return N_("No current Key.");
    case RegistryErrorCode::InvalidRoot:
      return N_("Invalid Key root.");
    case RegistryErrorCode::TypeMismatch:
      return N_("Type passed doesn't match Value passed.");
    case RegistryErrorCode::NoSuchType:
      return N_("Type passed doesn't exist. Use STRING, DWORD or BINARY.");
    default:
      return "";
  }
}

std::string SubKeyPath(const std::string& path) {
  const size_t slash = path.size() > 1 ? path.find('\\', 1) : std::string::npos;
  return slash == std::string::npos ? std::string() : path.substr(slash + 1);
}

std::string WithTrailingBackslash(const std::string& path) {
  return !path.empty() && path.back() == '\\' ? path : path + "\\";
}

std::array<uint8_t, 4> DwordBytes(int32_t value) {
  const auto u = static_cast<uint32_t>(value);
  return {static_cast<uint8_t>(u), static_cast<uint8_t>(u >> 8), static_cast<uint8_t>(u >> 16),
          static_cast<uint8_t>(u >> 24)};
}

std::optional<int32_t> DwordFromBytes(std::span<const uint8_t> bytes) {
  if (bytes.size() > 4) return std::nullopt;
  uint32_t u = 0;
  for (size_t k = 0; k < bytes.size(); ++k) u |= static_cast<uint32_t>(bytes[k]) << (8 * k);
  return static_cast<int32_t>(u);
}

RegistryAccess::RegistryAccess(RegistryApi& api, Boxes& boxes, ProblemLog& log)
    : api_(api), boxes_(boxes), log_(log) {}

RegKey RegistryAccess::RootKeyHandle(const std::string& path) {
  const size_t start = !path.empty() && path[0] == '\\' ? 1 : 0;
  const size_t end = path.find('\\', start);
  const std::string root =
      Upper(path.substr(start, end == std::string::npos ? std::string::npos : end - start));
  for (const RegistryRoot& r : kRegistryRoots) {
    if (root == r.longName || root == r.shortName) return r.handle;
  }
  RaiseRegistryError(RegistryErrorCode::InvalidRoot);
  return 0;
}

void RegistryAccess::RaiseRegistryError(int code) {
  pending_.number = kRegistryErrorBase + code;
  pending_.source = "Registry";
  if (code == RegistryErrorCode::TypeMismatch || code == RegistryErrorCode::NoSuchType) {
    pending_.source += " [Let ValueOf]";
  }
  pending_.description = RegistryErrorDescription(code);
  LogPending();
}

void RegistryAccess::CheckRegistryResult(int32_t result) {
  if (result == RegResult::Success) {
    pending_ = {};
    return;
  }
  // The result code is the number, so that a failed call is pending like any other error
  // and ShowPendingError has something to show.
  pending_.number = result;
  pending_.source = "Registry[API Call]";
  pending_.description = RegistryResultDescription(result);
  LogPending();
}

void RegistryAccess::LogPending() {
  log_.LogProblem("registry: " + pending_.description + " (" + pending_.source + ", error " +
                  std::to_string(pending_.number) + ")");
}

bool RegistryAccess::Checked(int32_t result) {
  CheckRegistryResult(result);
  return result == RegResult::Success;
}

void RegistryAccess::ShowPendingError() {
  if (pending_.number == 0) return;
  const std::string description = pending_.description;
  pending_ = {};
  // The standard error line keeps the English; the box is the player's.
  boxes_.MsgBox(Tr(description.c_str()), Box::Ok, std::nullopt);
}

bool RegistryAccess::WriteRegistryValue(const std::string& path, const std::string& name,
                                        const RegistryValue& value, uint32_t type) {
  const RegKey root = RootKeyHandle(path);
  if (root == 0) return false;
  if (type == 0) {
    type = std::holds_alternative<RegistryBytes>(value) ? RegType::Binary
           : std::holds_alternative<int32_t>(value)     ? RegType::Dword
                                                        : RegType::String;
  }

  // Everything is encoded before the registry is touched, so that a value that cannot be
  // stored leaves no key behind.
  std::vector<uint8_t> data;
  bool fits = true;
  switch (type) {
    case RegType::String:
      if (const auto* text = std::get_if<std::string>(&value)) {
        data.assign(text->begin(), text->end());
      } else if (const auto* number = std::get_if<int32_t>(&value)) {
        const std::string digits = std::to_string(*number);
        data.assign(digits.begin(), digits.end());
      } else {
        fits = std::holds_alternative<std::monostate>(value);
      }
      data.push_back(0);
      break;
    case RegType::Binary:
      if (const auto* bytes = std::get_if<RegistryBytes>(&value))
        data = *bytes;
      else
        fits = false;
      break;
    case RegType::Dword:
      if (const auto* number = std::get_if<int32_t>(&value)) {
        const auto bytes = DwordBytes(*number);
        data.assign(bytes.begin(), bytes.end());
      } else {
        fits = false;
      }
      break;
    default:
      RaiseRegistryError(RegistryErrorCode::NoSuchType);
      return false;
  }
  if (!fits) {
    RaiseRegistryError(RegistryErrorCode::TypeMismatch);
    return false;
  }

  RegKey key = 0;
  if (!Checked(api_.CreateKey(root, SubKeyPath(path), RegAccess::All, key))) return false;
  const bool ok = Checked(api_.SetValue(key, name, type, data));
  api_.CloseKey(key);
  return ok;
}

RegistryValue RegistryAccess::Decode(uint32_t type, std::span<const uint8_t> bytes) const {
  if (bytes.empty()) return std::monostate{};
  if (type == RegType::Binary) return RegistryBytes(bytes.begin(), bytes.end());
  if (type == RegType::Dword) {
    if (const auto number = DwordFromBytes(bytes)) return *number;
    // Longer than any DWORD: hand over the bytes rather than a wrong number.
    return RegistryBytes(bytes.begin(), bytes.end());
  }
  if (bytes.back() == 0) bytes = bytes.first(bytes.size() - 1);
  return std::string(bytes.begin(), bytes.end());
}

RegistryValue RegistryAccess::ReadRegistryValue(const std::string& path, const std::string& name,
                                                const std::optional<RegistryValue>& defaultValue) {
  const RegistryValue fallback = defaultValue ? *defaultValue : RegistryValue{};
  const RegKey root = RootKeyHandle(path);
  if (root == 0) return fallback;
  // A caller that passes a default has said what a missing value means, so its failures
  // are not recorded.
  const auto ok = [&](int32_t result) {
    if (!defaultValue) CheckRegistryResult(result);
    return result == RegResult::Success;
  };

  RegKey key = 0;
  if (!ok(api_.OpenKey(root, SubKeyPath(path), RegAccess::Read, key))) return fallback;
  RegistryValue result = fallback;
  uint32_t type = 0;
  uint32_t size = 0;
  if (ok(api_.QueryValue(key, name, type, nullptr, size))) {
    std::vector<uint8_t> data(size, ' ');
    if (ok(api_.QueryValue(key, name, type, &data, size))) {
      result =
          Decode(type, std::span<const uint8_t>(data).first(std::min<size_t>(size, data.size())));
    }
  }
  api_.CloseKey(key);
  return result;
}

bool RegistryAccess::DeleteRegistryKey(const std::string& path,
                                       const std::optional<std::string>& name) {
  const RegKey root = RootKeyHandle(path);
  if (root == 0) return false;
  // A root key cannot be deleted; going on would empty it of every key first, which a
  // slip in a path must never do.
  if (!name && SubKeyPath(path).find_first_not_of('\\') == std::string::npos) {
    return Checked(RegResult::AccessDenied);
  }
  RegKey key = 0;
  if (!Checked(api_.OpenKey(root, SubKeyPath(path), RegAccess::All, key))) return false;

  if (name) {
    const bool ok = Checked(api_.DeleteValue(key, *name));
    api_.CloseKey(key);
    return ok;
  }

  RegKeyInfo info;
  bool ok = Checked(api_.QueryInfoKey(key, kClassRoom, info));
  if (ok && info.subKeys > 0) {
    // All names are collected before any is deleted, so the enumeration indices stay
    // valid while the tree shrinks.
    std::vector<std::string> names;
    for (uint32_t i = 0; i < info.subKeys; ++i) {
      std::string subName, className;
      if (Checked(api_.EnumKey(key, i, info.maxSubKeyLen + 1, info.maxClassLen + 1, subName,
                               className))) {
        names.push_back(subName);
      } else {
        ok = false;
      }
    }
    for (const std::string& subName : names) {
      ok = DeleteRegistryKey(WithTrailingBackslash(path) + subName) && ok;
    }
  }
  ok = Checked(api_.DeleteKey(key, "")) && ok;
  api_.CloseKey(key);
  return ok;
}

std::vector<RegistryEntry> RegistryAccess::EnumRegistryValues(const std::string& path) {
  std::vector<RegistryEntry> table;
  const RegKey root = RootKeyHandle(path);
  if (root == 0) return table;
  RegKey key = 0;
  if (!Checked(api_.OpenKey(root, SubKeyPath(path), RegAccess::Read, key))) return table;
  RegKeyInfo info;
  if (Checked(api_.QueryInfoKey(key, kClassRoom, info))) {
    for (uint32_t i = 0; i < info.values; ++i) {
      std::string name;
      uint32_t type = 0;
      std::vector<uint8_t> data;
      // A row that cannot be read is left out: a blank name would pass for the default
      // value.
      if (Checked(api_.EnumValue(key, i, info.maxValueNameLen + 1, info.maxValueLen + 1, name, type,
                                 data))) {
        table.push_back({name, Decode(type, data)});
      }
    }
  }
  api_.CloseKey(key);
  return table;
}

}  // namespace kadeno
