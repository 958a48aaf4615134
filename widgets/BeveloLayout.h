// The stored layout of a window's Bevelo buttons: for each button its name,
// the name of the container it sits in, its rectangle in twips (left, top,
// width, height, relative to the container; 15 twips per pixel) and its
// property bag as Bevelo::saveProperties writes it.
//
// File format (JSON, keys sorted, four-space indentation):
//   { "buttons": [ { "bag": {...}, "container": "setpage",
//                    "name": "OpenCOomPort", "twips": [1080, 2640, 1335, 375] }, ... ] }
//
// Typical use by a window:
//   initButtonLayoutResource();                       // app/ButtonLayoutResource.h
//   QString error;
//   const auto entries = bevelo::loadButtonLayout(bevelo::kButtonLayoutResource, &error);
//   for (const auto& e : entries) bevelo::createButton(e, containerNamed(e.container));
#pragma once

#include <QByteArray>
#include <QList>
#include <QRect>
#include <QString>
#include <functional>

#include "widgets/BeveloPropertyBag.h"

class Bevelo;
class BeveloHost;
class QWidget;

struct BeveloLayoutEntry {
    QString name;       // the button's objectName, e.g. "Bevelo5"
    QString container;  // layout name of its container, e.g. "setpage", "Frame4", "CJ188"
    QRect twips;        // left, top, width, height in twips within the container
    BeveloPropertyBag bag;

    bool operator==(const BeveloLayoutEntry& other) const = default;
};

namespace bevelo {

inline constexpr int kTwipsPerPixel = 15;
inline const QString kButtonLayoutResource = QStringLiteral(":/layout/buttons.json");

QRect twipsToPixels(const QRect& twips);
QRect pixelsToTwips(const QRect& pixels);

// Parses a layout document. On a malformed document returns an empty list and
// says why in `error` (when given); entries keep the document's order.
QList<BeveloLayoutEntry> parseButtonLayout(const QByteArray& json, QString* error = nullptr);
// Reads and parses the layout file at `path` (a resource path or a file).
QList<BeveloLayoutEntry> loadButtonLayout(const QString& path = kButtonLayoutResource,
                                          QString* error = nullptr);
// The document for `entries`, byte for byte what parseButtonLayout read when
// nothing changed.
QByteArray serializeButtonLayout(const QList<BeveloLayoutEntry>& entries);

// Creates the button of `entry` in `container`: its objectName, its geometry
// in pixels, then its stored properties (Bevelo::loadProperties).
Bevelo* createButton(const BeveloLayoutEntry& entry, QWidget* container,
                     BeveloHost* host = nullptr);
// Creates every button; `containerFor` maps a container name to its widget.
// Entries whose container is unknown (nullptr) are skipped and named in `missing`.
QList<Bevelo*> createButtons(const QList<BeveloLayoutEntry>& entries,
                             const std::function<QWidget*(const QString&)>& containerFor,
                             BeveloHost* host = nullptr, QStringList* missing = nullptr);
// The entry that saves `button` back: name, container, geometry, a fresh bag.
BeveloLayoutEntry captureButton(const Bevelo& button, const QString& container);

}  // namespace bevelo
