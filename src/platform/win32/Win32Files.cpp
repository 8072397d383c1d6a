// Files through the Win32 API, every path in UTF-16.
#include "win32/Win32Files.h"

#include "win32/Win32Api.h"

#include <algorithm>
#include <cstdio>
#include <utility>
#include <vector>

#include "messagelog/LogFile.h"

namespace kadeno {

namespace {

// Closes a file handle however the scope is left.
struct FileHandle {
  HANDLE h;
  explicit FileHandle(HANDLE handle) : h(handle) {}
  ~FileHandle() {
    if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
  }
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  bool Close() { return CloseHandle(std::exchange(h, INVALID_HANDLE_VALUE)) != 0; }
};

// The folder part of a path, "" when it has none.
std::wstring Parent(const std::wstring& path) {
  const size_t slash = path.find_last_of(L'\\');
  return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
}

bool MakeFolders(const std::wstring& folder) {
  if (folder.empty()) return false;
  const DWORD attributes = GetFileAttributesW(folder.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES) return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  // "C:" and "\\server\share" are there or not; they cannot be made.
  if (folder.size() <= 2 || folder.back() == L':') return false;
  const std::wstring parent = Parent(folder);
  if (!parent.empty() && parent != folder && !MakeFolders(parent)) return false;
  return CreateDirectoryW(folder.c_str(), nullptr) != 0 || GetLastError() == ERROR_ALREADY_EXISTS;
}

}  // namespace

std::wstring Widen(const std::string& utf8) {
  if (utf8.empty()) return {};
  const int n =
      MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring out(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), out.data(), n);
  return out;
}

std::string Narrow(const std::wstring& utf16) {
  if (utf16.empty()) return {};
  const int n = WideCharToMultiByte(CP_UTF8, 0, utf16.data(), static_cast<int>(utf16.size()),
                                    nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, utf16.data(), static_cast<int>(utf16.size()), out.data(), n,
                      nullptr, nullptr);
  return out;
}

std::wstring WindowsPath(const std::string& path) {
  std::wstring w = Widen(path);
  for (wchar_t& c : w) {
    if (c == L'/') c = L'\\';
  }
  return w;
}

bool Win32FileExists(const std::string& path) {
  const DWORD attributes = GetFileAttributesW(WindowsPath(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

std::optional<std::string> Win32ReadFile(const std::string& path) {
  FileHandle file(CreateFileW(WindowsPath(path).c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (file.h == INVALID_HANDLE_VALUE) return std::nullopt;
  std::string contents;
  char buffer[65536];
  for (;;) {
    DWORD got = 0;
    if (!ReadFile(file.h, buffer, sizeof buffer, &got, nullptr)) return std::nullopt;
    if (got == 0) return contents;
    contents.append(buffer, got);
  }
}

bool Win32MakeFolders(const std::string& folder) { return MakeFolders(WindowsPath(folder)); }

std::string Win32TemporaryFor(const std::string& path) { return path + ".new"; }

bool Win32WriteFileAtomically(const std::string& path, const std::string& contents) {
  const std::wstring target = WindowsPath(path);
  const std::wstring folder = Parent(target);
  if (!folder.empty() && !MakeFolders(folder)) return false;
  // Always the same name in the same folder, so that a save cut short leaves at most this
  // one file, which the next save takes up again. Opened shut to everyone else: a second
  // copy of the program saving at the same time cannot open it while we write, and while
  // it writes our move fails, so no file is ever made of the two.
  const std::wstring tmp = WindowsPath(Win32TemporaryFor(path));
  bool ok = false;
  {
    FileHandle file(CreateFileW(tmp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.h == INVALID_HANDLE_VALUE) return false;
    ok = true;
    size_t done = 0;
    while (ok && done < contents.size()) {
      const DWORD chunk = static_cast<DWORD>(std::min<size_t>(contents.size() - done, 1 << 20));
      DWORD wrote = 0;
      ok = WriteFile(file.h, contents.data() + done, chunk, &wrote, nullptr) && wrote > 0;
      done += wrote;
    }
    ok = ok && FlushFileBuffers(file.h);
    ok = file.Close() && ok;
  }
  ok = ok &&
       MoveFileExW(tmp.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
  if (!ok) DeleteFileW(tmp.c_str());
  return ok;
}

std::string Win32ProgramFolder() {
  std::vector<wchar_t> buffer(MAX_PATH);
  for (;;) {
    const DWORD n = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (n == 0) return ".";
    if (n < buffer.size()) {
      const std::wstring exe(buffer.data(), n);
      const std::wstring folder = Parent(exe);
      return Narrow(folder.empty() ? L"." : folder);
    }
    buffer.resize(buffer.size() * 2);
  }
}

std::string Win32SettingsFolder() {
  // The variable first, as "%APPDATA%" says; the shell's answer when it is not set.
  std::wstring appData(32768, L'\0');
  const DWORD n =
      GetEnvironmentVariableW(L"APPDATA", appData.data(), static_cast<DWORD>(appData.size()));
  if (n > 0 && n < appData.size()) {
    appData.resize(n);
  } else {
    appData.clear();
    PWSTR known = nullptr;
    if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_RoamingAppData, 0, nullptr, &known))) {
      appData = known;
    }
    CoTaskMemFree(known);
  }
  if (appData.empty()) return Win32ProgramFolder();
  return Narrow(appData) + "\\Kadeno";
}

std::FILE* OpenLogFileForAppend(const std::string& path) {
  return _wfopen(WindowsPath(path).c_str(), L"ab");
}

}  // namespace kadeno
