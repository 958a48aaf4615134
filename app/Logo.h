// The logo in the top left corner, drawn at run time: a dial and the program's name.
#pragma once

#include <QPixmap>
#include <QSize>

QPixmap drawLogo(QSize size, qreal devicePixelRatio = 1.0);
