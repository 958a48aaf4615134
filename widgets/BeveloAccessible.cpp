#include "widgets/BeveloAccessible.h"

#include <QKeySequence>

#include "widgets/Bevelo.h"

BeveloAccessible::BeveloAccessible(Bevelo* control)
    : QAccessibleWidget(control, QAccessible::Button) {}

Bevelo* BeveloAccessible::control() const {
    return static_cast<Bevelo*>(widget());
}

QString BeveloAccessible::text(QAccessible::Text t) const {
    switch (t) {
        case QAccessible::Name:
            // Always the live caption, so a counter reads its count.
            return bevelo::captionWithoutMnemonic(control()->Caption());
        case QAccessible::Description: {
            const QString explicitDescription = control()->accessibleDescription();
            return explicitDescription.isEmpty() ? control()->objectName() : explicitDescription;
        }
        case QAccessible::Accelerator: {
            const QKeySequence key = QKeySequence::mnemonic(control()->Caption());
            return key.toString(QKeySequence::NativeText);
        }
        default:
            return QAccessibleWidget::text(t);
    }
}

QAccessible::State BeveloAccessible::state() const {
    QAccessible::State s = QAccessibleWidget::state();
    if (control()->ButtonType() == 1) {
        s.checkable = true;
        s.checked = control()->Value();
    }
    s.pressed = control()->visualState() == StatePressed;
    s.hotTracked = control()->visualState() == StateHot;
    return s;
}

QStringList BeveloAccessible::actionNames() const {
    return control()->isEnabled() ? QStringList{pressAction()} : QStringList{};
}

void BeveloAccessible::doAction(const QString& actionName) {
    if (actionName != pressAction() || !control()->isEnabled()) return;
    QMetaObject::invokeMethod(control(), "accessiblePress", Qt::QueuedConnection);
}

QStringList BeveloAccessible::keyBindingsForAction(const QString& actionName) const {
    if (actionName != pressAction()) return {};
    const QString key = text(QAccessible::Accelerator);
    return key.isEmpty() ? QStringList{} : QStringList{key};
}

namespace bevelo {

namespace {
QAccessibleInterface* beveloFactory(const QString& className, QObject* object) {
    if (className != QLatin1String("Bevelo")) return nullptr;
    if (auto* control = qobject_cast<Bevelo*>(object)) return new BeveloAccessible(control);
    return nullptr;
}
}  // namespace

namespace {
AccessibleEventObserver s_observer = nullptr;
}  // namespace

AccessibleEventObserver setAccessibleEventObserver(AccessibleEventObserver observer) {
    const AccessibleEventObserver previous = s_observer;
    s_observer = observer;
    return previous;
}

void raiseAccessibleEvent(QAccessibleEvent& event) {
    if (s_observer) s_observer(&event);
    QAccessible::updateAccessibility(&event);
}

void installAccessibleFactory() {
    static const bool installed = [] {
        QAccessible::installFactory(beveloFactory);
        return true;
    }();
    Q_UNUSED(installed);
}

QString captionWithoutMnemonic(const QString& caption) {
    QString out;
    out.reserve(caption.size());
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] == QLatin1Char('&')) {
            if (i + 1 < caption.size() && caption[i + 1] == QLatin1Char('&')) {
                out += QLatin1Char('&');
                ++i;
            }
            continue;
        }
        out += caption[i];
    }
    return out;
}

}  // namespace bevelo
