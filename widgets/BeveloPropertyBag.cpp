#include "widgets/BeveloPropertyBag.h"

#include <QBuffer>
#include <QJsonValue>

namespace {

// JSON keeps numbers as doubles; a stored 32-bit value may have been written
// signed or unsigned, so wrap it back to 32 bits either way.
std::int32_t toInt32(const QJsonValue& value, std::int32_t fallback) {
    if (value.isBool()) return value.toBool() ? -1 : 0;
    if (!value.isDouble()) return fallback;
    const double d = value.toDouble();
    if (d < -2147483648.0 || d > 4294967295.0) return fallback;
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(static_cast<std::int64_t>(d)));
}

}  // namespace

std::int32_t BeveloPropertyBag::readInt(const QString& key, std::int32_t readDefault) const {
    const auto it = m_values.constFind(key);
    return it == m_values.constEnd() ? readDefault : toInt32(*it, readDefault);
}

bool BeveloPropertyBag::readBool(const QString& key, bool readDefault) const {
    const auto it = m_values.constFind(key);
    if (it == m_values.constEnd()) return readDefault;
    if (it->isBool()) return it->toBool();
    if (it->isDouble()) return it->toDouble() != 0.0;
    return readDefault;
}

QString BeveloPropertyBag::readString(const QString& key, const QString& readDefault) const {
    const auto it = m_values.constFind(key);
    if (it == m_values.constEnd()) return readDefault;
    if (it->isString()) return it->toString();
    if (it->isDouble()) return QString::number(it->toDouble());
    return readDefault;
}

QImage BeveloPropertyBag::readImage(const QString& key, const QImage& readDefault) const {
    const auto it = m_values.constFind(key);
    if (it == m_values.constEnd()) return readDefault;
    if (it->isNull()) return QImage();  // stored as "no picture"
    if (!it->isString()) return readDefault;
    QImage image;
    image.loadFromData(QByteArray::fromBase64(it->toString().toLatin1()), "PNG");
    return image;
}

QFont BeveloPropertyBag::readFont(const QString& key, const QFont& readDefault) const {
    const auto it = m_values.constFind(key);
    if (it == m_values.constEnd() || !it->isObject()) return readDefault;
    return fontFromDescription(it->toObject(), readDefault);
}

void BeveloPropertyBag::writeInt(const QString& key, std::int32_t value,
                                 std::optional<std::int32_t> writeDefault) {
    if (writeDefault && *writeDefault == value)
        m_values.remove(key);
    else
        m_values.insert(key, static_cast<qint64>(value));
}

void BeveloPropertyBag::writeBool(const QString& key, bool value,
                                  std::optional<bool> writeDefault) {
    if (writeDefault && *writeDefault == value)
        m_values.remove(key);
    else
        m_values.insert(key, value);
}

void BeveloPropertyBag::writeString(const QString& key, const QString& value,
                                    std::optional<QString> writeDefault) {
    if (writeDefault && *writeDefault == value)
        m_values.remove(key);
    else
        m_values.insert(key, value);
}

void BeveloPropertyBag::writeImage(const QString& key, const QImage& value) {
    if (value.isNull()) {
        m_values.insert(key, QJsonValue::Null);
        return;
    }
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    value.save(&buffer, "PNG");
    m_values.insert(key, QString::fromLatin1(png.toBase64()));
}

void BeveloPropertyBag::writeFont(const QString& key, const QFont& value) {
    m_values.insert(key, describeFont(value));
}

QJsonObject BeveloPropertyBag::describeFont(const QFont& font) {
    QJsonObject d;
    d.insert(QStringLiteral("Name"), font.family());
    d.insert(QStringLiteral("Size"), font.pointSizeF());
    d.insert(QStringLiteral("Weight"), font.weight());
    d.insert(QStringLiteral("Italic"), font.italic());
    d.insert(QStringLiteral("Underline"), font.underline());
    d.insert(QStringLiteral("Strikethrough"), font.strikeOut());
    return d;
}

QFont BeveloPropertyBag::fontFromDescription(const QJsonObject& d, const QFont& fallback) {
    QFont font = fallback;
    if (d.contains(QStringLiteral("Name")))
        font.setFamily(d.value(QStringLiteral("Name")).toString());
    const double size = d.value(QStringLiteral("Size")).toDouble(0.0);
    if (size > 0.0) font.setPointSizeF(size);
    const int weight = d.value(QStringLiteral("Weight")).toInt(0);
    if (weight >= 1 && weight <= 1000) font.setWeight(static_cast<QFont::Weight>(weight));
    font.setItalic(d.value(QStringLiteral("Italic")).toBool(false));
    font.setUnderline(d.value(QStringLiteral("Underline")).toBool(false));
    font.setStrikeOut(d.value(QStringLiteral("Strikethrough")).toBool(false));
    return font;
}
