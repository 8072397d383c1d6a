#include "qt/QtMainWindow.h"

#include <QAction>
#include <QCloseEvent>
#include <QFont>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QTimer>

#include "qt/QtKeys.h"
#include "qt/QtWindow.h"
#include "seams/Translate.h"
#include "shell/MainForm.h"
#include "shell/MenuTable.h"

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

}  // namespace

QtMainWindow::QtMainWindow(MainForm& form, QtWindow& window) : form_(form), window_(window) {
  setObjectName(QStringLiteral("MainForm"));
  // TRANSLATORS: The main window's title.
  setWindowTitle(QString::fromStdString(Tr("Kadeno: Musical Tumbla")));
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

  auto* from = new QLabel(
      // TRANSLATORS: A word on the main window under the game's name, before the maker's.
      QString::fromStdString(Tr("from")), client);
  from->setObjectName(QStringLiteral("lblFrom"));
  from->setFont(TitleFont(21.75));
  from->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  from->setGeometry(Px(1680), Px(1680), Px(1215), Px(615));

  setCentralWidget(client);
}

void QtMainWindow::BuildMenus() {
  // In the window, not exported to a desktop-wide menu bar: a screen reader finds the
  // menus where the keyboard reaches them.
  menuBar()->setNativeMenuBar(false);
  for (const MenuSpec& m : MainMenus()) {
    QMenu* menu = menuBar()->addMenu(QString::fromStdString(Tr(m.caption)));
    menu->setObjectName(QString::fromUtf8(m.name));
    for (const MenuItemSpec& i : m.items) {
      QAction* action = menu->addAction(QString::fromStdString(Tr(i.caption)));
      action->setObjectName(QString::fromUtf8(i.name));
      if (i.shortcut >= Key::F1 && i.shortcut < Key::F1 + 12) {
        action->setShortcut(QKeySequence(Qt::Key_F1 + (i.shortcut - Key::F1)));
      }
      if (i.live) window_.RegisterMenuItem(*i.live, action);
      const Command command = i.command;
      connect(action, &QAction::triggered, this, [this, command] { RunWhenFree(command); });
    }
  }
}

void QtMainWindow::RunWhenFree(Command command) {
  // A command runs after the menu has closed and its event has returned: a game runs
  // inside its command for minutes, and neither the menu nor an assistive client that
  // chose the item should wait that long for the choice to be acknowledged. And it waits
  // for any box to be gone: an item chosen (by an assistive client) while the last box
  // of the previous command is closing must not run inside that command's tail.
  QTimer::singleShot(window_.BoxesOpen() > 0 ? 20 : 0, this, [this, command] {
    if (window_.BoxesOpen() > 0) {
      RunWhenFree(command);
    } else {
      QtWindow::Handler timed(window_);
      (form_.*command)();
    }
  });
}

void QtMainWindow::keyPressEvent(QKeyEvent* event) {
  // F1 normally never arrives here: the Instructions shortcut takes it. When the shortcut
  // does not fire, the key handler's own F1 shows the help instead, so it shows once.
  if (auto key = VirtualKeyOf(event->key(), event->modifiers(), event->nativeScanCode())) {
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
  // saved and its device closed by the first of the two handlers above.
  form_.window().EndProgram();
}

}  // namespace kadeno
