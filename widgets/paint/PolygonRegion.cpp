#include "widgets/paint/PolygonRegion.h"

#include <algorithm>
#include <cmath>

namespace bevelo {

namespace {
// x of the edge a-b on row y, exact as a fraction num / den (den > 0).
struct Crossing {
    long long num;
    long long den;
};

// First integer column at or right of the crossing.
int ceilColumn(const Crossing& c) {
    long long q = c.num / c.den;
    if (c.num % c.den != 0 && c.num > 0) ++q;
    return static_cast<int>(q);
}
}  // namespace

QRegion alternatePolygonRegion(const std::vector<QPoint>& points) {
    if (points.size() < 3) return {};
    int top = points.front().y(), bottom = top;
    for (const QPoint& p : points) {
        top = std::min(top, p.y());
        bottom = std::max(bottom, p.y());
    }
    QRegion region;
    std::vector<Crossing> crossings;
    for (int y = top; y < bottom; ++y) {
        crossings.clear();
        for (size_t i = 0; i < points.size(); ++i) {
            QPoint a = points[i];
            QPoint b = points[(i + 1) % points.size()];
            if (a.y() == b.y()) continue;  // horizontal edges cross no row
            if (a.y() > b.y()) std::swap(a, b);
            // Half-open in y: the top end of an edge counts, the bottom end does not.
            if (y < a.y() || y >= b.y()) continue;
            const long long den = b.y() - a.y();
            crossings.push_back({static_cast<long long>(a.x()) * den +
                                     static_cast<long long>(b.x() - a.x()) * (y - a.y()),
                                 den});
        }
        std::sort(crossings.begin(), crossings.end(), [](const Crossing& l, const Crossing& r) {
            return static_cast<double>(l.num) / l.den < static_cast<double>(r.num) / r.den;
        });
        // Alternate filling: inside between the first and second crossing, the
        // third and fourth, ...; left end included, right end excluded.
        for (size_t i = 0; i + 1 < crossings.size(); i += 2) {
            const int from = ceilColumn(crossings[i]);
            const int to = ceilColumn(crossings[i + 1]);
            if (to > from) region += QRect(from, y, to - from, 1);
        }
    }
    return region;
}

QRegion roundRectRegion(int left, int top, int right, int bottom, int ellipseW, int ellipseH) {
    const int w = right - left, h = bottom - top;
    if (w <= 0 || h <= 0) return {};
    const double rx = std::min(ellipseW, w) / 2.0, ry = std::min(ellipseH, h) / 2.0;
    QRegion region;
    for (int y = 0; y < h; ++y) {
        // Distance of the row's pixel centres from the nearer corner ellipse centre.
        const double cy = y + 0.5;
        double dy = 0.0;
        if (cy < ry)
            dy = ry - cy;
        else if (cy > h - ry)
            dy = cy - (h - ry);
        int inset = 0;
        if (dy > 0.0 && rx > 0.0) {
            const double t = 1.0 - (dy * dy) / (ry * ry);
            const double halfChord = t > 0.0 ? rx * std::sqrt(t) : 0.0;
            // Pixels whose centre x + 0.5 >= rx - halfChord.
            inset = static_cast<int>(std::ceil(rx - halfChord - 0.5));
            inset = std::max(inset, 0);
        }
        if (w - 2 * inset > 0) region += QRect(left + inset, top + y, w - 2 * inset, 1);
    }
    return region;
}

}  // namespace bevelo
