// For the Wine checks: prints the texts of the showing window titled argv[1] (its title,
// then its controls'), in UTF-8, each ended by a NUL: a box read as a screen reader would.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

void Print(HWND window) {
  const int length = GetWindowTextLengthW(window);
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(window, text.data(), length + 1)));
  const int bytes = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                        nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<size_t>(bytes), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), utf8.data(), bytes,
                      nullptr, nullptr);
  std::fwrite(utf8.data(), 1, utf8.size() + 1, stdout);  // with its NUL
}

BOOL CALLBACK PrintChild(HWND child, LPARAM) {
  Print(child);
  return TRUE;
}

}  // namespace

int main() {
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  if (argv == nullptr || argc != 2) return 2;
  HWND box = FindWindowW(nullptr, argv[1]);
  if (box == nullptr || !IsWindowVisible(box)) return 1;
  Print(box);
  EnumChildWindows(box, PrintChild, 0);
  return 0;
}
