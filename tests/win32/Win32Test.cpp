// The Win32 pieces, under Wine in CI (on Xvfb, in a registry of its own): the window's menus,
// keys, boxes, held-back commands and waits; files, text, the registry and the catalogs as
// they reach the system (what Uninstall removes and which catalogs a setting names are
// checked elsewhere); the device KADENO_MIDI_OUT chooses and how it finds its output again,
// with winmm's calls stood in for on a virtual clock.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "messagelog/MessageLogDevice.h"
#include "registry/RegistryAccess.h"
#include "shell/MenuTable.h"
#include "shell/MoFixtures.h"
#include "sound/MidiOut.h"
#include "support/FakeWindow.h"
#include "support/Harness.h"
#include "support/TempFolder.h"
#include "win32/Win32Api.h"
#include "win32/Win32AudioDevice.h"
#include "win32/Win32Boxes.h"
#include "win32/Win32Files.h"
#include "win32/Win32MainWindow.h"
#include "win32/Win32Registry.h"
#include "win32/Win32Translator.h"
#include "win32/Win32Window.h"

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

TEST(Win32Text, Utf8AndUtf16RoundTrip) {
  const std::pair<std::string, std::wstring> cases[] = {
      {"", L""},
      {"Kadeno", L"Kadeno"},
      {"Fran\xC3\xA7oise", L"Fran\u00E7oise"},
      {"\xE2\x99\xAA", L"\u266A"},                         // a note: three bytes, one unit
      {"\xF0\x9D\x84\x9E", L"\U0001D11E"},                 // the G clef: four bytes, two units
      {std::string("a\0b", 3), std::wstring(L"a\0b", 3)},  // a NUL is text like any other
  };
  for (const auto& [utf8, utf16] : cases) {
    EXPECT_EQ(Widen(utf8), utf16) << utf8;
    EXPECT_EQ(Narrow(utf16), utf8) << utf8;
  }
  EXPECT_EQ(WindowsPath("C:/Games/Kadeno/Kadeno.ini"), L"C:\\Games\\Kadeno\\Kadeno.ini");
}

// A save cut short leaves its temporary behind, longer than the next save's text: the next
// save takes it up and leaves nothing. A failed save leaves the previous file.
TEST(Win32Files, SavesWholeFilesMakingTheFoldersAndLeaveNothingElse) {
  const test::TempFolder own;
  // A folder whose name is not plain ASCII, reached with forward slashes.
  std::string dir = own / "kadeno-\xC3\xA9t\xC3\xA9";
  std::replace(dir.begin(), dir.end(), '\\', '/');
  const auto Entries = [](const std::string& folder) {
    return std::distance(std::filesystem::directory_iterator(WindowsPath(folder)), {});
  };
  const std::string path = dir + "/a/b/Kadeno.ini";
  EXPECT_EQ(Win32ReadFile(path), std::nullopt);
  ASSERT_TRUE(Win32WriteFileAtomically(Win32TemporaryFor(path), "half a file, longer"));
  ASSERT_TRUE(Win32WriteFileAtomically(path, std::string("two\r\n\0\xFF", 7)));
  EXPECT_TRUE(Win32FileExists(path));
  EXPECT_FALSE(Win32FileExists(dir + "/a"));                         // a folder is not a file
  EXPECT_FALSE(Win32WriteFileAtomically(path + "/inner.ini", "x"));  // a file in the way
  EXPECT_FALSE(Win32WriteFileAtomically(dir + "/a/b", "x"));         // a folder in the way
  EXPECT_EQ(Win32ReadFile(path), std::string("two\r\n\0\xFF", 7));   // bytes as they were
  EXPECT_EQ(Entries(dir + "/a/b"), 1);
  EXPECT_EQ(Entries(dir + "/a"), 1);
}

TEST(Win32Folders, SettingsLiveInAppDataAndWavesBesideTheProgram) {
  wchar_t old[32768];
  const DWORD had = GetEnvironmentVariableW(L"APPDATA", old, 32768);
  SetEnvironmentVariableW(L"APPDATA", L"D:\\Profiles\\Fran\u00E7oise\\AppData\\Roaming");
  EXPECT_EQ(Win32SettingsFolder(), "D:\\Profiles\\Fran\xC3\xA7oise\\AppData\\Roaming\\Kadeno");
  SetEnvironmentVariableW(L"APPDATA", had ? old : nullptr);
  EXPECT_TRUE(Win32FileExists(Win32ProgramFolder() + "\\test_win32.exe")) << Win32ProgramFolder();
}

bool KeyExists(HKEY root, const char* path) {
  HKEY key;
  if (RegOpenKeyExA(root, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}

TEST(Win32Registry, ValuesOfEveryTypeGoInAndComeOutAndTreesAreDeleted) {
  Win32Registry api;
  test::FakeWindow window;
  RegistryAccess access(api, window, window);
  const std::string key = "HKEY_CURRENT_USER\\Software\\KadenoTest";
  // By name: the order of writing, which Windows keeps, is the order Wine keeps too.
  const std::vector<RegistryEntry> values = {
      {"Bytes", RegistryBytes{0, 1, 255}},
      {"Empty", std::string()},
      {"Number", -2},
      {"Text", std::string("C:\\Games\\Kadeno.exe")},
  };
  for (const RegistryEntry& v : values)
    ASSERT_TRUE(access.WriteRegistryValue(key, v.name, v.value));
  ASSERT_TRUE(access.WriteRegistryValue(key + "\\Deep\\Deeper", "v", 1));
  for (const RegistryEntry& v : values) EXPECT_EQ(access.ReadRegistryValue(key, v.name), v.value);
  EXPECT_EQ(access.EnumRegistryValues(key), values);
  EXPECT_EQ(access.ReadRegistryValue(key, "Missing", 7), RegistryValue(7));
  EXPECT_TRUE(access.DeleteRegistryKey(key, std::string("Number")));
  EXPECT_EQ(access.EnumRegistryValues(key).size(), 3u);
  EXPECT_TRUE(access.DeleteRegistryKey(key));
  EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, "Software\\KadenoTest"));
  EXPECT_FALSE(access.DeleteRegistryKey(key));  // gone already: the system's own 2
  EXPECT_EQ(access.PendingError().number, ERROR_FILE_NOT_FOUND);
}

TEST(Win32Translator, TheLanguageAskedForOrItsNearestCatalog) {
  const test::TempFolder folder;
  std::string damaged = test::kBigEndianMo;
  damaged[0] = 'x';
  const std::pair<const char*, std::string> catalogs[] = {{"de", test::kLittleEndianMo},
                                                          {"fr", damaged}};
  for (const auto& [language, bytes] : catalogs) {
    const std::filesystem::path dir =
        WindowsPath(folder / "locale" + "/" + language + "/LC_MESSAGES");
    std::filesystem::create_directories(dir);
    std::ofstream(dir / "kadeno.mo", std::ios::binary) << bytes;
  }
  // {the language asked for, the catalog's ("": English), part of the stderr line ("": none)}
  const std::tuple<const char*, const char*, const char*> cases[] = {
      {"de-AT", "de", ""},  // as Windows names it; the language's own catalog serves
      {"fr:de", "de", ""},  // the damaged first choice passed over
      {"fr", "", "is damaged: not a compiled catalog"},
      {"ru", "", "kadeno: no catalog for ru in "},
      {"en-US", "", ""},
  };
  for (const auto& [asked, language, part] : cases) {
    testing::internal::CaptureStderr();
    const Win32Translator translator(folder.path(), asked);
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(translator.Language(), language) << asked;
    EXPECT_EQ(said.empty(), *part == '\0') << asked << ": " << said;
    EXPECT_TRUE(said.empty() || (said.starts_with("kadeno: ") && said.find(part) != said.npos &&
                                 said.find('\n') == said.size() - 1))
        << asked << ": " << said;
    EXPECT_STREQ(translator.Lookup("Are you ready?"), *language ? "Bist du bereit?" : nullptr)
        << asked;
  }
}

TEST(Win32AskedLanguage, KadenoLangAboveWindows) {
  _wputenv_s(L"KADENO_LANG", L"pt_BR");
  EXPECT_EQ(Win32AskedLanguage(), "pt_BR");
  _wputenv_s(L"KADENO_LANG", L"");
  // Windows' own display language, as "ll-CC" (Wine's is English here).
  const std::string windows = Win32AskedLanguage();
  EXPECT_GE(windows.size(), 2u) << windows;
}

using namespace std::chrono_literals;

TEST(Win32Audio, ChosenByKadenoMidiOut) {
  EXPECT_TRUE(dynamic_cast<Win32AudioDevice*>(MakeWin32AudioDevice("").get()));
  EXPECT_TRUE(dynamic_cast<Win32AudioDevice*>(MakeWin32AudioDevice(nullptr).get()));
  EXPECT_TRUE(dynamic_cast<MessageLogDevice*>(MakeWin32AudioDevice("log:C:\\midi.log").get()));
  EXPECT_EQ(MakeWin32AudioDevice("none")->DeviceCount(), 0);
  // Device 4000 is there on no machine: the system's own "bad device" comes back.
  auto device = MakeWin32AudioDevice("winmm:4000");
  EXPECT_EQ(device->Open(), OpenResult::NoDevice);
  device->SendShortMessage(0x7F3C90);  // not open: goes nowhere
}

// winmm as the device sees it: every call written down, the results scripted.
struct FakeWinmm {
  std::chrono::steady_clock::time_point now{std::chrono::hours(5)};
  std::vector<std::string> calls;
  std::deque<unsigned> openResults;  // then MMSYSERR_NOERROR
  std::deque<unsigned> sendResults;  // then MMSYSERR_NOERROR
  bool waveRefused = false;
  uintptr_t handles = 0;

  WinmmCalls Calls() {
    WinmmCalls c;
    c.open = [this](int device, uintptr_t* handle) {
      calls.push_back("open " + std::to_string(device));
      const unsigned r = Next(openResults);
      *handle = r == MMSYSERR_NOERROR ? ++handles : 0;
      return r;
    };
    c.shortMessage = [this](uintptr_t handle, uint32_t word) {
      char text[32];
      std::snprintf(text, sizeof text, "%u: %06X", static_cast<unsigned>(handle),
                    static_cast<unsigned>(word));
      calls.push_back(text);
      return Next(sendResults);
    };
    c.close = [this](uintptr_t handle) { calls.push_back("close " + std::to_string(handle)); };
    c.errorText = [](unsigned r) { return "error " + std::to_string(r); };
    c.deviceCount = [] { return 2u; };
    c.playWave = [this](const std::string& path) {
      calls.push_back("wave " + path);
      return !waveRefused;
    };
    c.stopWave = [] {};
    c.now = [this] { return now; };
    return c;
  }
  static unsigned Next(std::deque<unsigned>& results) {
    if (results.empty()) return MMSYSERR_NOERROR;
    const unsigned r = results.front();
    results.pop_front();
    return r;
  }
};

using Calls = std::vector<std::string>;

// Device 1 set up as a game does, then a note the driver refuses as gone.
struct LostDevice : testing::Test {
  void SetUp() override {
    ASSERT_EQ(device.Open(), OpenResult::Ok);
    device.SendShortMessage(ProgramChangeWord(5, 24));
    device.SendShortMessage(PanWord(5, 45));
    device.SendShortMessage(PanWord(5, 101));  // the newer pan is the one to keep
    device.SendShortMessage(NoteOnWord(5, 60, 100));
    winmm.calls.clear();
    testing::internal::CaptureStderr();
    winmm.sendResults = {lostWith};
    device.SendShortMessage(NoteOnWord(5, 62, 100));
  }
  std::string Said() { return testing::internal::GetCapturedStderr(); }

  unsigned lostWith = MIDIERR_NODEVICE;
  FakeWinmm winmm;
  Win32AudioDevice device{1, winmm.Calls()};
};

// The first reopen, two seconds on, fails; the next waits two seconds more.
TEST_F(LostDevice, ReopensTheSameDeviceTwoSecondsOnWithItsInstrumentsAndPans) {
  winmm.openResults = {MMSYSERR_NODRIVER};
  winmm.now += 1999ms;
  device.SendShortMessage(NoteOnWord(5, 64, 100));  // too soon: dropped
  winmm.now += 1ms;
  device.SendShortMessage(NoteOnWord(5, 65, 100));
  winmm.now += 1s;
  device.SendShortMessage(NoteOnWord(5, 67, 100));
  winmm.now += 1s;
  device.SendShortMessage(NoteOnWord(5, 69, 100));
  device.SendShortMessage(NoteOffWord(5, 69, 100));
  device.Close();
  EXPECT_EQ(winmm.calls, (Calls{"1: 643E95", "close 1", "open 1", "open 1", "2: 0018C5",
                                "2: 650AB5", "2: 644595", "2: 644585", "close 2"}));
  EXPECT_EQ(Said(),
            "kadeno: MIDI output 1 is gone: error 68 (68); opening it again at the next note\n"
            "kadeno: MIDI output 1 is back\n");
}

struct NotGone : LostDevice {
  NotGone() { lostWith = MIDIERR_NOTREADY; }
};

TEST_F(NotGone, ABusyDeviceIsKept) {
  winmm.now += 3s;
  device.SendShortMessage(NoteOnWord(5, 64, 100));
  EXPECT_EQ(winmm.calls, (Calls{"1: 643E95", "1: 644095"}));
  EXPECT_EQ(Said(), "");
}

// A wave refused though its file is there: the sound device, and the MIDI output with it,
// went away.
TEST(Win32Audio, ARefusedWaveReopensTheMapperAtTheNextNoteDue) {
  FakeWinmm winmm;
  Win32AudioDevice device(Win32AudioDevice::kMidiMapper, winmm.Calls());
  ASSERT_EQ(device.Open(), OpenResult::Ok);
  testing::internal::CaptureStderr();
  device.PlayWave("TenMore.wav");
  winmm.waveRefused = true;
  device.PlayWave("AddFifty.wav");
  device.PlayWave("AddFifty.wav");
  winmm.now += 2s;
  device.SendShortMessage(NoteOnWord(9, 36, 100));
  EXPECT_EQ(winmm.calls, (Calls{"open -1", "wave TenMore.wav", "wave AddFifty.wav", "close 1",
                                "wave AddFifty.wav", "open -1", "2: 642499"}));
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "kadeno: MIDI output mapper is gone: error 6 (6); opening it again at the next note\n"
            "kadeno: MIDI output mapper is back\n");
}

}  // namespace
}  // namespace kadeno
