// Files and text at the Windows boundary: the program's text is UTF-8, Windows' own is
// UTF-16; paths may use "/" or "\". Whole-file reads, writes that land whole or not at
// all, and the program's folders.
#pragma once

#include <optional>
#include <string>

namespace kadeno {

std::wstring Widen(const std::string& utf8);
std::string Narrow(const std::wstring& utf16);
// Widened, with every "/" turned into "\".
std::wstring WindowsPath(const std::string& path);

bool Win32FileExists(const std::string& path);
std::optional<std::string> Win32ReadFile(const std::string& path);
// Writes a temporary file beside path, flushes it to disk and moves it over path, so a
// failure at any point leaves the previous file as it was. Makes missing folders. The
// temporary always has the same name, Win32TemporaryFor(path): a save cut short leaves at
// most that one file, which the next save reuses.
bool Win32WriteFileAtomically(const std::string& path, const std::string& contents);
std::string Win32TemporaryFor(const std::string& path);
// Makes a folder and its parents; true when it exists afterwards.
bool Win32MakeFolders(const std::string& folder);

// The folder the running program was started from.
std::string Win32ProgramFolder();
// %APPDATA%\Kadeno, where the settings file lives.
std::string Win32SettingsFolder();

}  // namespace kadeno
