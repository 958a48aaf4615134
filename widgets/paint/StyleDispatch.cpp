#include "widgets/paint/StyleDispatch.h"

#include "widgets/paint/DrawnStyles.h"

namespace bevelo {

int iconMarginFor(int style) {
    switch (style) {
        case StyleDrawnRounded:
        case StyleGradient:
            return 5;
        case StyleBanded:
        case StyleRoundImage:
            return 7;
        default:
            return 4;
    }
}

void drawFace(Surface& surface, BeveloProperties& props, const BeveloRuntime& rt) {
    switch (props.Style) {
        case StyleStandard:
            drawStyle0(surface, props, rt);
            break;
        case StyleSoftEdge:
            drawStyle1(surface, props, rt);
            break;
        case StyleFlat:
            drawStyle2(surface, props, rt);
            break;
        case StyleEtched:
            drawStyle3(surface, props, rt);
            break;
        case StyleHighlightPanel:
            drawStyle4(surface, props, rt);
            break;
        case StyleDrawnRounded:
            drawStyle5(surface, props, rt);
            break;
        case StyleThemed:
            // Without a theme the replacement style takes over from the next
            // repaint on; this pass leaves the face undrawn.
            if (!drawStyle6(surface, props, rt)) props.Style = props.NonThemeStyle;
            break;
        case StyleGradient:
            drawStyle7(surface, props, rt);
            break;
        case StyleSoftGradient:
            drawStyle8(surface, props, rt);
            break;
        case StyleBanded:
            drawStyle9(surface, props, rt);
            break;
        case StyleRoundImage:
            drawStyle10(surface, props, rt);
            break;
        default:
            break;  // unknown styles draw no face
    }
}

}  // namespace bevelo
