// Faces of styles 0 to 4: system 3-D edges, frames and fills.
#include "widgets/paint/StyleDispatch.h"

namespace bevelo {

namespace {
constexpr OleColor kBlack = 0x000000;

OleColor custom(const Surface& s, const BeveloProperties& p, OleColor property, OleColor system) {
    return p.UseCustomColors ? s.resolve(property) : system;
}

// Styles 1 and 2: the back colour at rest and when disabled, the highlight otherwise.
OleColor softBackground(const Surface& s, const BeveloProperties& p, int state) {
    const bool resting = state == StateNormal || state == StateDisabled;
    return custom(s, p, resting ? p.BackColor : p.HighlightColor, s.face());
}
}  // namespace

void drawStyle0(Surface& s, const BeveloProperties& p, const BeveloRuntime& rt) {
    const int W = s.width(), H = s.height();
    s.setBackground(
        custom(s, p, rt.state == StateNormal ? p.BackColor : p.HighlightColor, s.face()));
    s.drawEdge(0, 0, W, H, rt.state == StatePressed ? edge::Sunken : edge::Raised);
    const bool focusMark = p.ShowFocus && rt.hasFocus;
    const bool defaultMark = !rt.hasFocus && rt.displayAsDefault;
    if (focusMark || defaultMark) s.frameBox(0, 0, W - 1, H - 1, kBlack);
}

void drawStyle1(Surface& s, const BeveloProperties& p, const BeveloRuntime& rt) {
    const int W = s.width(), H = s.height();
    s.setBackground(softBackground(s, p, rt.state));
    switch (rt.state) {
        case StatePressed:
            s.drawEdge(0, 0, W, H, edge::SunkenOuter);
            break;
        case StateDisabled:
            s.frameBox(0, 0, W - 1, H - 1, s.background());
            break;
        case StateNormal:
        case StateHot:
            s.drawEdge(0, 0, W, H, edge::RaisedInner);
            break;
        default:
            break;
    }
}

void drawStyle2(Surface& s, const BeveloProperties& p, const BeveloRuntime& rt) {
    const int W = s.width(), H = s.height();
    s.setBackground(softBackground(s, p, rt.state));
    if (rt.state == StateNormal) {
        s.setBackground(custom(s, p, p.BackColor, s.face()));
        s.frameBox(0, 0, W - 1, H - 1, s.background());
    }
    switch (rt.state) {
        case StateHot:
            s.drawEdge(0, 0, W, H, edge::RaisedInner);
            break;
        case StatePressed:
            s.drawEdge(0, 0, W, H, edge::SunkenOuter);
            break;
        default:
            s.frameBox(0, 0, W - 1, H - 1, s.background());
            break;
    }
}

void drawStyle3(Surface& s, const BeveloProperties& p, const BeveloRuntime& rt) {
    const int W = s.width(), H = s.height();
    const OleColor back = custom(s, p, p.BackColor, s.face());
    s.setBackground(back);
    OleColor panel = back;
    if (rt.state == StateHot)
        panel = p.UseCustomColors ? average(s.resolve(p.HighlightColor), back)
                                  : average(s.shadow(), s.face());
    else if (rt.state == StatePressed)
        panel = custom(s, p, p.HighlightColor, s.shadow());
    s.fillRect(4, 4, W - 4, H - 4, panel);

    // Etched frame: a shadow ring with a window-coloured ring one pixel inside it.
    const int w = W - 1, h = H - 1;
    s.frameBox(0, 0, w - 1, h - 1, s.shadow());
    s.frameBox(1, 1, w - 1, h - 1, s.window());
    s.setPixel(0, h, panel);
    s.setPixel(w, 0, panel);
    const OleColor blend = average(s.window(), s.shadow());
    s.setPixel(1, h - 1, blend);
    s.setPixel(w - 1, 1, blend);
}

void drawStyle4(Surface& s, const BeveloProperties& p, const BeveloRuntime& rt) {
    const int W = s.width(), H = s.height();
    if (rt.state == StateHot || rt.state == StatePressed) {
        const OleColor border = custom(s, p, p.HighlightColor, s.highlight());
        s.fillBox(0, 0, W - 1, H - 1, lighten(border, rt.state == StateHot ? 176 : 128));
        s.frameBox(0, 0, W - 1, H - 1, border);
    } else {
        s.fillBox(0, 0, W, H, lighten(custom(s, p, p.BackColor, s.face()), 32));
    }
}

}  // namespace bevelo
