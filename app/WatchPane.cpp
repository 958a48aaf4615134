#include "app/WatchPane.h"

#include <QEvent>
#include <QSplitter>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/HistoryModel.h"
#include "app/HistoryView.h"
#include "app/TrendChart.h"
#include "core/Protocol.h"

WatchPane::WatchPane(QWidget* window, QWidget* toggleHost)
    : QWidget(window), window_(window), toggleHost_(toggleHost) {
    setObjectName(QStringLiteral("WatchPane"));
    setAccessibleName(QStringLiteral("History and Trend"));
    setAccessibleDescription(objectName());
    auto* splitter = new QSplitter(Qt::Vertical, this);
    view_ = new HistoryView(splitter);
    chart_ = new TrendChart(splitter);
    splitter->setChildrenCollapsible(false);
    splitter->setSizes({300, 300});
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(splitter);
    connect(view_, &HistoryView::notice, this, &WatchPane::notice);
    hide();

    toggle_ = new QToolButton(toggleHost);
    toggle_->setObjectName(QStringLiteral("watchToggle"));
    toggle_->setAccessibleName(QStringLiteral("History and Trend"));
    toggle_->setAccessibleDescription(toggle_->objectName());
    toggle_->setAutoRaise(true);
    toggle_->setCheckable(true);
    toggle_->setText(tr("History ▸"));
    toggle_->setToolTip(tr("Show the reading history and trend beside the page"));
    connect(toggle_, &QToolButton::toggled, this, &WatchPane::setShown);
    toggleHost->installEventFilter(this);
    placeToggle();
}

HistoryModel& WatchPane::history(const QString& protocol) {
    HistoryModel*& model = histories_[protocol];
    if (!model) model = new HistoryModel(protocol, this);
    return *model;
}

void WatchPane::add(const mb::ExchangeResult& result, std::chrono::system_clock::time_point time) {
    if (!result.request.protocol) return;
    history(QString::fromLatin1(result.request.protocol->name().data(),
                                static_cast<qsizetype>(result.request.protocol->name().size())))
        .append(result, time);
}

void WatchPane::showProtocol(const QString& protocol) {
    HistoryModel* model = &history(protocol);
    if (view_->history() == model) return;
    view_->setHistory(model);
    chart_->setHistory(model);
}

void WatchPane::setShown(bool shown) {
    if (toggle_->isChecked() != shown) return toggle_->setChecked(shown);  // comes back through toggled
    toggle_->setText(shown ? tr("History ◂") : tr("History ▸"));
    if (shown) {
        const int room = window_->width() - window_->minimumWidth();
        widenedBy_ = 0;
        if (room < kMinWidth && !(window_->windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen))) {
            widenedBy_ = kMinWidth - room;
            window_->resize(window_->width() + widenedBy_, window_->height());
        }
        setVisible(true);
    } else {
        setVisible(false);
        if (widenedBy_ > 0) window_->resize(std::max(window_->minimumWidth(), window_->width() - widenedBy_),
                                            window_->height());
        widenedBy_ = 0;
    }
    emit shownChanged(shown);
}

void WatchPane::placeToggle() {
    const QSize size = toggle_->sizeHint();
    toggle_->setGeometry(toggleHost_->width() - size.width() - 8, 0, size.width(), std::min(size.height(), 18));
}

bool WatchPane::eventFilter(QObject* watched, QEvent* event) {
    if (watched == toggleHost_ && event->type() == QEvent::Resize) placeToggle();
    return QWidget::eventFilter(watched, event);
}
