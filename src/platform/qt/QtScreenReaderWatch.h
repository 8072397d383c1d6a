// Whether a screen reader runs, as the desktop announces it on the accessibility bus
// (org.a11y.Status ScreenReaderEnabled on the session bus's org.a11y.Bus), asked once at
// start and followed through its changes. Nothing here waits for the bus.
#pragma once

#include <QObject>
#include <QStringList>
#include <QVariantMap>
#include <functional>

namespace kadeno {

class QtScreenReaderWatch : public QObject {
  Q_OBJECT

 public:
  // running hears the first answer and then every change. With no session bus, or no
  // accessibility bus on it, the answer is that no screen reader runs.
  explicit QtScreenReaderWatch(std::function<void(bool)> running, QObject* parent = nullptr);

 private slots:
  void PropertiesChanged(const QString& interface, const QVariantMap& changed,
                         const QStringList& invalidated);

 private:
  // Asks the bus for the property; the answer comes to running_ later.
  void Ask();

  std::function<void(bool)> running_;
};

}  // namespace kadeno
