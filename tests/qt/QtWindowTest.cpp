// The Qt window: the key mapping, the two boxes as a screen reader reads them, the menus
// and their routing, the waits, and the way out through the close box.
#include <QtTest>
#include <QtWidgets>
#include <functional>
#include <sstream>

#include "qt/QtAccessibility.h"
#include "qt/QtKeys.h"
#include "qt/QtMainWindow.h"
#include "qt/QtWindow.h"
#include "shell/MenuTable.h"
#include "support/Harness.h"
#include "support/TestData.h"

using namespace kadeno;

namespace {

// Runs `act` on the modal box once it shows, from inside its own event loop. A box that
// has not shown within 10 s would never be answered: the test ends at once, failed.
void OnNextBox(std::function<void(QWidget*)> act, int triesLeft = 2000) {
  QTimer::singleShot(5, [act, triesLeft] {
    if (QWidget* box = QApplication::activeModalWidget()) {
      act(box);
    } else if (triesLeft > 0) {
      OnNextBox(act, triesLeft - 1);
    } else {
      qFatal("no box showed within 10 s");
    }
  });
}

}  // namespace

class QtWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { InstallBoxAccessibility(); }

  void keysBecomeVirtualKeyCodesWithTheirShiftState() {
    std::istringstream rows{std::string(test::TestData("qt-keys.txt"))};
    std::string line, sequence;
    int keys = 0;
    while (std::getline(rows, line)) {
      if (line.empty() || line[0] == '#') continue;
      int keycode = 0, code = 0, shift = 0;
      std::istringstream(line) >> sequence >> keycode >> code >> shift;
      const QKeyCombination key = QKeySequence::fromString(QString::fromStdString(sequence))[0];
      const auto k = VirtualKeyOf(key.key(), key.keyboardModifiers(), keycode);
      QVERIFY2(k ? k->code == code && k->shift == shift : code < 0, line.c_str());
      ++keys;
    }
    QCOMPARE(keys, 28);
  }

  void messageBoxesAnswerTheirKeysAndAreReadOnce() {
    // {style, keys (each but the last leaves the box open), answer, the default button}
    const std::tuple<int, const char*, Answer, QString> rows[] = {
        {Box::Ok, "\x1b", Answer::Ok, "OK"},
        {Box::OkCancel, "\x1b", Answer::Cancel, "OK"},
        {Box::YesNoCancel + Box::IconQuestion, "\x1b", Answer::Cancel, "Yes"},
        {Box::YesNoCancel, "\r", Answer::Yes, "Yes"},  // Enter pages the help forward
        {Box::YesNoCancel, "n", Answer::No, "Yes"},    // the help promises Y for Yes, N for No
        {Box::YesNoCancel, "y", Answer::Yes, "Yes"},
        // Escape is no answer to a yes-or-no question; the box waits for No.
        {Box::YesNo + Box::IconExclamation, "\x1bn", Answer::No, "Yes"},
    };
    QtWindow window;
    for (const auto& [style, keys, answer, first] : rows) {
      // title, text, default button, role, description, the labels' names. A screen reader
      // reads the text from the label; the same text as the description would be read again.
      QStringList seen;
      bool openUntilTheLastKey = true;
      OnNextBox([&, keys = keys](QWidget* w) {
        auto* box = static_cast<QMessageBox*>(w);
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(box);
        seen << box->windowTitle() << box->text() << box->defaultButton()->text().remove('&')
             << QString::number(a->role()) << a->text(QAccessible::Description);
        for (QLabel* label : box->findChildren<QLabel*>())
          seen << QAccessible::queryAccessibleInterface(label)->text(QAccessible::Name);
        for (const char* key = keys; *key; ++key) {
          openUntilTheLastKey &= box->isVisible();
          QTest::keyClick(box, *key);
        }
      });
      const bool titled = style == Box::Ok;  // "Instructions"; with no title, "Kadeno"
      const auto title = titled ? std::optional<std::string>("Instructions") : std::nullopt;
      QCOMPARE(window.MsgBox("First line\r\nSecond line <b>not bold</b>", style, title), answer);
      QVERIFY(openUntilTheLastKey);
      const QString whole = "First line\nSecond line <b>not bold</b>";
      QVERIFY2(seen.size() > 5 && seen.mid(5).contains(whole), qPrintable(seen.join(" | ")));
      QCOMPARE(seen.first(5), QStringList({titled ? "Instructions" : "Kadeno", whole, first,
                                           QString::number(QAccessible::AlertMessage), ""}));
    }
  }

  void inputBox() {
    const QString prompt = "Drum Volume is now 7 out of 127.  Please enter the New value.";
    // {keys typed into the field, where the offered text is selected; the answer}
    const char* rows[][2] = {{"\r", "100"}, {"42\r", "42"}, {"42\x1b", ""}};
    QtWindow window;
    for (const auto& row : rows) {
      // Title, offered text, the field's name, its label's text, whether the label is the
      // field's own, the box's description: the prompt is said once, with the field.
      QStringList seen;
      OnNextBox([&](QWidget* box) {
        auto* field = box->findChild<QLineEdit*>();
        auto* label = box->findChild<QLabel*>();
        seen << box->windowTitle() << field->text() << field->accessibleName() << label->text()
             << QString::number(label->buddy() == field)
             << QAccessible::queryAccessibleInterface(box)->text(QAccessible::Description);
        QTest::keyClicks(field, row[0]);
      });
      const std::string answer = window.InputBox(prompt.toStdString(), std::nullopt, "100");
      QCOMPARE(QString::fromStdString(answer), row[1]);
      QCOMPARE(seen, QStringList({"Kadeno", "100", prompt, prompt, "1", ""}));
    }
  }

  void waveFilesAreFoundBesideTheProgramOrInItsDataFolder() {
    // {the folders holding TenMore.wav, the folder chosen} for a program in bin.
    const std::pair<QStringList, QString> rows[] = {{{"bin"}, "bin"},
                                                    {{"share/kadeno"}, "share/kadeno"},
                                                    {{"bin", "share/kadeno"}, "bin"},
                                                    {{}, "bin"}};
    for (const auto& [waves, chosen] : rows) {
      QTemporaryDir root;
      for (const QString& folder : waves + QStringList{"bin"})
        QVERIFY(QDir(root.path()).mkpath(folder));
      for (const QString& folder : waves)
        QVERIFY(QFile(root.filePath(folder + "/TenMore.wav")).open(QIODevice::WriteOnly));
      QCOMPARE(QString::fromStdString(WaveFolderFor(root.filePath("bin").toStdString())),
               QDir::cleanPath(root.filePath(chosen)));
    }
  }

  void waitWakesForInputRunsNestedBoxesAndSleepsOutTheRest() {
    test::Harness h;
    QtWindow window;
    QtMainWindow main(h.form, window);
    h.G().FallingColumn = 4;
    int columnSoon = 0;
    bool waiting = false, servedInTheWait = false;
    qint64 boxMs = 0;
    QElapsedTimer clock;
    // 20 ms into a 300 ms wait a key arrives and is served inside it: the probe queued
    // behind it finds the wait running. Event order decides, so a loaded machine cannot fail.
    QTimer::singleShot(20, [&] {
      QCoreApplication::postEvent(&main,
                                  new QKeyEvent(QEvent::KeyPress, Qt::Key_Left, Qt::NoModifier));
      QMetaObject::invokeMethod(
          &main,
          [&] {
            columnSoon = h.G().FallingColumn;
            servedInTheWait = waiting;
          },
          Qt::QueuedConnection);
    });
    // At 100 ms a handler holds a box open for about 150 ms; that time is the handler's.
    QTimer::singleShot(100, [&] {
      QtWindow::Handler handler(window);
      QElapsedTimer held;
      held.start();
      OnNextBox([](QWidget* box) {
        QTimer::singleShot(150, box, [box] { static_cast<QMessageBox*>(box)->accept(); });
      });
      window.MsgBox("Your score is 0", Box::Ok, std::nullopt);
      boxMs = held.elapsed();
    });
    clock.start();
    waiting = true;
    window.WaitMs(300);
    waiting = false;
    const qint64 took = clock.elapsed();
    QCOMPARE(std::pair(columnSoon, servedInTheWait), std::pair(3, true));
    QVERIFY2(boxMs >= 150, qPrintable(QString::number(boxMs)));
    // Only the lower bound: how far a wait overshoots is bench_scan_timing's figure.
    QVERIFY2(took >= 300 + boxMs,
             qPrintable(QString("took %1 ms, box %2 ms").arg(took).arg(boxMs)));
    // With nothing to wake it, a wait is a sleep; the clock counts from 1 (0: "no time yet").
    const int64_t before = window.ClockMs();
    window.WaitMs(40);
    window.WaitMs(-5);
    window.SleepMs(40);
    window.SleepMs(-5);  // nothing, not forever
    const int64_t slept = window.ClockMs() - before;
    QVERIFY2(before >= 1 && slept >= 80 && slept < 60000, qPrintable(QString::number(slept)));
  }

  void menusAreTheTableWithF1AndLiveCaptionsAndF10OpensThemAndAltF4Quits() {
    test::Harness h;
    QtWindow window;
    QtMainWindow main(h.form, window);
    QList<QAction*> bar = main.menuBar()->actions();
    QStringList want, got;
    for (const MenuSpec& m : MainMenus()) {
      want << m.caption;
      for (const MenuItemSpec& i : m.items) want << QString(i.caption) + (i.shortcut ? " F1" : "");
    }
    for (QAction* menu : bar) {
      got << menu->text();
      for (QAction* i : menu->menu()->actions())
        got << i->text() + (i->shortcut().isEmpty() ? "" : " " + i->shortcut().toString());
    }
    QCOMPARE(got, want);
    window.SetMenuCaption(MenuItem::mMidiStereo, "Stereo (off)");
    QCOMPARE(main.findChild<QAction*>("mMidiStereo")->text(), QString("Stereo (off)"));
    main.show();  // F10 opens the bar on File
    QVERIFY(QTest::qWaitForWindowExposed(&main));
    QTest::keyClick(&main, Qt::Key_F10);
    QCOMPARE(main.menuBar()->activeAction(), bar.first());
    // Keys reach the game with their modifiers: Alt+F4 ends it at once, settings saved.
    QVERIFY_THROWS_EXCEPTION(test::ProgramEnded,
                             QTest::keyClick(&main, Qt::Key_F4, Qt::AltModifier));
    QCOMPARE(h.window.writes, 1);
  }

  void menuCommandsRunOnceTheirEventAndAnOpenBoxHaveReturned() {
    test::Harness h;
    QtWindow window;
    QtMainWindow main(h.form, window);
    QAction* stereo = main.findChild<QAction*>("mMidiStereo");
    h.S().Stereo = true;
    h.window.Reply(Answer::Ok, "Kadeno will scan in mono");
    stereo->trigger();
    QCOMPARE(h.form.settings().Stereo, true);  // not yet: queued behind the menu's event
    QCoreApplication::processEvents();
    QCOMPARE(h.form.settings().Stereo, false);
    QCOMPARE(h.window.boxes.size(), size_t{1});

    h.S().Stereo = true;
    h.window.Reply(Answer::Ok, "Kadeno will scan in mono");
    bool ranInsideTheBox = true;
    OnNextBox([&](QWidget* box) {
      stereo->trigger();
      // Closing the box and serving the command's event in the same turn of the loop, as
      // an assistive client's two quick requests arrive.
      static_cast<QMessageBox*>(box)->button(QMessageBox::Ok)->click();
      QTest::qWait(60);
      ranInsideTheBox = !h.form.settings().Stereo;
    });
    window.MsgBox("Last box of some command", Box::Ok, std::nullopt);
    QVERIFY(!ranInsideTheBox);
    QTRY_COMPARE(h.form.settings().Stereo, false);
  }
};

QTEST_MAIN(QtWindowTest)
#include "QtWindowTest.moc"
