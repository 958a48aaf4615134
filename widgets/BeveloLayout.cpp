#include "widgets/BeveloLayout.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QWidget>

#include "widgets/Bevelo.h"

namespace bevelo {

namespace {

bool parseEntry(const QJsonValue& value, BeveloLayoutEntry& entry, QString& why) {
    if (!value.isObject()) {
        why = QStringLiteral("entry is not an object");
        return false;
    }
    const QJsonObject o = value.toObject();
    entry.name = o.value(QStringLiteral("name")).toString();
    entry.container = o.value(QStringLiteral("container")).toString();
    if (entry.name.isEmpty() || entry.container.isEmpty()) {
        why = QStringLiteral("entry without a name or container");
        return false;
    }
    const QJsonArray r = o.value(QStringLiteral("twips")).toArray();
    if (r.size() != 4 || !r[0].isDouble() || !r[1].isDouble() || !r[2].isDouble() ||
        !r[3].isDouble()) {
        why = QStringLiteral("%1: \"twips\" must be [left, top, width, height]").arg(entry.name);
        return false;
    }
    entry.twips = QRect(r[0].toInt(), r[1].toInt(), r[2].toInt(), r[3].toInt());
    const QJsonValue bag = o.value(QStringLiteral("bag"));
    if (!bag.isObject()) {
        why = QStringLiteral("%1: \"bag\" must be an object").arg(entry.name);
        return false;
    }
    entry.bag = BeveloPropertyBag(bag.toObject());
    return true;
}

}  // namespace

QRect twipsToPixels(const QRect& t) {
    auto px = [](int twips) { return qRound(twips / double(kTwipsPerPixel)); };
    return QRect(px(t.x()), px(t.y()), px(t.width()), px(t.height()));
}

QRect pixelsToTwips(const QRect& p) {
    return QRect(p.x() * kTwipsPerPixel, p.y() * kTwipsPerPixel, p.width() * kTwipsPerPixel,
                 p.height() * kTwipsPerPixel);
}

QList<BeveloLayoutEntry> parseButtonLayout(const QByteArray& json, QString* error) {
    auto fail = [error](const QString& why) {
        if (error) *error = why;
        return QList<BeveloLayoutEntry>{};
    };
    QJsonParseError parseError{};
    const QJsonDocument doc = QJsonDocument::fromJson(json, &parseError);
    if (parseError.error != QJsonParseError::NoError)
        return fail(QStringLiteral("not JSON at offset %1: %2")
                        .arg(parseError.offset)
                        .arg(parseError.errorString()));
    const QJsonValue buttons = doc.object().value(QStringLiteral("buttons"));
    if (!buttons.isArray()) return fail(QStringLiteral("no \"buttons\" list"));
    QList<BeveloLayoutEntry> entries;
    for (const QJsonValue& v : buttons.toArray()) {
        BeveloLayoutEntry entry;
        QString why;
        if (!parseEntry(v, entry, why)) return fail(why);
        entries.append(std::move(entry));
    }
    if (error) error->clear();
    return entries;
}

QList<BeveloLayoutEntry> loadButtonLayout(const QString& path, QString* error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error) *error = QStringLiteral("cannot read %1: %2").arg(path, file.errorString());
        return {};
    }
    return parseButtonLayout(file.readAll(), error);
}

QByteArray serializeButtonLayout(const QList<BeveloLayoutEntry>& entries) {
    QJsonArray buttons;
    for (const auto& e : entries) {
        QJsonObject o;
        o.insert(QStringLiteral("name"), e.name);
        o.insert(QStringLiteral("container"), e.container);
        o.insert(QStringLiteral("twips"),
                 QJsonArray{e.twips.x(), e.twips.y(), e.twips.width(), e.twips.height()});
        o.insert(QStringLiteral("bag"), e.bag.values());
        buttons.append(o);
    }
    QJsonObject root;
    root.insert(QStringLiteral("buttons"), buttons);
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

Bevelo* createButton(const BeveloLayoutEntry& entry, QWidget* container, BeveloHost* host) {
    auto* button = new Bevelo(entry.name, container, host);
    button->setGeometry(twipsToPixels(entry.twips));
    button->loadProperties(entry.bag);
    return button;
}

QList<Bevelo*> createButtons(const QList<BeveloLayoutEntry>& entries,
                             const std::function<QWidget*(const QString&)>& containerFor,
                             BeveloHost* host, QStringList* missing) {
    QList<Bevelo*> buttons;
    for (const auto& entry : entries) {
        QWidget* container = containerFor(entry.container);
        if (!container) {
            if (missing) missing->append(entry.name);
            continue;
        }
        buttons.append(createButton(entry, container, host));
    }
    return buttons;
}

BeveloLayoutEntry captureButton(const Bevelo& button, const QString& container) {
    BeveloLayoutEntry entry;
    entry.name = button.objectName();
    entry.container = container;
    entry.twips = pixelsToTwips(button.geometry());
    button.saveProperties(entry.bag);
    return entry;
}

}  // namespace bevelo
