// Full repaint of a Bevelo button and its layout: caption format and window region.
#include "widgets/paint/BeveloPainter.h"

#include "widgets/paint/Caption.h"
#include "widgets/paint/IconPainter.h"
#include "widgets/paint/PolygonRegion.h"
#include "widgets/paint/StyleDispatch.h"
#include "widgets/paint/Surface.h"

namespace bevelo {

void refresh(QImage& image, BeveloProperties& props, BeveloRuntime& rt, const QPalette& palette) {
    Surface surface(image, palette);
    surface.clear();
    if (!rt.shown) return;

    // The states settle in this order, so a disabled control always looks disabled.
    if (props.Style != StyleDrawnRounded && !rt.userMode) rt.state = StateHot;
    if (props.ButtonType == 1 && props.Value) rt.state = StatePressed;
    if (!props.Enabled) {
        rt.state = StateDisabled;
        surface.setBackground(surface.face());
    }

    // The margin belongs to the style that drew this pass (a failed theme draws none).
    const int drawnStyle = props.Style;
    drawFace(surface, props, rt);
    const int margin = props.Style == drawnStyle ? iconMarginFor(drawnStyle) : 4;

    drawIcon(surface, props, rt.state, margin);
    drawCaption(surface, props, rt.state, rt.captionFormat);
}

int captionFormatFor(int captionAlign, int previous) {
    switch (captionAlign) {
        case 0:
            return 37;  // centre, vertical centre, single line
        case 1:
            return 36;  // left, vertical centre
        case 2:
            return 38;  // right, vertical centre
        case 3:
            return 33;  // centre, top
        case 4:
            return 41;  // centre, bottom
        default:
            return previous;
    }
}

QRegion windowRegion(int style, int w, int h) {
    switch (style) {
        case StyleDrawnRounded:
        case StyleGradient:
            return alternatePolygonRegion(
                {{0, 1}, {1, 0}, {w - 1, 0}, {w, 1}, {w, h - 2}, {w - 2, h}, {2, h}, {0, h - 2}});
        case StyleSoftGradient:
        case StyleBanded:
            return alternatePolygonRegion(
                {{0, 2}, {2, 0}, {w - 3, 0}, {w, 3}, {w, h - 3}, {w - 3, h}, {4, h}, {0, h - 4}});
        case StyleRoundImage:
            // Rounded rectangle over the whole client, corner ellipse 18 x 18 (radius 9,
            // the radius of the style's face image).
            return roundRectRegion(0, 0, w, h, 18, 18);
        default:
            return QRegion(0, 0, w, h);
    }
}

}  // namespace bevelo
