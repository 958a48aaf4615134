// Pixel regions of outlines, with the membership rules of the desktop's
// region calls: a pixel belongs to a polygon when its integer point lies
// inside, points on left and top edges counting as inside and points on right
// and bottom edges as outside (so the polygon (0,0) (w,0) (w,h) (0,h) is the
// rectangle of w x h pixels).
#pragma once

#include <QPoint>
#include <QRegion>
#include <vector>

namespace bevelo {

// Polygon region with alternate (even-odd) filling.
QRegion alternatePolygonRegion(const std::vector<QPoint>& points);

// Rectangle (left, top)..(right, bottom), right and bottom excluded, with corners
// rounded by an ellipse of ellipseW x ellipseH: a corner pixel belongs to it when
// its centre lies inside the corner's ellipse.
QRegion roundRectRegion(int left, int top, int right, int bottom, int ellipseW, int ellipseH);

}  // namespace bevelo
