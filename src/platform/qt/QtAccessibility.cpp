#include "qt/QtAccessibility.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <cstdlib>

#include "qt/QtBoxes.h"

namespace kadeno {

void TurnOnAccessibilityBridge() {
  // Qt reads this when its platform integration starts and then connects to the
  // accessibility bus whether or not the desktop says a screen reader is running. A
  // player's own setting wins (0 would still leave the bridge to the desktop's word).
  setenv("QT_LINUX_ACCESSIBILITY_ALWAYS_ON", "1", 0);
}

namespace {

// A message box is an alert: a screen reader names it by its title and reads its text from
// the box's label. The text is not repeated as the alert's description, or it is read twice.
class AlertAccessible : public QAccessibleWidget {
 public:
  explicit AlertAccessible(QtMessageBox* box) : QAccessibleWidget(box, QAccessible::AlertMessage) {}
};

QAccessibleInterface* BoxAccessibleFactory(const QString& /*className*/, QObject* object) {
  if (auto* box = qobject_cast<QtMessageBox*>(object)) return new AlertAccessible(box);
  return nullptr;
}

}  // namespace

void InstallBoxAccessibility() {
  static bool installed = false;
  if (installed) return;
  installed = true;
  QAccessible::installFactory(BoxAccessibleFactory);
}

}  // namespace kadeno
