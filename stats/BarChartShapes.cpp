#include "BarChartShapes.h"

#include <QtMath>

#include <algorithm>
#include <cmath>

namespace stats {

namespace {

// Points of a bar in space: x and y as on the front plane, z from the front
// (0) to the back wall (the depth's length), all in pixels.
struct Point3 {
    double x = 0;
    double y = 0;
    double z = 0;
};

Point3 operator-(const Point3& a, const Point3& b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}
Point3 cross(const Point3& a, const Point3& b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
double dot(const Point3& a, const Point3& b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

struct Face3 {
    QList<Point3> points;
    Point3 normal; // pointing out of the solid
};

/// Projects the oblique view: a point further back lies along the depth.
class Projection {
public:
    explicit Projection(const QPointF& depth)
        : m_depth(depth)
        , m_length(std::hypot(depth.x(), depth.y())) {}

    double length() const { return m_length; }
    QPointF map(const Point3& p) const {
        return QPointF(p.x, p.y) + m_depth * (m_length > 0 ? p.z / m_length : 0.0);
    }
    /// Points towards the viewer: a face whose outer normal has a positive
    /// share of it is seen.
    Point3 towardsViewer() const { return {m_depth.x(), m_depth.y(), -m_length}; }

private:
    QPointF m_depth;
    double m_length;
};

BarFace::Shade shadeFor(const Point3& normal) {
    const double up = -normal.y;
    const double front = -normal.z;
    const double side = std::abs(normal.x);
    if (up > front && up > side)
        return BarFace::Shade::Top;
    return front >= side ? BarFace::Shade::Front : BarFace::Shade::Side;
}

QPainterPath polygonPath(const QPolygonF& polygon) {
    QPainterPath path;
    path.addPolygon(polygon);
    path.closeSubpath();
    return path;
}

/// The seen faces of a solid, the farthest first, so that nearer faces
/// cover what they hide of a concave solid.
QList<BarFace> visibleFaces(const QList<Face3>& faces, const Projection& projection) {
    const Point3 eye = projection.towardsViewer();
    struct Ranked {
        double nearness;
        BarFace face;
    };
    QList<Ranked> seen;
    for (const Face3& f : faces) {
        if (dot(f.normal, eye) <= 1e-9)
            continue;
        QPolygonF polygon;
        Point3 centre;
        for (const Point3& p : f.points) {
            polygon << projection.map(p);
            centre = {centre.x + p.x, centre.y + p.y, centre.z + p.z};
        }
        const double n = double(f.points.size());
        centre = {centre.x / n, centre.y / n, centre.z / n};
        seen.append({dot(centre, eye), BarFace{polygonPath(polygon), shadeFor(f.normal)}});
    }
    std::stable_sort(seen.begin(), seen.end(),
                     [](const Ranked& a, const Ranked& b) { return a.nearness < b.nearness; });
    QList<BarFace> result;
    for (const Ranked& r : seen)
        result.append(r.face);
    return result;
}

/// A face of a convex solid, its normal turned away from the solid's centre.
Face3 convexFace(const QList<Point3>& points, const Point3& centre) {
    Point3 normal = cross(points[1] - points[0], points[2] - points[0]);
    if (dot(normal, points[0] - centre) < 0)
        normal = {-normal.x, -normal.y, -normal.z};
    return {points, normal};
}

QList<Face3> boxFaces(const QRectF& r, double depth) {
    const double x0 = r.left(), x1 = r.right(), y0 = r.top(), y1 = r.bottom();
    const Point3 centre{r.center().x(), r.center().y(), depth / 2};
    auto p = [](double x, double y, double z) { return Point3{x, y, z}; };
    return {
        convexFace({p(x0, y0, 0), p(x1, y0, 0), p(x1, y1, 0), p(x0, y1, 0)}, centre),
        convexFace({p(x0, y0, depth), p(x1, y0, depth), p(x1, y1, depth), p(x0, y1, depth)},
                   centre),
        convexFace({p(x0, y0, 0), p(x1, y0, 0), p(x1, y0, depth), p(x0, y0, depth)}, centre),
        convexFace({p(x0, y1, 0), p(x1, y1, 0), p(x1, y1, depth), p(x0, y1, depth)}, centre),
        convexFace({p(x0, y0, 0), p(x0, y1, 0), p(x0, y1, depth), p(x0, y0, depth)}, centre),
        convexFace({p(x1, y0, 0), p(x1, y1, 0), p(x1, y1, depth), p(x1, y0, depth)}, centre),
    };
}

/// A pyramid on a square base at `baseY`, its apex over the base's centre at `apexY`.
QList<Face3> pyramidFaces(const QRectF& r, double depth, double baseY, double apexY) {
    const double x0 = r.left(), x1 = r.right();
    const Point3 apex{r.center().x(), apexY, depth / 2};
    const Point3 b00{x0, baseY, 0}, b10{x1, baseY, 0}, b11{x1, baseY, depth}, b01{x0, baseY, depth};
    const Point3 centre{r.center().x(), (3 * baseY + apexY) / 4, depth / 2};
    return {
        convexFace({b00, b10, b11, b01}, centre), convexFace({b00, b10, apex}, centre),
        convexFace({b10, b11, apex}, centre),     convexFace({b11, b01, apex}, centre),
        convexFace({b01, b00, apex}, centre),
    };
}

/// The outline of an arrow filling `r`, its tip at the top or, pointing down, at the bottom.
QPolygonF arrowOutline(const QRectF& r, bool down) {
    const double w = r.width();
    const double head = std::min(r.height(), w * 0.6);
    const double xc = r.center().x();
    const double half = w / 4;
    const double tip = down ? r.bottom() : r.top();
    const double base = down ? r.top() : r.bottom();
    const double wing = down ? tip - head : tip + head;
    QPolygonF outline;
    outline << QPointF(xc - half, base) << QPointF(xc - half, wing) << QPointF(r.left(), wing)
            << QPointF(xc, tip) << QPointF(r.right(), wing) << QPointF(xc + half, wing)
            << QPointF(xc + half, base);
    QPolygonF distinct;
    for (const QPointF& p : outline) {
        if (distinct.isEmpty() || distinct.last() != p)
            distinct << p;
    }
    return distinct;
}

double signedArea(const QPolygonF& polygon) {
    double area = 0;
    for (int i = 0; i < polygon.size(); ++i) {
        const QPointF& a = polygon[i];
        const QPointF& b = polygon[(i + 1) % polygon.size()];
        area += a.x() * b.y() - b.x() * a.y();
    }
    return area / 2;
}

/// The outline pushed back to the given depth: the two caps and one side per edge.
QList<Face3> prismFaces(const QPolygonF& outline, double depth) {
    QList<Face3> faces;
    QList<Point3> front, back;
    for (const QPointF& p : outline) {
        front << Point3{p.x(), p.y(), 0};
        back << Point3{p.x(), p.y(), depth};
    }
    faces.append({front, {0, 0, -1}});
    faces.append({back, {0, 0, 1}});
    const double turn = signedArea(outline) >= 0 ? 1.0 : -1.0;
    for (int i = 0; i < outline.size(); ++i) {
        const QPointF a = outline[i];
        const QPointF b = outline[(i + 1) % outline.size()];
        const QPointF d = b - a;
        if (d.isNull())
            continue;
        faces.append(
            {{front[i], front[(i + 1) % outline.size()], back[(i + 1) % outline.size()], back[i]},
             {turn * d.y(), -turn * d.x(), 0}});
    }
    return faces;
}

/// The unit square mapped onto a horizontal cross-section of the bar at height `y`.
QTransform crossSection(const QRectF& r, double y, const QPointF& depth) {
    return QTransform(r.width(), 0, depth.x(), depth.y(), r.left(), y);
}

QList<BarFace> cylinderFaces(const QRectF& r, const QPointF& depth) {
    const QTransform top = crossSection(r, r.top(), depth);
    const QTransform bottom = crossSection(r, r.bottom(), depth);
    QPainterPath unitCircle;
    unitCircle.addEllipse(QRectF(0, 0, 1, 1));

    // Where the side of the cylinder meets the outline, left and right.
    const double t = std::atan2(depth.x(), r.width());
    auto rim = [](double angle) {
        return QPointF(0.5 + 0.5 * std::cos(angle), 0.5 + 0.5 * std::sin(angle));
    };
    QPolygonF side;
    side << top.map(rim(t + M_PI)) << top.map(rim(t)) << bottom.map(rim(t))
         << bottom.map(rim(t + M_PI));
    const QPainterPath body = polygonPath(side).united(bottom.map(unitCircle));
    return {BarFace{body, BarFace::Shade::Cylinder},
            BarFace{top.map(unitCircle), BarFace::Shade::Top}};
}

} // namespace

QList<BarFace> barFaces(BarShape shape, const QRectF& body, bool negative, const QPointF& depth) {
    const Projection projection(depth);
    const bool flat = projection.length() <= 0;
    const double d = projection.length();

    switch (shape) {
    case BarShape::Rectangle:
        if (flat)
            return {BarFace{polygonPath(QPolygonF(body)), BarFace::Shade::Front}};
        return visibleFaces(boxFaces(body, d), projection);
    case BarShape::Pyramid:
    case BarShape::InvertedPyramid: {
        const bool up = shape == BarShape::Pyramid;
        const double baseY = up ? body.bottom() : body.top();
        const double apexY = up ? body.top() : body.bottom();
        if (flat) {
            QPolygonF triangle;
            triangle << QPointF(body.left(), baseY) << QPointF(body.right(), baseY)
                     << QPointF(body.center().x(), apexY);
            return {BarFace{polygonPath(triangle), BarFace::Shade::Front}};
        }
        return visibleFaces(pyramidFaces(body, d, baseY, apexY), projection);
    }
    case BarShape::Cylinder:
        if (flat)
            return {BarFace{polygonPath(QPolygonF(body)), BarFace::Shade::Cylinder}};
        return cylinderFaces(body, depth);
    case BarShape::Ellipse: {
        QPainterPath ellipse;
        ellipse.addEllipse(flat ? body : body.translated(depth / 2));
        return {BarFace{ellipse, flat ? BarFace::Shade::Front : BarFace::Shade::Ball}};
    }
    case BarShape::Arrow: {
        const QPolygonF outline = arrowOutline(body, negative);
        if (flat)
            return {BarFace{polygonPath(outline), BarFace::Shade::Front}};
        return visibleFaces(prismFaces(outline, d), projection);
    }
    }
    return {};
}

} // namespace stats
