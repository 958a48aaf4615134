// Stand-ins for the drawn faces until their own files replace this one:
// background only.
#include "widgets/paint/DrawnStyles.h"

namespace bevelo {

namespace {
void backgroundOnly(Surface& surface, const BeveloProperties& props) {
    surface.setBackground(props.UseCustomColors ? surface.resolve(props.BackColor)
                                                : surface.face());
}
}  // namespace

void drawStyle5(Surface& s, const BeveloProperties& p, const BeveloRuntime&) {
    backgroundOnly(s, p);
}
void drawStyle7(Surface& s, const BeveloProperties& p, const BeveloRuntime&) {
    backgroundOnly(s, p);
}
void drawStyle8(Surface& s, const BeveloProperties& p, const BeveloRuntime&) {
    backgroundOnly(s, p);
}
void drawStyle9(Surface& s, const BeveloProperties& p, const BeveloRuntime&) {
    backgroundOnly(s, p);
}
void drawStyle10(Surface& s, const BeveloProperties& p, const BeveloRuntime&) {
    backgroundOnly(s, p);
}

}  // namespace bevelo
