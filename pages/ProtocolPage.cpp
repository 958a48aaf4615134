#include "pages/ProtocolPage.h"

#include <QApplication>
#include <QLineEdit>
#include <QPalette>

#include "core/HexText.h"
#include "core/PaneText.h"
#include "pages/PageHost.h"
#include "widgets/FieldFilter.h"
#include "widgets/Fonts.h"
#include "widgets/LayoutControls.h"

namespace {
const QColor kRunningFieldColor{0x00, 0xFF, 0x00};

void setFieldBase(QLineEdit& field, const QColor& color) {
    QPalette palette = field.palette();
    palette.setColor(QPalette::Base, color);
    field.setPalette(palette);
}
}  // namespace

ProtocolPage::ProtocolPage(PageHost& host) : host_(host) {}

ProtocolPage::~ProtocolPage() = default;

void ProtocolPage::buildCommonControls(QWidget* panel, const QString& frameName,
                                       const QString& fieldName, const QString& secLabelName,
                                       const QString& transmittedFrameName,
                                       const QString& paneName) {
    using namespace layout;
    QGroupBox* reading = makeFrame(panel, frameName, QStringLiteral("Continuous Reading"),
                                   {6840, 240, 3255, 1575});
    intervalField_ =
        makeField(reading, fieldName, QStringLiteral("Sec"), {1560, 720, 855, 375}, 3, "1");
    makeLabel(reading, secLabelName, QStringLiteral("Sec"), {2640, 840, 495, 495},
              fonts::window());
    // Only the interval changes; a running continuous reading goes on with the new period.
    attachFilter(intervalField_, CharTest::Numeric,
                 [this](const QString& t) { timer_.setInterval(intervalMsFromText(t)); });

    QGroupBox* transmitted = makeFrame(panel, transmittedFrameName,
                                       QStringLiteral("Transmitted Data"), {120, 2160, 10215, 735});
    transmittedPane_ = makePane(transmitted, paneName, QStringLiteral("Transmitted Data"),
                                {120, 240, 9975, 375});
}

void ProtocolPage::startContinuousReading() {
    if (!host_.portConnected()) {
        host_.showFailurePrompt();
        return;
    }
    const bool wasRunning = timer_.isEnabled();
    timer_.setEnabled(true);
    setFieldBase(*intervalField_, kRunningFieldColor);
    if (!wasRunning) host_.continuousReadingChanged(*this, true);
}

void ProtocolPage::stopContinuousReading() {
    const bool wasRunning = timer_.isEnabled();
    timer_.setEnabled(false);
    setFieldBase(*intervalField_, QApplication::palette().color(QPalette::Base));
    if (wasRunning) host_.continuousReadingChanged(*this, false);
}

void ProtocolPage::send(int lastIndex, ExchangeOf asExchange) {
    // 1. The pane is reset to one blank, then every byte goes in as "XX ".
    transmittedPane_->setText(QStringLiteral(" "));
    transmittedPane_->appendUtf8(mb::framePaneText(host_.txBuffer(), lastIndex));

    // 2. A closed port is reported, and the sequence goes on.
    if (!host_.portConnected()) host_.showFailurePrompt();

    // 3. The reply to this request starts from empty panes.
    host_.clearReplyPanes();

    // 4. What is sent is the pane read back, not the buffer.
    host_.runExchange(asExchange(mb::paneTextToBytes(transmittedPane_->text().toStdString())));
}

void ProtocolPage::sendOperation(mb::ExchangeRequest request) {
    transmittedPane_->setText(QStringLiteral(" "));
    transmittedPane_->appendUtf8(mb::hexEcho(request.bytes));
    if (!host_.portConnected()) host_.showFailurePrompt();
    host_.clearReplyPanes();
    host_.runExchange(std::move(request));
}

void ProtocolPage::sendWrite(const QString& meter, const QString& change, mb::ExchangeRequest request) {
    if (!host_.portConnected()) {
        host_.showFailurePrompt();
        return;
    }
    if (host_.confirmWrite(meter, change)) sendOperation(std::move(request));
}

void ProtocolPage::sendSequence(std::unique_ptr<mb::ExchangeSequence> sequence, Done done) {
    transmittedPane_->setText(QStringLiteral(" "));
    transmittedPane_->appendUtf8(mb::hexEcho(sequence->first().bytes));
    if (!host_.portConnected()) {
        host_.showFailurePrompt();
        return;
    }
    host_.clearReplyPanes();
    // The pane shows the step on the line: the request now in flight.
    host_.runSequence(std::move(sequence), std::move(done), [this](const mb::ExchangeRequest& step) {
        transmittedPane_->setText(QStringLiteral(" "));
        transmittedPane_->appendUtf8(mb::hexEcho(step.bytes));
    });
}

void ProtocolPage::sendWriteSequence(const QString& meter, const QString& change,
                                     std::unique_ptr<mb::ExchangeSequence> sequence, Done done) {
    if (!host_.portConnected()) {
        host_.showFailurePrompt();
        return;
    }
    if (host_.confirmWrite(meter, change)) sendSequence(std::move(sequence), std::move(done));
}
