// The message box and the input box.
#include "win32/Win32Boxes.h"

#include <string_view>
#include <vector>

#include "seams/Translate.h"
#include "win32/Win32Files.h"

namespace kadeno {

namespace {

struct ButtonName {
  int id;
  const char* english;
};
// The message box's buttons, named by Windows in its own language.
constexpr ButtonName kButtons[] = {
    {IDOK, "OK"}, {IDCANCEL, "Cancel"}, {IDYES, "&Yes"}, {IDNO, "&No"}};

HHOOK gNamingHook = nullptr;

// Renames the buttons of the message box that opens on this thread in the catalog's
// language, then lets go: Windows names them in its own, which KADENO_LANG may not be.
LRESULT CALLBACK NameButtons(int code, WPARAM wParam, LPARAM lParam) {
  const auto box = reinterpret_cast<HWND>(wParam);
  wchar_t kind[16] = L"";
  if (code == HCBT_ACTIVATE && GetClassNameW(box, kind, 16) > 0 &&
      std::wstring_view(kind) == L"#32770") {
    for (const ButtonName& b : kButtons) {
      if (HWND button = GetDlgItem(box, b.id)) SetWindowTextW(button, Widen(Tr(b.english)).c_str());
    }
    UnhookWindowsHookEx(gNamingHook);
    gNamingHook = nullptr;
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

bool ButtonsTranslated() {
  for (const ButtonName& b : kButtons) {
    if (Tr(b.english) != b.english) return true;
  }
  return false;
}

}  // namespace

Answer ShowMessageBox(HWND owner, const std::string& prompt, int style, const std::string& title) {
  // In English the buttons keep the names Windows gives them.
  if (gNamingHook == nullptr && ButtonsTranslated()) {
    gNamingHook = SetWindowsHookExW(WH_CBT, NameButtons, nullptr, GetCurrentThreadId());
  }
  // A box shown while the player is in another program still comes to the front, where the
  // screen reader speaks it.
  const int chosen = MessageBoxW(owner, Widen(prompt).c_str(), Widen(title).c_str(),
                                 static_cast<UINT>(style) | MB_SETFOREGROUND);
  if (gNamingHook != nullptr) {
    UnhookWindowsHookEx(gNamingHook);
    gNamingHook = nullptr;
  }
  switch (chosen) {
    case IDOK:
    case IDYES:
    case IDNO:
    case IDCANCEL:
      return static_cast<Answer>(chosen);
    default:
      return Answer::Cancel;
  }
}

namespace {

// A dialog template built in memory: the header, then each control, DWORD aligned.
class DialogTemplate {
 public:
  DialogTemplate(DWORD style, short cx, short cy, const wchar_t* font, WORD points) {
    Dword(style);
    Dword(0);  // extended style
    count_ = words_.size();
    words_.push_back(0);  // control count, filled in as controls are added
    Short(0), Short(0), Short(cx), Short(cy);
    words_.push_back(0);  // no menu
    words_.push_back(0);  // the standard dialog class
    Text(L"");            // the title is set when the box opens
    words_.push_back(points);
    Text(font);
  }

  // A control of one of the system's predefined classes (0x80 button, 0x81 edit, 0x82 static).
  void Control(WORD atom, WORD id, DWORD style, short x, short y, short cx, short cy,
               const wchar_t* text) {
    if (words_.size() % 2 != 0) words_.push_back(0);
    Dword(style | WS_CHILD | WS_VISIBLE);
    Dword(0);
    Short(x), Short(y), Short(cx), Short(cy);
    words_.push_back(id);
    words_.push_back(0xFFFF);
    words_.push_back(atom);
    Text(text);
    words_.push_back(0);  // no creation data
    ++words_[count_];
  }

  const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }

 private:
  void Dword(DWORD d) {
    words_.push_back(LOWORD(d));
    words_.push_back(HIWORD(d));
  }
  void Short(short s) { words_.push_back(static_cast<WORD>(s)); }
  void Text(const wchar_t* s) {
    while (*s) words_.push_back(static_cast<WORD>(*s++));
    words_.push_back(0);
  }

  std::vector<WORD> words_;
  size_t count_ = 0;
};

struct InputBoxState {
  std::wstring prompt, title, text;
};

INT_PTR CALLBACK InputBoxProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG: {
      auto* state = reinterpret_cast<InputBoxState*>(lParam);
      SetWindowLongPtrW(box, DWLP_USER, lParam);
      SetWindowTextW(box, state->title.c_str());
      SetDlgItemTextW(box, kInputBoxPromptId, state->prompt.c_str());
      HWND field = GetDlgItem(box, kInputBoxFieldId);
      SetWindowTextW(field, state->text.c_str());
      SendMessageW(field, EM_SETSEL, 0, -1);
      SetFocus(field);
      return FALSE;  // the focus is set
    }
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
        if (LOWORD(wParam) == IDOK) {
          auto* state = reinterpret_cast<InputBoxState*>(GetWindowLongPtrW(box, DWLP_USER));
          HWND field = GetDlgItem(box, kInputBoxFieldId);
          std::wstring text(static_cast<size_t>(GetWindowTextLengthW(field)) + 1, L'\0');
          text.resize(static_cast<size_t>(
              GetWindowTextW(field, text.data(), static_cast<int>(text.size()))));
          state->text = std::move(text);
        }
        EndDialog(box, LOWORD(wParam));
        return TRUE;
      }
      break;
    default:
      break;
  }
  return FALSE;
}

}  // namespace

std::optional<std::string> ShowInputBox(HWND owner, const std::string& prompt,
                                        const std::string& title, const std::string& defaultText) {
  // The classic layout, in dialog units: the prompt at the top left with OK and Cancel
  // beside it, the field across the bottom. The prompt comes just before the field, so
  // that the field takes the prompt as its name.
  DialogTemplate dialog(DS_MODALFRAME | DS_SETFONT | DS_CENTER | DS_SETFOREGROUND | WS_POPUP |
                            WS_CAPTION | WS_SYSMENU,
                        260, 84, L"MS Shell Dlg", 8);
  dialog.Control(0x82, kInputBoxPromptId, SS_LEFT | SS_NOPREFIX, 7, 7, 184, 50, L"");
  dialog.Control(0x81, kInputBoxFieldId, WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, 7, 63, 246, 14,
                 L"");
  dialog.Control(0x80, IDOK, BS_DEFPUSHBUTTON | WS_TABSTOP, 198, 7, 55, 14,
                 Widen(Tr("OK")).c_str());
  dialog.Control(0x80, IDCANCEL, BS_PUSHBUTTON | WS_TABSTOP, 198, 25, 55, 14,
                 Widen(Tr("Cancel")).c_str());
  InputBoxState state{Widen(prompt), Widen(title), Widen(defaultText)};
  const INT_PTR chosen = DialogBoxIndirectParamW(GetModuleHandleW(nullptr), dialog.Get(), owner,
                                                 InputBoxProc, reinterpret_cast<LPARAM>(&state));
  if (chosen != IDOK) return std::nullopt;
  return Narrow(state.text);
}

}  // namespace kadeno
