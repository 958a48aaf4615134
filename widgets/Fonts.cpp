#include "widgets/Fonts.h"

#include <QStringList>

namespace {

QStringList cjkFamilies() {
    return {QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("WenQuanYi Zen Hei"),
            QStringLiteral("Noto Sans CJK SC"), QStringLiteral("Droid Sans Fallback")};
}

}  // namespace

void installFontSubstitutions() {
    static bool done = false;
    if (done) return;
    done = true;
    const QStringList cjk = cjkFamilies();
    QFont::insertSubstitutions(QStringLiteral("SimSun"), cjk);
    QFont::insertSubstitutions(QStringLiteral("SimHei"), cjk);
    QFont::insertSubstitutions(
        QStringLiteral("Verdana"),
        QStringList{QStringLiteral("DejaVu Sans"), QStringLiteral("Liberation Sans")} + cjk);
    QFont::insertSubstitutions(
        QStringLiteral("Times New Roman"),
        QStringList{QStringLiteral("DejaVu Serif"), QStringLiteral("Liberation Serif")} + cjk);
}

QFont layoutFont(const QString& family, qreal pointSize) {
    installFontSubstitutions();
    QFont font(family);
    font.setPointSizeF(pointSize);
    font.setWeight(QFont::Normal);
    return font;
}
