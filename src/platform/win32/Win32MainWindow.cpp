#include "win32/Win32MainWindow.h"

#include <string>
#include <vector>

#include "seams/Translate.h"
#include "shell/MainForm.h"
#include "shell/MenuTable.h"
#include "win32/Win32Files.h"

namespace kadeno {

namespace {

constexpr const wchar_t* kClassName = L"KadenoMainForm";
constexpr UINT kFirstCommandId = 1000;
// A menu command posted to run once its own message has returned.
constexpr UINT kRunCommand = WM_APP + 1;
// While a box is open a command waits this long before it asks again.
constexpr UINT kBoxRetryMs = 20;

// The screen's dots per inch, which the program declares it follows.
int ScreenDpi() {
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : 96;
}

// The window was laid out in twips, 1440 to the inch: 15 to the pixel at 96 DPI.
int Px(int twips) { return MulDiv(twips, ScreenDpi(), 1440); }

// The menu items in the table's order; a command's id is kFirstCommandId plus its place.
std::vector<const MenuItemSpec*> AllItems() {
  std::vector<const MenuItemSpec*> items;
  for (const MenuSpec& menu : MainMenus()) {
    for (const MenuItemSpec& item : menu.items) items.push_back(&item);
  }
  return items;
}

const MenuItemSpec* ItemOf(UINT id) {
  static const std::vector<const MenuItemSpec*> items = AllItems();
  return id >= kFirstCommandId && id - kFirstCommandId < items.size() ? items[id - kFirstCommandId]
                                                                      : nullptr;
}

HFONT TitleFont(double points) {
  // The labels were drawn in News Gothic; the font mapper finds the nearest where it is
  // missing.
  const int height = -static_cast<int>(points * ScreenDpi() / 72.0 + 0.5);
  return CreateFontW(height, 0, 0, 0, FW_BOLD, TRUE, FALSE, FALSE, DEFAULT_CHARSET,
                     OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                     VARIABLE_PITCH | FF_SWISS, L"News Gothic MT");
}

}  // namespace

UINT Win32MainWindow::CommandId(const char* itemName) {
  const std::vector<const MenuItemSpec*> items = AllItems();
  for (size_t i = 0; i < items.size(); ++i) {
    if (std::string(items[i]->name) == itemName) return kFirstCommandId + static_cast<UINT>(i);
  }
  return 0;
}

int Win32MainWindow::ShiftState() {
  auto down = [](int key) { return (GetKeyState(key) & 0x8000) != 0; };
  return (down(VK_SHIFT) ? 1 : 0) | (down(VK_CONTROL) ? 2 : 0) | (down(VK_MENU) ? 4 : 0);
}

Win32MainWindow::Win32MainWindow(MainForm& form, Win32Window& window)
    : form_(form), window_(window) {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = &Win32MainWindow::Proc;
  wc.hInstance = instance;
  wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(1));
  if (wc.hIcon == nullptr) wc.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = kClassName;
  RegisterClassExW(&wc);

  BuildMenus();
  constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
  RECT frame{0, 0, Px(4650), Px(4290)};
  AdjustWindowRectEx(&frame, kStyle, TRUE, 0);
  hwnd_ = CreateWindowExW(0, kClassName, Widen(Tr("Kadeno: Musical Tumbla")).c_str(), kStyle,
                          CW_USEDEFAULT, CW_USEDEFAULT, frame.right - frame.left,
                          frame.bottom - frame.top, nullptr, menuBar_, instance, this);
  BuildLabels();
  window_.SetMainWindow(hwnd_, menuBar_, accelerators_);
}

Win32MainWindow::~Win32MainWindow() {
  window_.SetMainWindow(nullptr, nullptr, nullptr);
  if (hwnd_) DestroyWindow(hwnd_);
  if (accelerators_) DestroyAcceleratorTable(accelerators_);
  if (titleFont_) DeleteObject(titleFont_);
  if (fromFont_) DeleteObject(fromFont_);
}

void Win32MainWindow::BuildLabels() {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  titleFont_ = TitleFont(48);
  fromFont_ = TitleFont(21.75);
  struct Label {
    std::wstring text;
    DWORD align;
    int x, y, cx, cy;
    HFONT font;
  };
  const Label labels[] = {
      {L"Kadeno", SS_LEFT, 600, 240, 3255, 1215, titleFont_},
      {Widen(Tr("from")), SS_RIGHT, 1680, 1680, 1215, 615, fromFont_},
  };
  for (const Label& l : labels) {
    HWND label =
        CreateWindowExW(0, L"STATIC", l.text.c_str(),
                        WS_CHILD | WS_VISIBLE | SS_NOPREFIX | SS_CENTERIMAGE | l.align, Px(l.x),
                        Px(l.y), Px(l.cx), Px(l.cy), hwnd_, nullptr, instance, nullptr);
    SendMessageW(label, WM_SETFONT, reinterpret_cast<WPARAM>(l.font), FALSE);
  }
}

void Win32MainWindow::BuildMenus() {
  menuBar_ = CreateMenu();
  std::vector<ACCEL> shortcuts;
  UINT id = kFirstCommandId;
  for (const MenuSpec& menu : MainMenus()) {
    HMENU popup = CreatePopupMenu();
    for (const MenuItemSpec& item : menu.items) {
      std::wstring caption = Widen(Tr(item.caption));
      if (item.shortcut >= VK_F1 && item.shortcut <= VK_F24) {
        // The system's way of showing a shortcut: after a tab, right-aligned in the menu.
        caption += L"\tF" + std::to_wstring(item.shortcut - VK_F1 + 1);
        shortcuts.push_back(
            ACCEL{FVIRTKEY, static_cast<WORD>(item.shortcut), static_cast<WORD>(id)});
      }
      AppendMenuW(popup, MF_STRING, id, caption.c_str());
      if (item.live) window_.RegisterMenuItem(*item.live, id);
      ++id;
    }
    AppendMenuW(menuBar_, MF_POPUP, reinterpret_cast<UINT_PTR>(popup),
                Widen(Tr(menu.caption)).c_str());
  }
  if (!shortcuts.empty()) {
    accelerators_ = CreateAcceleratorTableW(shortcuts.data(), static_cast<int>(shortcuts.size()));
  }
}

void Win32MainWindow::Show() {
  ShowWindow(hwnd_, SW_SHOWNORMAL);
  UpdateWindow(hwnd_);
  SetForegroundWindow(hwnd_);
  SetFocus(hwnd_);
}

bool Win32MainWindow::IsMenuAccessKey(WPARAM key) const {
  if ((GetKeyState(VK_MENU) & 0x8000) == 0) return false;
  const auto upper = [](wchar_t c) {
    return static_cast<wchar_t>(reinterpret_cast<ULONG_PTR>(
        CharUpperW(reinterpret_cast<LPWSTR>(static_cast<ULONG_PTR>(c)))));
  };
  // The letter the key types in the keyboard's layout: a translation's access letter may
  // lie beyond A to Z (Cyrillic, or an umlaut).
  const wchar_t typed =
      upper(static_cast<wchar_t>(MapVirtualKeyW(static_cast<UINT>(key), MAPVK_VK_TO_CHAR)));
  for (const MenuSpec& menu : MainMenus()) {
    const std::wstring caption = Widen(Tr(menu.caption));
    const size_t amp = caption.find(L'&');
    if (amp == std::wstring::npos || amp + 1 >= caption.size()) continue;
    const wchar_t letter = upper(caption[amp + 1]);
    if (letter == static_cast<wchar_t>(key) || (typed != 0 && letter == typed)) return true;
  }
  return false;
}

void Win32MainWindow::RunCommand(UINT id) {
  const MenuItemSpec* item = ItemOf(id);
  if (item == nullptr) return;
  // A command runs after the menu has closed and its message has returned: a game runs
  // inside its command for minutes, and neither the menu nor an assistive client that
  // chose the item should wait that long. And it waits for any box to be gone: a command
  // chosen while the last box of the previous one is closing must not run inside that
  // command's tail.
  if (window_.BoxesOpen() > 0) {
    SetTimer(hwnd_, id, kBoxRetryMs, nullptr);
    return;
  }
  Win32Window::Handler timed(window_);
  (form_.*(item->command))();
}

LRESULT CALLBACK Win32MainWindow::Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    static_cast<Win32MainWindow*>(create->lpCreateParams)->hwnd_ = hwnd;
  }
  auto* self = reinterpret_cast<Win32MainWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (self == nullptr) return DefWindowProcW(hwnd, message, wParam, lParam);
  return self->Handle(message, wParam, lParam);
}

LRESULT Win32MainWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      // From the menu (0) or the accelerators (1), never from a control.
      if (HIWORD(wParam) <= 1 && lParam == 0 && ItemOf(LOWORD(wParam)) != nullptr) {
        PostMessageW(hwnd_, kRunCommand, LOWORD(wParam), 0);
        return 0;
      }
      break;
    case kRunCommand:
      RunCommand(static_cast<UINT>(wParam));
      return 0;
    case WM_TIMER:
      if (ItemOf(static_cast<UINT>(wParam)) != nullptr) {
        KillTimer(hwnd_, wParam);
        PostMessageW(hwnd_, kRunCommand, wParam, 0);
        return 0;
      }
      break;
    case WM_KEYDOWN: {
      Win32Window::Handler timed(window_);
      form_.Form_KeyDown(static_cast<int32_t>(wParam), ShiftState());
      return 0;
    }
    case WM_SYSKEYDOWN:
      // Alt with a key, and F10: the game hears it (Alt+F4 ends the program there), then
      // the system opens the menus as it always does. Alt with a menu's access letter
      // belongs to the menu bar alone.
      if (!IsMenuAccessKey(wParam)) {
        Win32Window::Handler timed(window_);
        form_.Form_KeyDown(static_cast<int32_t>(wParam), ShiftState());
      }
      break;
    case WM_ACTIVATE:
      // Nothing in the window takes the focus: the keys must reach the window itself.
      if (LOWORD(wParam) != WA_INACTIVE) SetFocus(hwnd_);
      return 0;
    case WM_ENDSESSION:
      if (wParam == FALSE) return 0;
      [[fallthrough]];
    case WM_CLOSE: {
      {
        Win32Window::Handler timed(window_);
        form_.Form_Unload();
        form_.Form_Terminate();
      }
      // A game may be running inside a menu command below this message; it must not go
      // on sounding and scanning without its window, so the program ends here, its
      // settings saved and its device closed by the first of the two handlers above.
      form_.window().EndProgram();
    }
    default:
      break;
  }
  return DefWindowProcW(hwnd_, message, wParam, lParam);
}

}  // namespace kadeno
