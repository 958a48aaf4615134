#include "app/WindowResize.h"

#include <QEvent>
#include <QWidget>
#include <algorithm>

WindowResize::WindowResize(QWidget* window)
    : QObject(window), window_(window), designedSize_(window->size()) {
    // Every one of them grows to the right by the extra width.
    static const struct {
        const char* layoutName;
        Vertical vertical;
    } rules[] = {
        {"mainpage", Vertical::growsAll},
        {"CJ188", Vertical::stays},
        {"Frame1", Vertical::stays},  // CJ188's Transmitted Data
        {"RichTextBox1", Vertical::stays},
        {"EN1434", Vertical::stays},
        {"Frame8", Vertical::stays},  // EN1434's Transmitted Data
        {"RichTextBox4", Vertical::stays},
        {"Frame9", Vertical::growsReceived},
        {"RichTextBox2", Vertical::growsReceived},
        {"Frame2", Vertical::analysisBelowReceived},
        {"RichTextBox3", Vertical::growsAnalysis},
    };
    for (const auto& rule : rules) {
        auto* widget = window->findChild<QWidget*>(QString::fromLatin1(rule.layoutName));
        if (widget) growing_.push_back({widget, widget->geometry(), rule.vertical});
    }
    if (auto* main = window->findChild<QWidget*>(QStringLiteral("mainpage"))) mainPanel_ = main->geometry();
    window->installEventFilter(this);
}

void WindowResize::apply(QSize size) {
    const int extraWidth = std::max(0, size.width() - designedSize_.width());
    const int dy = std::max(0, size.height() - designedSize_.height());
    // The readings are watched in Data Analysis: it takes 2/3 of the extra height.
    const int receivedDy = dy / 3;
    const int analysisDy = dy - receivedDy;
    int paneWidth = 0;
    if (sidePane_ && sidePane_->isVisible()) {
        paneWidth = extraWidth <= sidePaneMinWidth_ ? extraWidth
                                                     : sidePaneMinWidth_ + (extraWidth - sidePaneMinWidth_) / 2;
        const int gap = 3;
        sidePane_->setGeometry(mainPanel_.right() + 1 + extraWidth - paneWidth + gap, mainPanel_.top(),
                               std::max(0, paneWidth - gap), mainPanel_.height() + dy);
    }
    const int dx = extraWidth - paneWidth;
    for (const Growing& g : growing_) {
        QRect r = g.designed;
        r.setWidth(r.width() + dx);
        switch (g.vertical) {
            case Vertical::stays:
                break;
            case Vertical::growsAll:
                r.setHeight(r.height() + dy);
                break;
            case Vertical::growsReceived:
                r.setHeight(r.height() + receivedDy);
                break;
            case Vertical::growsAnalysis:
                r.setHeight(r.height() + analysisDy);
                break;
            case Vertical::analysisBelowReceived:
                r.translate(0, receivedDy);
                r.setHeight(r.height() + analysisDy);
                break;
        }
        g.widget->setGeometry(r);
    }
}

bool WindowResize::eventFilter(QObject* watched, QEvent* event) {
    if (watched == window_ && event->type() == QEvent::Resize) apply(window_->size());
    return QObject::eventFilter(watched, event);
}
