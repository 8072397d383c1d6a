// The Qt window under test: the key mapping, the semantics of the two boxes, the menus
// and their routing, and the way out through the close box.
#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <functional>

#include "shell/MainForm.h"
#include "shell/QtAccessibility.h"
#include "shell/QtBoxes.h"
#include "shell/QtKeys.h"
#include "shell/QtMainWindow.h"
#include "shell/QtWindow.h"
#include "support/Harness.h"

using namespace kadeno;

namespace {

// Runs `act` on the modal box once it shows, from inside its own event loop.
void OnNextBox(std::function<void(QWidget*)> act, int triesLeft = 200) {
  QTimer::singleShot(5, [act, triesLeft] {
    if (QWidget* box = QApplication::activeModalWidget()) {
      act(box);
    } else if (triesLeft > 0) {
      OnNextBox(act, triesLeft - 1);
    }
  });
}

QPushButton* ButtonOf(QWidget* box, QMessageBox::StandardButton which) {
  return static_cast<QPushButton*>(static_cast<QMessageBox*>(box)->button(which));
}

// The main window, with its close handler reachable from the test.
class OpenMainWindow : public QtMainWindow {
 public:
  using QtMainWindow::closeEvent;
  using QtMainWindow::QtMainWindow;
};

}  // namespace

class QtWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { InstallBoxAccessibility(); }

  void keysBecomeVirtualKeyCodes_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<int>("code");  // -1: no code
    QTest::addColumn<int>("shift");
    const int none = Qt::NoModifier;
    QTest::newRow("letter") << int(Qt::Key_P) << none << 80 << 0;
    QTest::newRow("shifted letter") << int(Qt::Key_S) << int(Qt::ShiftModifier) << 83 << 1;
    QTest::newRow("ctrl") << int(Qt::Key_S) << int(Qt::ControlModifier) << 83 << 2;
    QTest::newRow("alt+f4") << int(Qt::Key_F4) << int(Qt::AltModifier) << 115 << 4;
    QTest::newRow("all three") << int(Qt::Key_Z)
                               << int(Qt::AltModifier | Qt::ShiftModifier | Qt::ControlModifier)
                               << 90 << 7;
    QTest::newRow("escape") << int(Qt::Key_Escape) << none << 27 << 0;
    QTest::newRow("space") << int(Qt::Key_Space) << none << 32 << 0;
    QTest::newRow("left") << int(Qt::Key_Left) << none << 37 << 0;
    QTest::newRow("up") << int(Qt::Key_Up) << none << 38 << 0;
    QTest::newRow("right") << int(Qt::Key_Right) << none << 39 << 0;
    QTest::newRow("down") << int(Qt::Key_Down) << none << 40 << 0;
    QTest::newRow("keypad down") << int(Qt::Key_Down) << int(Qt::KeypadModifier) << 40 << 0;
    QTest::newRow("f1") << int(Qt::Key_F1) << none << 112 << 0;
    QTest::newRow("f12") << int(Qt::Key_F12) << none << 123 << 0;
    QTest::newRow("digit") << int(Qt::Key_7) << none << 55 << 0;
    QTest::newRow("keypad digit") << int(Qt::Key_7) << int(Qt::KeypadModifier) << 103 << 0;
    QTest::newRow("plus off the keypad") << int(Qt::Key_Plus) << none << -1 << 0;
    QTest::newRow("accented letter") << int(Qt::Key_Eacute) << none << -1 << 0;
  }
  void keysBecomeVirtualKeyCodes() {
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(int, code);
    QFETCH(int, shift);
    const auto k = VirtualKeyOf(key, Qt::KeyboardModifiers(modifiers));
    if (code < 0) {
      QVERIFY(!k.has_value());
      return;
    }
    QVERIFY(k.has_value());
    QCOMPARE(k->code, code);
    QCOMPARE(k->shift, shift);
  }

  void messageBoxes_data() {
    QTest::addColumn<int>("style");
    QTest::addColumn<QString>("press");  // a key name or a button
    QTest::addColumn<int>("answer");
    QTest::addColumn<QString>("defaultButton");
    QTest::newRow("ok, escape") << Box::Ok << "Escape" << int(Answer::Ok) << "OK";
    QTest::newRow("ok/cancel, escape") << Box::OkCancel << "Escape" << int(Answer::Cancel) << "OK";
    QTest::newRow("ok/cancel, enter") << Box::OkCancel << "Enter" << int(Answer::Ok) << "OK";
    QTest::newRow("yes/no/cancel, escape")
        << (Box::YesNoCancel + Box::IconQuestion) << "Escape" << int(Answer::Cancel) << "Yes";
    QTest::newRow("yes/no/cancel, enter")
        << (Box::YesNoCancel + Box::IconInformation) << "Enter" << int(Answer::Yes) << "Yes";
    QTest::newRow("yes/no/cancel, no") << Box::YesNoCancel << "No" << int(Answer::No) << "Yes";
    // Escape is no answer to a yes-or-no question; the box waits for No.
    QTest::newRow("yes/no, escape then no")
        << (Box::YesNo + Box::IconExclamation) << "Escape,No" << int(Answer::No) << "Yes";
    QTest::newRow("yes/no, enter") << Box::YesNo << "Enter" << int(Answer::Yes) << "Yes";
    // The help's first page promises Y for Yes and N for No.
    QTest::newRow("yes/no/cancel, letter n") << Box::YesNoCancel << "n" << int(Answer::No) << "Yes";
    QTest::newRow("yes/no/cancel, letter y")
        << Box::YesNoCancel << "y" << int(Answer::Yes) << "Yes";
  }
  void messageBoxes() {
    QFETCH(int, style);
    QFETCH(QString, press);
    QFETCH(int, answer);
    QFETCH(QString, defaultButton);
    QtWindow window;
    bool seen = false;
    bool stillOpenAfterEscape = false;
    OnNextBox([&](QWidget* w) {
      seen = true;
      auto* box = static_cast<QMessageBox*>(w);
      QCOMPARE(box->defaultButton()->text().remove('&'), defaultButton);
      for (const QString& step : press.split(',')) {
        if (step == "Escape") {
          QTest::keyClick(box, Qt::Key_Escape);
          stillOpenAfterEscape = box->isVisible();
        } else if (step == "Enter") {
          QTest::keyClick(box, Qt::Key_Return);
        } else if (step.size() == 1) {
          QTest::keyClick(box, step[0].toLatin1());
        } else {
          ButtonOf(box, QMessageBox::No)->click();
        }
      }
    });
    const Answer got = window.MsgBox("Question", style, std::nullopt);
    QVERIFY(seen);
    QCOMPARE(int(got), answer);
    if (press == "Escape,No") QVERIFY(stillOpenAfterEscape);
  }

  void messageBoxIsAnAlertWithItsWholeText() {
    QtWindow window;
    OnNextBox([](QWidget* w) {
      auto* box = static_cast<QMessageBox*>(w);
      QCOMPARE(box->windowTitle(), QString("Kadeno"));
      QCOMPARE(box->text(), QString("First line\nSecond line <b>not bold</b>"));
      QAccessibleInterface* a = QAccessible::queryAccessibleInterface(box);
      QVERIFY(a);
      QCOMPARE(a->role(), QAccessible::AlertMessage);
      QCOMPARE(a->text(QAccessible::Description), box->text());
      // What a screen reader reads out: the label named by the whole text.
      bool labelFound = false;
      for (QLabel* label : box->findChildren<QLabel*>()) {
        QAccessibleInterface* l = QAccessible::queryAccessibleInterface(label);
        if (l && l->text(QAccessible::Name) == box->text()) labelFound = true;
      }
      QVERIFY(labelFound);
      box->button(QMessageBox::Ok)->click();
    });
    window.MsgBox("First line\r\nSecond line <b>not bold</b>", Box::Ok, std::nullopt);

    OnNextBox([](QWidget* w) {
      QCOMPARE(w->windowTitle(), QString("Instructions"));
      static_cast<QMessageBox*>(w)->button(QMessageBox::Ok)->click();
    });
    window.MsgBox("Page", Box::Ok, std::string("Instructions"));
  }

  void inputBox_data() {
    QTest::addColumn<QString>("typed");  // empty: keep the offered text
    QTest::addColumn<bool>("cancel");
    QTest::addColumn<QString>("result");
    QTest::newRow("offered text") << "" << false << "100";
    QTest::newRow("typed over it") << "42" << false << "42";
    QTest::newRow("cancel") << "42" << true << "";
  }
  void inputBox() {
    QFETCH(QString, typed);
    QFETCH(bool, cancel);
    QFETCH(QString, result);
    QtWindow window;
    const std::string prompt = "Drum Volume is now 7 out of 127.  Please enter the New value.";
    OnNextBox([&](QWidget* box) {
      QCOMPARE(box->windowTitle(), QString("Kadeno"));
      auto* field = box->findChild<QLineEdit*>();
      QVERIFY(field);
      QCOMPARE(field->text(), QString("100"));
      QCOMPARE(field->accessibleName(), QString::fromStdString(prompt));
      if (!typed.isEmpty()) {
        // The offered text is selected, so typing replaces it.
        QTest::keyClicks(field, typed);
      }
      QTest::keyClick(field, cancel ? Qt::Key_Escape : Qt::Key_Return);
    });
    QCOMPARE(QString::fromStdString(window.InputBox(prompt, std::nullopt, "100")), result);
  }

  void waveFilesAreFoundBesideTheProgramOrInItsDataFolder_data() {
    QTest::addColumn<QStringList>("waves");  // where TenMore.wav lies, under the root
    QTest::addColumn<QString>("found");
    QTest::newRow("build tree") << QStringList{"bin"} << "bin";
    QTest::newRow("installed") << QStringList{"share/kadeno"} << "share/kadeno";
    QTest::newRow("both: beside wins") << QStringList{"bin", "share/kadeno"} << "bin";
    QTest::newRow("neither: beside") << QStringList{} << "bin";
  }
  void waveFilesAreFoundBesideTheProgramOrInItsDataFolder() {
    QFETCH(QStringList, waves);
    QFETCH(QString, found);
    QTemporaryDir root;
    QVERIFY(QDir(root.path()).mkpath("bin"));
    for (const QString& folder : waves) {
      QVERIFY(QDir(root.path()).mkpath(folder));
      QFile wave(root.filePath(folder + "/TenMore.wav"));
      QVERIFY(wave.open(QIODevice::WriteOnly));
    }
    QCOMPARE(QString::fromStdString(WaveFolderFor(root.filePath("bin").toStdString())),
             QDir::cleanPath(root.filePath(found)));
  }

  void clockCountsMillisecondsAndSleepBlocks() {
    QtWindow window;
    const int64_t before = window.ClockMs();
    QVERIFY(before >= 1);  // 0 means "no time taken yet" to the scan
    window.SleepMs(40);
    window.SleepMs(-5);  // nothing, not forever
    const int64_t slept = window.ClockMs() - before;
    QVERIFY2(slept >= 40 && slept < 1000, qPrintable(QString::number(slept)));
  }

  void windowHasItsFixedContents() {
    test::Harness h;
    QtWindow window;
    QtMainWindow main(h.form, window);
    QCOMPARE(main.windowTitle(), QString("Kadeno: Musical Tumbla"));
    QCOMPARE(main.centralWidget()->size(), QSize(310, 286));
    auto* title = main.findChild<QLabel*>("lblTitle");
    auto* from = main.findChild<QLabel*>("lblFrom");
    QVERIFY(title && from);
    QCOMPARE(title->text(), QString("Kadeno"));
    QCOMPARE(from->text(), QString("from"));
    QCOMPARE(title->font().pointSizeF(), 48.0);
    QCOMPARE(from->font().pointSizeF(), 21.75);
    QVERIFY(title->font().bold() && title->font().italic());
    QVERIFY(from->font().bold() && from->font().italic());
    QVERIFY(from->alignment() & Qt::AlignRight);
    QCOMPARE(title->geometry(), QRect(40, 16, 217, 81));
    QCOMPARE(from->geometry(), QRect(112, 112, 81, 41));
  }

  void menusInOrderWithTheirCaptions() {
    test::Harness h;
    QtWindow window;
    QtMainWindow main(h.form, window);
    QStringList got;
    for (QAction* top : main.menuBar()->actions()) {
      got << top->text();
      for (QAction* item : top->menu()->actions()) got << "  " + item->text();
    }
    const QStringList expected = {"&File",
                                  "  &Start Game",
                                  "  Set &Difficulty",
                                  "  &Hall Of Fame",
                                  "  E&xit",
                                  "&Program",
                                  "  &Uninstall Kadeno",
                                  "&Midi",
                                  "  Stereo (on)",
                                  "  Set Stereo Width",
                                  "  Set Stereo Curve",
                                  "  Set Stereo Balance",
                                  "  Drum Volume",
                                  "  BaseLine Volume",
                                  "  BaseLine Instrument",
                                  "  Row 1 Volume",
                                  "  Row 1 Instrument",
                                  "  Row 2 Volume",
                                  "  Row 2 Instrument",
                                  "  Row 3 Volume",
                                  "  Row 3 Instrument",
                                  "  Falling Note Volume",
                                  "  Falling Note Instrument",
                                  "  Falling Note Movement Sound (Note)",
                                  "  Special Effect Volume",
                                  "  Special Effect Instrument",
                                  "  Keyboard Scaling",
                                  "  Set Midi Back to Default",
                                  "&Help",
                                  "  &Instructions",
                                  "  &About"};
    QCOMPARE(got, expected);
    for (QAction* a : main.findChildren<QAction*>()) {
      const bool isInstructions = a->objectName() == "mnuHelpInstructions";
      QCOMPARE(a->shortcut(), isInstructions ? QKeySequence(Qt::Key_F1) : QKeySequence());
      QVERIFY(!a->isChecked() && a->isEnabled() && a->isVisible());
    }
    // Screen readers read the caption without its access-letter mark.
    QAccessibleInterface* bar = QAccessible::queryAccessibleInterface(main.menuBar());
    QVERIFY(bar && bar->childCount() == 4);
    QCOMPARE(bar->child(0)->text(QAccessible::Name), QString("File"));
  }

  void menuCommandsRunOnceTheirEventHasReturned() {
    test::Harness h;
    QtWindow window;
    QtMainWindow main(h.form, window);
    h.form.settings.Stereo = true;
    h.window.Reply(Answer::Ok, "Kadeno will scan in mono");
    main.findChild<QAction*>("mMidiStereo")->trigger();
    QCOMPARE(h.form.settings.Stereo, true);  // not yet: queued behind the menu's event
    QCoreApplication::processEvents();
    QCOMPARE(h.form.settings.Stereo, false);
    QCOMPARE(h.window.boxes.size(), size_t{1});

    // The toggles' captions are rewritten on the menu itself.
    window.SetMenuCaption(MenuItem::mMidiStereo, "Stereo (off)");
    window.SetMenuCaption(MenuItem::mnuMidiFallingNoteMovementSound,
                          "Falling Note Movement Sound (Percussive)");
    QCOMPARE(main.findChild<QAction*>("mMidiStereo")->text(), QString("Stereo (off)"));
    QCOMPARE(main.findChild<QAction*>("mnuMidiFallingNoteMovementSound")->text(),
             QString("Falling Note Movement Sound (Percussive)"));
  }

  void aCommandChosenWhileABoxIsOpenWaitsForIt() {
    test::Harness h;
    QtWindow window;
    QtMainWindow main(h.form, window);
    h.form.settings.Stereo = true;
    h.window.Reply(Answer::Ok, "Kadeno will scan in mono");
    bool ranInsideTheBox = true;
    OnNextBox([&](QWidget* box) {
      main.findChild<QAction*>("mMidiStereo")->trigger();
      // Closing the box and serving the command's event in the same turn of the loop, as
      // an assistive client's two quick requests arrive.
      static_cast<QMessageBox*>(box)->button(QMessageBox::Ok)->click();
      QTest::qWait(60);
      ranInsideTheBox = !h.form.settings.Stereo;
    });
    window.MsgBox("Last box of some command", Box::Ok, std::nullopt);
    QVERIFY(!ranInsideTheBox);
    QTRY_COMPARE(h.form.settings.Stereo, false);
  }

  void keysReachTheGamesKeyHandler() {
    test::Harness h;
    QtWindow window;
    QtMainWindow main(h.form, window);
    h.form.game.FallingColumn = 4;
    QTest::keyClick(&main, Qt::Key_Left);
    QCOMPARE(h.form.game.FallingColumn, 3);
    QTest::keyClick(&main, Qt::Key_Up);
    QCOMPARE(h.form.game.FallingColumn, 4);
    // A lower-case s is the S key: the score is said.
    h.window.Reply(Answer::Ok, "Your score is ");
    QTest::keyClick(&main, 's');
    QCOMPARE(h.window.PendingReplies(), size_t{0});
  }

  void f10OpensTheMenuBar() {
    test::Harness h;
    QtWindow window;
    QtMainWindow main(h.form, window);
    main.show();
    QVERIFY(QTest::qWaitForWindowExposed(&main));
    QTest::keyClick(&main, Qt::Key_F10);
    QVERIFY(main.menuBar()->activeAction());
    QCOMPARE(main.menuBar()->activeAction()->text(), QString("&File"));
  }

  void closingTheWindowSavesClosesAndEnds() {
    test::Harness h;
    h.FactorySound();
    QtWindow window;
    OpenMainWindow main(h.form, window);
    h.form.midi.ChannelNote[Channel::Row1] = 64;
    h.form.midi.ChannelVelocity[Channel::Row1] = 100;
    h.form.SoundChannel(Channel::Row1);
    QCloseEvent close;
    bool ended = false;
    try {
      main.closeEvent(&close);
    } catch (const test::ProgramEnded&) {
      ended = true;
    }
    QVERIFY(ended);
    QVERIFY(close.isAccepted());
    QVERIFY(!h.audio.isOpen);
    QVERIFY(!h.form.midi.NoteSounding[Channel::Row1]);
    QCOMPARE(h.window.files[h.SettingsPath()], FormatSettingsFile(h.form.settings));
  }
};

QTEST_MAIN(QtWindowTest)
#include "QtWindowTest.moc"
