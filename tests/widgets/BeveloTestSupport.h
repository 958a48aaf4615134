// Helpers shared by the Bevelo tests: a host that records what the control
// tells it, and a shown window holding controls loaded from a bag.
#pragma once

#include <QApplication>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <memory>

#include "widgets/Bevelo.h"
#include "widgets/BeveloHost.h"
#include "widgets/BeveloPropertyBag.h"

class RecordingHost : public BeveloHost {
  public:
    bool ambientUserMode() const override { return userMode; }
    bool ambientDisplayAsDefault(const Bevelo&) const override { return displayAsDefault; }
    void propertyChanged(Bevelo&, const QString& property) override { changes.append(property); }

    bool userMode = true;
    bool displayAsDefault = false;
    QStringList changes;
};

// A top-level window, shown offscreen, with one stored (loaded) Bevelo.
struct ShownBevelo {
    explicit ShownBevelo(BeveloHost* host = nullptr, const BeveloPropertyBag& bag = {}) {
        window = std::make_unique<QWidget>();
        window->resize(300, 200);
        button = new Bevelo(QStringLiteral("Bevelo1"), window.get(), host);
        button->setGeometry(20, 20, 120, 30);
        button->loadProperties(bag);
        window->show();
        QApplication::processEvents();
    }
    std::unique_ptr<QWidget> window;
    Bevelo* button = nullptr;
};
