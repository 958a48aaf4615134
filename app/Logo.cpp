#include "app/Logo.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QtMath>

#include "widgets/Fonts.h"

QPixmap drawLogo(QSize size, qreal devicePixelRatio) {
    QPixmap pixmap(size * devicePixelRatio);
    pixmap.setDevicePixelRatio(devicePixelRatio);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r(QPointF(0, 0), QSizeF(size));

    QLinearGradient sky(r.topLeft(), r.bottomLeft());
    sky.setColorAt(0, QColor(0x1F, 0x4E, 0x79));
    sky.setColorAt(1, QColor(0x0B, 0x25, 0x3D));
    p.fillRect(r, sky);

    // Dial with a needle, on the left.
    const qreal d = r.height() * 0.62;
    const QRectF dial(r.left() + r.height() * 0.12, r.center().y() - d / 2, d, d);
    p.setPen(QPen(QColor(0xE8, 0xF1, 0xF8), 2));
    p.setBrush(QColor(0x2E, 0x75, 0xB6));
    p.drawEllipse(dial);
    p.setPen(QPen(QColor(0xE8, 0xF1, 0xF8), 1.2));
    for (int i = 0; i <= 8; ++i) {
        const qreal a = qDegreesToRadians(210.0 - i * 30.0);
        const QPointF c = dial.center();
        const qreal r1 = d * 0.40, r2 = d * 0.47;
        p.drawLine(c + QPointF(r1 * qCos(a), -r1 * qSin(a)),
                   c + QPointF(r2 * qCos(a), -r2 * qSin(a)));
    }
    const qreal needle = qDegreesToRadians(60.0);
    p.setPen(QPen(QColor(0xFF, 0xC0, 0x00), 2.2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(dial.center(),
               dial.center() + QPointF(d * 0.36 * qCos(needle), -d * 0.36 * qSin(needle)));
    p.setBrush(QColor(0xFF, 0xC0, 0x00));
    p.drawEllipse(dial.center(), 2.5, 2.5);

    // Name and line, on the right.
    const QRectF textArea(dial.right() + 6, r.top(), r.right() - dial.right() - 8, r.height());
    QFont name = layoutFont(QStringLiteral("Verdana"), 11);
    name.setBold(true);
    p.setFont(name);
    p.setPen(Qt::white);
    p.drawText(textArea.adjusted(0, 0, 0, -r.height() * 0.22), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("Meter"));
    p.drawText(textArea.adjusted(0, r.height() * 0.22, 0, 0), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("Bench"));
    QFont small = layoutFont(QStringLiteral("Verdana"), 6);
    p.setFont(small);
    p.setPen(QColor(0xBD, 0xD7, 0xEE));
    p.drawText(textArea.adjusted(0, 0, 0, -4), Qt::AlignLeft | Qt::AlignBottom,
               QStringLiteral("CJ/T 188 · M-Bus"));
    return pixmap;
}
