// Drawing of a Bevelo button: a plain function of its fields onto its surface.
#pragma once

#include <QImage>
#include <QPalette>
#include <QRegion>

#include "widgets/BeveloFields.h"

namespace bevelo {

// Full repaint of the control surface (device pixels, the control's size).
// May settle rt.state (toggle and disabled overrides) and props.Style (theme
// fallback, in memory only), as the control keeps them.
void refresh(QImage& surface, BeveloProperties& props, BeveloRuntime& rt, const QPalette& palette);

// Caption text-format flags for a CaptionAlign value; other values keep `previous`.
int captionFormatFor(int captionAlign, int previous);

// Window region of a style for a w x h control.
QRegion windowRegion(int style, int w, int h);

}  // namespace bevelo
