// How a Bevelo button shows itself to assistive technology: a push button
// named by its live caption, described by its layout name, with a Press
// action that queues the click (a click that opens a modal prompt must not
// hold the caller until the prompt closes).
#pragma once

#include <QAccessibleWidget>

class Bevelo;

// QAccessibleWidget is already an action interface; only its actions change.
class BeveloAccessible : public QAccessibleWidget {
  public:
    explicit BeveloAccessible(Bevelo* control);

    QString text(QAccessible::Text t) const override;
    QAccessible::State state() const override;

    QStringList actionNames() const override;
    void doAction(const QString& actionName) override;
    QStringList keyBindingsForAction(const QString& actionName) const override;

  private:
    Bevelo* control() const;
};

namespace bevelo {
// Installs the factory that gives every Bevelo its accessible interface; the
// control calls it on construction, repeated calls do nothing.
void installAccessibleFactory();
// Sends an accessibility event of a control to assistive technology, and to
// the observer when one is set. Qt drops events while no assistive technology
// is active (always so on the offscreen platform); the observer still sees
// them, so tests can check what the control reports.
using AccessibleEventObserver = void (*)(QAccessibleEvent* event);
AccessibleEventObserver setAccessibleEventObserver(AccessibleEventObserver observer);
void raiseAccessibleEvent(QAccessibleEvent& event);
// The caption as read aloud: "&&" becomes "&", a single "&" marks the access key.
QString captionWithoutMnemonic(const QString& caption);
}  // namespace bevelo
