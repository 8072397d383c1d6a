// The registry file's text: the REGEDIT4 format of registry exports, so that the file can
// be read, edited by hand and carried to and from a Windows registry.
//
//   REGEDIT4
//
//   [HKEY_LOCAL_MACHINE\SOFTWARE\Quenloft\Kadeno]
//   @="default value"
//   "Name"="text with \\ and \" escaped"
//   "Count"=dword:0000002a
//   "Bytes"=hex:01,02,ff
//   "Other"=hex(2):41,00
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "registry/MemoryRegistry.h"

namespace kadeno {

struct RegistryTextProblem {
  size_t line = 0;  // 1 for the first line
  std::string what;
};

// Reads a registry file into keys (which start as EmptyRegistryKeys()). Comments (";"),
// blank lines, CR LF or LF endings, short root names and hex lines continued with "\" are
// read as registry exports have them; empty text is an empty registry. At the first line
// that cannot be read, returns what is wrong with it, and keys must not be used.
std::optional<RegistryTextProblem> ParseRegistryText(std::string_view text, RegistryKeys& keys);

// The keys as a registry file, CR LF line ends. Every key has its section, so that empty
// keys survive; empty root keys are left out.
std::string FormatRegistryText(const RegistryKeys& keys);

}  // namespace kadeno
