// RegistryAccess: a small general module over the registry. Every operation takes a key
// path whose first element names the root ("HKEY_LOCAL_MACHINE\SOFTWARE\Quenloft\Kadeno",
// "hklm\...", "\HKLM\..."), opens and closes its keys within itself, and describes a
// failed call in the pending-error record instead of throwing: no error crosses from one
// of the program's operations to its caller. The writing and deleting operations also
// return whether everything they did succeeded, for callers that want to know at once.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <variant>
#include <vector>

#include "seams/Boxes.h"
#include "seams/Files.h"
#include "seams/RegistryApi.h"

namespace kadeno {

using RegistryBytes = std::vector<uint8_t>;
// A registry value as the module hands it out and takes it in: empty, text, a 32-bit
// number or bytes.
using RegistryValue = std::variant<std::monostate, std::string, int32_t, RegistryBytes>;

struct RegistryEntry {
  std::string name;
  RegistryValue value;
  bool operator==(const RegistryEntry&) const = default;
};

// The pending-error record; number 0 means nothing is pending.
struct RegistryError {
  int32_t number = 0;
  std::string source;
  std::string description;
  bool operator==(const RegistryError&) const = default;
};

// The module's own errors are numbered from here (0x80040000 as a signed number).
inline constexpr int32_t kRegistryErrorBase = -2147221504;
namespace RegistryErrorCode {
inline constexpr int NoCurrentKey = 1;
inline constexpr int InvalidRoot = 2;
inline constexpr int TypeMismatch = 3;
inline constexpr int NoSuchType = 4;
}  // namespace RegistryErrorCode

// The description the module gives a result of a registry call.
std::string RegistryResultDescription(int32_t result);
// The description of one of the module's own errors.
std::string RegistryErrorDescription(int code);

// The text after the first "\" found from the second character on; "" when there is none.
std::string SubKeyPath(const std::string& path);
// The path with a "\" appended unless it already ends in one.
std::string WithTrailingBackslash(const std::string& path);

// A DWORD's four bytes, least significant first. Negative numbers are stored in two's
// complement, so every 32-bit number survives a write and a read.
std::array<uint8_t, 4> DwordBytes(int32_t value);
// The number held by up to four bytes, least significant first, read back the same way;
// nullopt for more than four bytes, which no 32-bit number can be.
std::optional<int32_t> DwordFromBytes(std::span<const uint8_t> bytes);

class RegistryAccess {
 public:
  // The window is only needed to show the pending error and log each one.
  // The boxes show a failed call to the player; the log tells stderr.
  RegistryAccess(RegistryApi& api, Boxes& boxes, ProblemLog& log);

  // The root key named by the path's first element, or 0 after recording error 2.
  RegKey RootKeyHandle(const std::string& path);

  // Creates the key if need be and sets the value. Type 0 chooses it from the value:
  // bytes are BINARY, a number DWORD, text or empty STRING.
  bool WriteRegistryValue(const std::string& path, const std::string& name,
                          const RegistryValue& value, uint32_t type = 0);
  // The value, or the default when one is given and the value cannot be read; without a
  // default, a value that cannot be read is empty and its failure pending.
  RegistryValue ReadRegistryValue(const std::string& path, const std::string& name,
                                  const std::optional<RegistryValue>& defaultValue = {});
  // With a value name, deletes that value only; without, the key and every key beneath
  // it, the deepest first.
  bool DeleteRegistryKey(const std::string& path,
                         const std::optional<std::string>& name = std::nullopt);
  // Every value of the key as (name, value), in the registry's order; empty when the key
  // has none or cannot be opened.
  std::vector<RegistryEntry> EnumRegistryValues(const std::string& path);

  // Records the module error of that code as pending.
  void RaiseRegistryError(int code);
  // Records a failed call's result as pending (its number is the result code), or clears
  // the record after a successful one.
  void CheckRegistryResult(int32_t result);
  // Shows the pending error's description, if any, in an OK box, and clears the record.
  void ShowPendingError();

  const RegistryError& PendingError() const { return pending_; }

 private:
  // Says the error just recorded on stderr: most are passed over without a box.
  void LogPending();
  // Checks the result and closes the key; returns whether the result was a success.
  bool Checked(int32_t result);
  RegistryValue Decode(uint32_t type, std::span<const uint8_t> bytes) const;

  RegistryApi& api_;
  Boxes& boxes_;
  ProblemLog& log_;
  RegistryError pending_;
};

}  // namespace kadeno
