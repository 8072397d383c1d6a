#include "qt/QtScreenReaderWatch.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusVariant>

namespace kadeno {

namespace {
const QString kService = QStringLiteral("org.a11y.Bus");
const QString kPath = QStringLiteral("/org/a11y/bus");
const QString kProperties = QStringLiteral("org.freedesktop.DBus.Properties");
const QString kStatus = QStringLiteral("org.a11y.Status");
const QString kEnabled = QStringLiteral("ScreenReaderEnabled");
// A bus that has not answered by then counts as one with no screen reader on it.
constexpr int kAnswerTimeoutMs = 3000;
}  // namespace

QtScreenReaderWatch::QtScreenReaderWatch(std::function<void(bool)> running, QObject* parent)
    : QObject(parent), running_(std::move(running)) {
  QDBusConnection bus = QDBusConnection::sessionBus();
  if (!bus.isConnected()) {
    running_(false);
    return;
  }
  bus.connect(kService, kPath, kProperties, QStringLiteral("PropertiesChanged"), this,
              SLOT(PropertiesChanged(QString, QVariantMap, QStringList)));
  Ask();
}

void QtScreenReaderWatch::Ask() {
  QDBusMessage get =
      QDBusMessage::createMethodCall(kService, kPath, kProperties, QStringLiteral("Get"));
  get << kStatus << kEnabled;
  QDBusConnection bus = QDBusConnection::sessionBus();
  auto* call = new QDBusPendingCallWatcher(bus.asyncCall(get, kAnswerTimeoutMs), this);
  connect(call, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* call) {
    const QDBusPendingReply<QDBusVariant> reply = *call;
    running_(reply.isValid() && reply.value().variant().toBool());
    call->deleteLater();
  });
}

void QtScreenReaderWatch::PropertiesChanged(const QString& interface, const QVariantMap& changed,
                                            const QStringList& invalidated) {
  if (interface != kStatus) return;
  const auto it = changed.find(kEnabled);
  if (it != changed.end()) {
    running_(it->toBool());
  } else if (invalidated.contains(kEnabled)) {
    Ask();  // changed without saying to what
  }
}

}  // namespace kadeno
