// The full repaint draws the drawn faces through the style dispatch.
#include "tests/widgets/styles_face_fixture.h"
#include "widgets/paint/BeveloPainter.h"

using namespace styles_test;

TEST(StylesDispatch, RefreshDrawsEachDrawnFaceInEveryState) {
    const std::pair<int, FaceFn> faces[] = {{5, bevelo::drawStyle5},
                                            {7, bevelo::drawStyle7},
                                            {8, bevelo::drawStyle8},
                                            {9, bevelo::drawStyle9},
                                            {10, bevelo::drawStyle10}};
    for (const auto& [style, fn] : faces)
        for (int state = StateNormal; state <= StatePressed; ++state) {
            Face direct(70, 26);
            direct.props.Style = style;
            direct.rt.state = state;
            direct.rt.shown = true;
            direct.draw(fn);

            Face viaRefresh(70, 26);
            viaRefresh.props.Style = style;
            viaRefresh.props.Caption = QString();  // no caption over the face
            viaRefresh.rt.state = state;
            viaRefresh.rt.shown = true;
            bevelo::refresh(viaRefresh.image(), viaRefresh.props, viaRefresh.rt,
                            viaRefresh.palette());
            EXPECT_EQ(viaRefresh.image(), direct.image())
                << "style " << style << " state " << state;
            // A drawn face is more than a flat background.
            EXPECT_NE(direct.at(35, 0), direct.at(35, 13)) << "style " << style;
        }
}
