// The stored properties of one Bevelo button: keyed values with a default on
// every read and on every write. A write whose value equals its write default
// leaves the key out, so a stored layout keeps only what differs; a write
// without a default always stores. Values are kept as JSON: integers and
// colours as 32-bit signed numbers, booleans, strings, an icon as base64 PNG
// bytes (null for no icon) and a font as an object describing it.
#pragma once

#include <QFont>
#include <QImage>
#include <QJsonObject>
#include <QString>
#include <cstdint>
#include <optional>

class BeveloPropertyBag {
  public:
    BeveloPropertyBag() = default;
    explicit BeveloPropertyBag(QJsonObject values) : m_values(std::move(values)) {}

    std::int32_t readInt(const QString& key, std::int32_t readDefault) const;
    bool readBool(const QString& key, bool readDefault) const;
    QString readString(const QString& key, const QString& readDefault) const;
    QImage readImage(const QString& key, const QImage& readDefault) const;
    QFont readFont(const QString& key, const QFont& readDefault) const;

    void writeInt(const QString& key, std::int32_t value, std::optional<std::int32_t> writeDefault);
    void writeBool(const QString& key, bool value, std::optional<bool> writeDefault);
    void writeString(const QString& key, const QString& value, std::optional<QString> writeDefault);
    void writeImage(const QString& key, const QImage& value);  // always stored
    void writeFont(const QString& key, const QFont& value);    // always stored

    bool contains(const QString& key) const { return m_values.contains(key); }
    const QJsonObject& values() const { return m_values; }
    bool operator==(const BeveloPropertyBag& other) const { return m_values == other.m_values; }

    // The font description used in the bag, on its own for other users.
    static QJsonObject describeFont(const QFont& font);
    static QFont fontFromDescription(const QJsonObject& description, const QFont& fallback);

  private:
    QJsonObject m_values;
};
