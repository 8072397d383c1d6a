#include "shell/QtMainWindow.h"

#include <QAction>
#include <QCloseEvent>
#include <QFont>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QTimer>

#include "shell/MainForm.h"
#include "shell/QtKeys.h"
#include "shell/QtWindow.h"

namespace kadeno {

namespace {

// The window was laid out in twips at 15 to the pixel.
constexpr int Px(int twips) { return twips / 15; }

QFont TitleFont(double points) {
  // The labels were drawn in News Gothic; where it is missing, take a narrow sans of the
  // same build before falling back on whatever sans the desktop has.
  static const bool substituted = [] {
    QFont::insertSubstitutions(
        QStringLiteral("News Gothic MT"),
        {QStringLiteral("News Gothic"), QStringLiteral("Nimbus Sans Narrow"),
         QStringLiteral("Liberation Sans Narrow"), QStringLiteral("DejaVu Sans Condensed"),
         QStringLiteral("DejaVu Sans")});
    return true;
  }();
  (void)substituted;
  QFont font(QStringLiteral("News Gothic MT"));
  font.setStyleHint(QFont::SansSerif);
  font.setPointSizeF(points);
  font.setBold(true);
  font.setItalic(true);
  return font;
}

using Slot = void (QtMainWindow::*)();

struct ItemSpec {
  const char* name;
  const char* caption;
  Slot slot;
};

struct MenuSpec {
  const char* name;
  const char* caption;
  std::initializer_list<ItemSpec> items;
};

}  // namespace

QtMainWindow::QtMainWindow(MainForm& form, QtWindow& window) : form_(form), window_(window) {
  setObjectName(QStringLiteral("MainForm"));
  setWindowTitle(QStringLiteral("Kadeno: Musical Tumbla"));
  BuildLabels();
  BuildMenus();
  // Keys must reach the window itself: nothing in it takes focus.
  setFocusPolicy(Qt::StrongFocus);
}

void QtMainWindow::BuildLabels() {
  auto* client = new QWidget(this);
  client->setFixedSize(Px(4650), Px(4290));

  auto* title = new QLabel(QStringLiteral("Kadeno"), client);
  title->setObjectName(QStringLiteral("lblTitle"));
  title->setFont(TitleFont(48));
  title->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  title->setGeometry(Px(600), Px(240), Px(3255), Px(1215));

  auto* from = new QLabel(QStringLiteral("from"), client);
  from->setObjectName(QStringLiteral("lblFrom"));
  from->setFont(TitleFont(21.75));
  from->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  from->setGeometry(Px(1680), Px(1680), Px(1215), Px(615));

  setCentralWidget(client);
}

void QtMainWindow::BuildMenus() {
  const MenuSpec menus[] = {
      {"mnuFile",
       "&File",
       {
           {"mnuFileStartGame", "&Start Game", &QtMainWindow::mnuFileStartGame_Click},
           {"mnuFileSetDifficulty", "Set &Difficulty", &QtMainWindow::mnuFileSetDifficulty_Click},
           {"mnuFileHallOfFame", "&Hall Of Fame", &QtMainWindow::mnuFileHallOfFame_Click},
           {"mnuFileExit", "E&xit", &QtMainWindow::mnuFileExit_Click},
       }},
      {"mnuProgram",
       "&Program",
       {
           {"mnuProgramUninstallKadeno", "&Uninstall Kadeno",
            &QtMainWindow::mnuProgramUninstallKadeno_Click},
       }},
      {"mnuMidi",
       "&Midi",
       {
           {"mMidiStereo", "Stereo (on)", &QtMainWindow::mMidiStereo_Click},
           {"mnuMidiStereoWide", "Set Stereo Width", &QtMainWindow::mnuMidiStereoWide_Click},
           {"mnuMidiCurve", "Set Stereo Curve", &QtMainWindow::mnuMidiCurve_Click},
           {"mnuMidiStereoBalance", "Set Stereo Balance",
            &QtMainWindow::mnuMidiStereoBalance_Click},
           {"mnuMidiDrumVolume", "Drum Volume", &QtMainWindow::mnuMidiDrumVolume_Click},
           {"mnuMidiBaseLineVolume", "BaseLine Volume", &QtMainWindow::mnuMidiBaseLineVolume_Click},
           {"mnuMidiBaseLineInstrument", "BaseLine Instrument",
            &QtMainWindow::mnuMidiBaseLineInstrument_Click},
           {"mnuMidiRow1Volume", "Row 1 Volume", &QtMainWindow::mnuMidiRow1Volume_Click},
           {"mnuMidiRow1Instrument", "Row 1 Instrument",
            &QtMainWindow::mnuMidiRow1Instrument_Click},
           {"mnuMidiRow2Volume", "Row 2 Volume", &QtMainWindow::mnuMidiRow2Volume_Click},
           {"mnuMidiRow2Instrument", "Row 2 Instrument",
            &QtMainWindow::mnuMidiRow2Instrument_Click},
           {"mnuMidiRow3Volume", "Row 3 Volume", &QtMainWindow::mnuMidiRow3Volume_Click},
           {"mnuMidiRow3Instrument", "Row 3 Instrument",
            &QtMainWindow::mnuMidiRow3Instrument_Click},
           {"mnuMidiFallingVolume", "Falling Note Volume",
            &QtMainWindow::mnuMidiFallingVolume_Click},
           {"mnuMidiFallingInstrument", "Falling Note Instrument",
            &QtMainWindow::mnuMidiFallingInstrument_Click},
           {"mnuMidiFallingNoteMovementSound", "Falling Note Movement Sound (Note)",
            &QtMainWindow::mnuMidiFallingNoteMovementSound_Click},
           {"mnuMidiEffectVolume", "Special Effect Volume",
            &QtMainWindow::mnuMidiEffectVolume_Click},
           {"mnuMidiEffectInstrument", "Special Effect Instrument",
            &QtMainWindow::mnuMidiEffectInstrument_Click},
           {"mnuMidiKeyboardScaling", "Keyboard Scaling",
            &QtMainWindow::mnuMidiKeyboardScaling_Click},
           {"mnuMidiBackToDefault", "Set Midi Back to Default",
            &QtMainWindow::mnuMidiBackToDefault_Click},
       }},
      {"mnuHelp",
       "&Help",
       {
           {"mnuHelpInstructions", "&Instructions", &QtMainWindow::mnuHelpInstructions_Click},
           {"mnuHelpAbout", "&About", &QtMainWindow::mnuHelpAbout_Click},
       }},
  };

  // In the window, not exported to a desktop-wide menu bar: a screen reader finds the
  // menus where the keyboard reaches them.
  menuBar()->setNativeMenuBar(false);
  for (const MenuSpec& m : menus) {
    QMenu* menu = menuBar()->addMenu(QString::fromUtf8(m.caption));
    menu->setObjectName(QString::fromUtf8(m.name));
    for (const ItemSpec& i : m.items) {
      QAction* action = menu->addAction(QString::fromUtf8(i.caption));
      action->setObjectName(QString::fromUtf8(i.name));
      const Slot handler = i.slot;
      connect(action, &QAction::triggered, this, [this, handler] { RunWhenFree(handler); });
    }
  }
  auto* instructions = findChild<QAction*>(QStringLiteral("mnuHelpInstructions"));
  instructions->setShortcut(QKeySequence(Qt::Key_F1));
  window_.RegisterMenuItem(MenuItem::mMidiStereo,
                           findChild<QAction*>(QStringLiteral("mMidiStereo")));
  window_.RegisterMenuItem(MenuItem::mnuMidiFallingNoteMovementSound,
                           findChild<QAction*>(QStringLiteral("mnuMidiFallingNoteMovementSound")));
}

void QtMainWindow::RunWhenFree(Slot handler) {
  // A command runs after the menu has closed and its event has returned: a game runs
  // inside its command for minutes, and neither the menu nor an assistive client that
  // chose the item should wait that long for the choice to be acknowledged. And it waits
  // for any box to be gone: an item chosen (by an assistive client) while the last box
  // of the previous command is closing must not run inside that command's tail.
  QTimer::singleShot(window_.BoxesOpen() > 0 ? 20 : 0, this, [this, handler] {
    if (window_.BoxesOpen() > 0) {
      RunWhenFree(handler);
    } else {
      QtWindow::Handler timed(window_);
      (this->*handler)();
    }
  });
}

void QtMainWindow::keyPressEvent(QKeyEvent* event) {
  // F1 normally never arrives here: the Instructions shortcut takes it. When the shortcut
  // does not fire, the key handler's own F1 shows the help instead, so it shows once.
  if (auto key = VirtualKeyOf(event->key(), event->modifiers())) {
    {
      QtWindow::Handler timed(window_);
      form_.Form_KeyDown(key->code, key->shift);
    }
    // F10 is where desktop users, and screen-reader users above all, look for the menu
    // bar; Qt leaves it unbound.
    if (event->key() == Qt::Key_F10 && event->modifiers() == Qt::NoModifier && isVisible() &&
        !menuBar()->actions().isEmpty()) {
      menuBar()->setActiveAction(menuBar()->actions().first());
    }
    return;
  }
  QMainWindow::keyPressEvent(event);
}

void QtMainWindow::closeEvent(QCloseEvent* event) {
  event->accept();
  form_.Form_Unload();
  form_.Form_Terminate();
  // A game may be running inside a menu command below this event; it must not go on
  // sounding and scanning without its window, so the program ends here, its settings
  // saved and its device closed by the two handlers above.
  form_.window.EndProgram();
}

void QtMainWindow::mnuFileStartGame_Click() { form_.mnuFileStartGame_Click(); }
void QtMainWindow::mnuFileSetDifficulty_Click() { form_.mnuFileSetDifficulty_Click(); }
void QtMainWindow::mnuFileHallOfFame_Click() { form_.mnuFileHallOfFame_Click(); }
void QtMainWindow::mnuFileExit_Click() { form_.mnuFileExit_Click(); }
void QtMainWindow::mnuProgramUninstallKadeno_Click() { form_.mnuProgramUninstallKadeno_Click(); }
void QtMainWindow::mMidiStereo_Click() { form_.mMidiStereo_Click(); }
void QtMainWindow::mnuMidiStereoWide_Click() { form_.mnuMidiStereoWide_Click(); }
void QtMainWindow::mnuMidiCurve_Click() { form_.mnuMidiCurve_Click(); }
void QtMainWindow::mnuMidiStereoBalance_Click() { form_.mnuMidiStereoBalance_Click(); }
void QtMainWindow::mnuMidiDrumVolume_Click() { form_.mnuMidiDrumVolume_Click(); }
void QtMainWindow::mnuMidiBaseLineVolume_Click() { form_.mnuMidiBaseLineVolume_Click(); }
void QtMainWindow::mnuMidiBaseLineInstrument_Click() { form_.mnuMidiBaseLineInstrument_Click(); }
void QtMainWindow::mnuMidiRow1Volume_Click() { form_.mnuMidiRow1Volume_Click(); }
void QtMainWindow::mnuMidiRow1Instrument_Click() { form_.mnuMidiRow1Instrument_Click(); }
void QtMainWindow::mnuMidiRow2Volume_Click() { form_.mnuMidiRow2Volume_Click(); }
void QtMainWindow::mnuMidiRow2Instrument_Click() { form_.mnuMidiRow2Instrument_Click(); }
void QtMainWindow::mnuMidiRow3Volume_Click() { form_.mnuMidiRow3Volume_Click(); }
void QtMainWindow::mnuMidiRow3Instrument_Click() { form_.mnuMidiRow3Instrument_Click(); }
void QtMainWindow::mnuMidiFallingVolume_Click() { form_.mnuMidiFallingVolume_Click(); }
void QtMainWindow::mnuMidiFallingInstrument_Click() { form_.mnuMidiFallingInstrument_Click(); }
void QtMainWindow::mnuMidiFallingNoteMovementSound_Click() {
  form_.mnuMidiFallingNoteMovementSound_Click();
}
void QtMainWindow::mnuMidiEffectVolume_Click() { form_.mnuMidiEffectVolume_Click(); }
void QtMainWindow::mnuMidiEffectInstrument_Click() { form_.mnuMidiEffectInstrument_Click(); }
void QtMainWindow::mnuMidiKeyboardScaling_Click() { form_.mnuMidiKeyboardScaling_Click(); }
void QtMainWindow::mnuMidiBackToDefault_Click() { form_.mnuMidiBackToDefault_Click(); }
void QtMainWindow::mnuHelpInstructions_Click() { form_.mnuHelpInstructions_Click(); }
void QtMainWindow::mnuHelpAbout_Click() { form_.mnuHelpAbout_Click(); }

}  // namespace kadeno
