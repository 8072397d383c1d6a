// The Win32 window: menus, keys, the system's own boxes, commands held back while a box is
// open, and waits that wake for input. Needs a display (Xvfb under Wine in CI).
#include "win32/Win32Window.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <thread>

#include "shell/MenuTable.h"
#include "support/Harness.h"
#include "win32/Win32Boxes.h"
#include "win32/Win32Files.h"
#include "win32/Win32MainWindow.h"

namespace kadeno {
namespace {

std::wstring Text(HWND w) {
  std::wstring s(static_cast<size_t>(GetWindowTextLengthW(w)) + 1, L'\0');
  s.resize(static_cast<size_t>(GetWindowTextW(w, s.data(), static_cast<int>(s.size()))));
  return s;
}

// Acts on the next box titled `title` once it shows, from another thread, as a player would.
std::thread OnBox(const wchar_t* title, std::function<void(HWND)> act) {
  return std::thread([title, act] {
    for (int i = 0; i < 2000; ++i) {
      HWND box = FindWindowW(L"#32770", title);
      if (box != nullptr && IsWindowVisible(box)) return act(box);
      Sleep(5);
    }
    // Nobody would answer the box the test waits in: fail now rather than hang.
    std::fprintf(stderr, "no box titled %ls showed within 10 s\n", title);
    std::_Exit(1);
  });
}

void Press(HWND box, int button) { PostMessageW(box, WM_COMMAND, button, 0); }

TEST(Win32Boxes, MessageBoxesAnswerWithTheButtonChosen) {
  const std::tuple<int, int, Answer> cases[] = {
      {Box::Ok, IDOK, Answer::Ok},
      {Box::YesNoCancel + Box::IconQuestion, IDNO, Answer::No},
      {Box::YesNo + Box::IconExclamation, IDYES, Answer::Yes},
      {Box::OkCancel, IDCANCEL, Answer::Cancel},
  };
  for (const auto& [style, button, answer] : cases) {
    std::wstring text;
    std::thread player = OnBox(L"Kadeno Help", [&text, button = button](HWND box) {
      text = Text(GetDlgItem(box, 0xFFFF));  // the message's static control
      Press(box, button);
    });
    EXPECT_EQ(ShowMessageBox(nullptr, "Page \xE2\x99\xAA\r\nline two", style, "Kadeno Help"),
              answer);
    player.join();
    EXPECT_EQ(text, L"Page \u266A\r\nline two");
  }
}

// What OK gives, and the offered text selected, the Wine checks see through the whole program.
TEST(Win32Boxes, TheInputBoxShowsItsPromptAndCancelGivesNothing) {
  Win32Window window;
  std::wstring prompt;
  std::thread player = OnBox(L"Kadeno", [&](HWND box) {
    prompt = Text(GetDlgItem(box, kInputBoxPromptId));
    SetWindowTextW(GetDlgItem(box, kInputBoxFieldId), L"90");
    Press(box, IDCANCEL);
  });
  EXPECT_EQ(window.InputBox("Drum Volume is now 100 out of \xE2\x99\xAA.", std::nullopt, "100"),
            "");
  player.join();
  EXPECT_EQ(prompt, L"Drum Volume is now 100 out of \u266A.");
}

class Win32MainWindowTest : public ::testing::Test {
 protected:
  test::Harness h;
  Win32Window window;
  Win32MainWindow main{h.form, window};
  // Runs the messages waiting now, and any the first of them leave behind.
  void Pump() {
    for (int i = 0; i < 3; ++i) window.Yield();
  }
};

TEST_F(Win32MainWindowTest, MenusAreTheTableWithF1AndLiveCaptions) {
  wchar_t caption[128];
  const auto captionOf = [&caption](HMENU menu, UINT at, UINT by) {
    GetMenuStringW(menu, at, caption, 128, by);
    return Narrow(caption);
  };
  HMENU bar = GetMenu(main.Handle());
  ASSERT_EQ(GetMenuItemCount(bar), static_cast<int>(MainMenus().size()));
  for (int m = 0; m < GetMenuItemCount(bar); ++m) {
    const MenuSpec& spec = MainMenus()[m];
    EXPECT_EQ(captionOf(bar, m, MF_BYPOSITION), spec.caption);
    HMENU popup = GetSubMenu(bar, m);
    ASSERT_EQ(GetMenuItemCount(popup), static_cast<int>(spec.items.size()));
    for (int i = 0; i < GetMenuItemCount(popup); ++i)
      EXPECT_EQ(captionOf(popup, i, MF_BYPOSITION),
                spec.items[i].caption + std::string(spec.items[i].shortcut ? "\tF1" : ""));
  }
  // F1 is the Instructions item's accelerator: the help shows once (its words: the transcript's).
  h.window.Reply(Answer::Cancel);
  MSG f1{main.Handle(), WM_KEYDOWN, VK_F1, 0x003B0001, 0, {}};
  window.Dispatch(f1);
  Pump();
  ASSERT_EQ(h.window.boxes.size(), 1u);
  EXPECT_EQ(h.window.boxes[0].title, "Kadeno Help");
  window.SetMenuCaption(MenuItem::mMidiStereo, "Stereo (off)");
  EXPECT_EQ(captionOf(bar, Win32MainWindow::CommandId("mMidiStereo"), MF_BYCOMMAND),
            "Stereo (off)");
}

// The key itself reaches the game in Win32Waits below.
TEST(Win32Keys, TheShiftStateIsTheGamesOwn) {
  BYTE saved[256], keys[256] = {};
  GetKeyboardState(saved);
  for (int down = 0; down < 8; ++down) {
    keys[VK_SHIFT] = down & 1 ? 0x80 : 0;
    keys[VK_CONTROL] = down & 2 ? 0x80 : 0;
    keys[VK_MENU] = down & 4 ? 0x80 : 0;
    SetKeyboardState(keys);
    EXPECT_EQ(Win32MainWindow::ShiftState(), down);
  }
  SetKeyboardState(saved);
}

TEST_F(Win32MainWindowTest, CommandsWaitForTheirMessageAndForAnOpenBoxToReturn) {
  const UINT stereo = Win32MainWindow::CommandId("mMidiStereo");
  h.S().Stereo = true;
  h.window.Reply(Answer::Ok, "Kadeno will scan in mono");
  SendMessageW(main.Handle(), WM_COMMAND, stereo, 0);
  EXPECT_TRUE(h.form.settings().Stereo);  // not yet: queued behind the menu's message
  Pump();
  EXPECT_FALSE(h.form.settings().Stereo);

  main.Show();
  h.S().Stereo = true;
  h.window.Reply(Answer::Ok, "Kadeno will scan in mono");
  bool ranInsideTheBox = true;
  std::thread player = OnBox(L"Kadeno", [&](HWND box) {
    PostMessageW(main.Handle(), WM_COMMAND, stereo, 0);
    Sleep(100);  // the box's own loop serves the command's message meanwhile
    ranInsideTheBox = !h.form.settings().Stereo;
    Press(box, IDOK);
  });
  window.MsgBox("Last box of some command", Box::Ok, std::nullopt);
  player.join();
  EXPECT_FALSE(ranInsideTheBox);
  for (int i = 0; i < 100 && h.form.settings().Stereo; ++i) window.WaitMs(10);
  EXPECT_FALSE(h.form.settings().Stereo);
}

TEST(Win32Waits, AWaitWakesForInputAndDoesNotCountItsHandlersTime) {
  // The program's own window and boxes: the key's box takes the player 150 ms to answer.
  Win32Window window;
  test::FakeAudio audio;
  MainForm form(window, audio);
  Win32MainWindow main(form, window);
  // Whether the box showed while the wait still ran: the order of events decides, not the
  // clock, so a loaded machine cannot fail it. Only the lower bound of the wait is checked.
  std::atomic<bool> waiting = true, shownInTheWait = false;
  std::thread player([&] {
    Sleep(30);
    PostMessageW(main.Handle(), WM_KEYDOWN, 'S', 0);
    OnBox(L"Kadeno", [&](HWND box) {
      shownInTheWait = waiting.load();
      Sleep(150);
      Press(box, IDOK);
    }).join();
  });
  const int64_t start = window.ClockMs();
  window.WaitMs(300);
  waiting = false;
  const int64_t took = window.ClockMs() - start;
  player.join();
  EXPECT_TRUE(shownInTheWait) << "the key waited for the end of the wait";
  EXPECT_GE(took, 450);
  const int64_t before = window.ClockMs();
  window.WaitMs(-5);  // nothing, not forever
  EXPECT_LT(window.ClockMs() - before, 1000);
}

}  // namespace
}  // namespace kadeno
