// make_samples: draws the four seasonal sample pictures of ツキバン.
//
//   Sample1.jpg  winter: snowy hills and pines under a dawn sky with a crescent moon
//   Sample2.jpg  spring: cherry trees in blossom, a branch in front, drifting petals
//   Sample3.jpg  summer: sea and tall clouds, sunflowers in the foreground
//   Sample4.jpg  autumn: mountains in red and gold, a maple branch, falling leaves
//
// A stand-alone program using QtGui only (QImage + QPainter). The drawing is
// deterministic: every random choice comes from a fixed-seed std::mt19937, turned
// into numbers by our own arithmetic (the standard distributions differ between
// libraries), so the same source always makes the same pictures.
//
// No pixel may be pure white (#FFFFFF): white is the calendar's default
// see-through colour key and would punch holes into the picture. Every channel
// is therefore clamped to at most 240 before saving. The margin is for JPEG:
// its ringing at sharp bright edges overshoots by several steps (a ceiling of
// 250 still let one #FFFFFF pixel through at the rim of the summer sun). The
// written files are decoded again and checked; the program fails if any pure
// white pixel is found.
//
// Build and run (see README.md beside this file):
//   g++ -std=c++20 -O2 -fPIC $(pkg-config --cflags Qt6Gui) make_samples.cpp \
//       $(pkg-config --libs Qt6Gui) -o make_samples
//   QT_QPA_PLATFORM=offscreen ./make_samples <output folder>

#include <QColor>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QTransform>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <random>

namespace {

constexpr int kWidth = 480;
constexpr int kHeight = 200;
constexpr int kCeiling = 240;   // brightest value of any channel (see above)
constexpr int kQuality = 85;
constexpr double kPi = 3.14159265358979323846;

// Deterministic random numbers.
class Random {
public:
    explicit Random(unsigned seed) : engine_(seed) {}
    double uniform() { return engine_() / 4294967296.0; }              // [0, 1)
    double range(double lo, double hi) { return lo + (hi - lo) * uniform(); }
    int integer(int lo, int hi) { return lo + int(uniform() * (hi - lo + 1)); }  // [lo, hi]

private:
    std::mt19937 engine_;
};

QColor rgba(int r, int g, int b, int a = 255) { return QColor(r, g, b, a); }

QColor mix(const QColor &a, const QColor &b, double t)
{
    return QColor::fromRgbF(float(a.redF() + (b.redF() - a.redF()) * t),
                            float(a.greenF() + (b.greenF() - a.greenF()) * t),
                            float(a.blueF() + (b.blueF() - a.blueF()) * t),
                            float(a.alphaF() + (b.alphaF() - a.alphaF()) * t));
}

QColor withAlpha(QColor c, int alpha)
{
    c.setAlpha(alpha);
    return c;
}

void fillSky(QPainter &p, const std::vector<std::pair<double, QColor>> &stops, double bottom)
{
    QLinearGradient g(0, 0, 0, bottom);
    for (const auto &[at, colour] : stops)
        g.setColorAt(at, colour);
    p.fillRect(QRectF(0, 0, kWidth, bottom + 1), g);
}

// A ridge line across the picture: a sum of a few sines plus a little jitter,
// closed down to the bottom edge.
QPainterPath ridge(Random &rnd, double baseY, double amplitude, int waves, double jitter,
                   double bottom = kHeight + 2)
{
    std::vector<double> freq, phase, amp;
    for (int i = 0; i < waves; ++i) {
        freq.push_back(rnd.range(0.6, 1.4) * (i + 1) * 2.0 * kPi / kWidth);
        phase.push_back(rnd.range(0, 2 * kPi));
        amp.push_back(amplitude / (i + 1) * rnd.range(0.7, 1.2));
    }
    QPainterPath path;
    path.moveTo(-2, bottom);
    double noise = 0;
    for (int x = -2; x <= kWidth + 2; x += 2) {
        double y = baseY;
        for (int i = 0; i < waves; ++i)
            y += amp[i] * std::sin(freq[i] * x + phase[i]);
        noise = noise * 0.7 + rnd.range(-jitter, jitter);
        path.lineTo(x, y + noise);
    }
    path.lineTo(kWidth + 2, bottom);
    path.closeSubpath();
    return path;
}

// Height of a ridge path at x (the highest point of the outline there).
double ridgeY(const QPainterPath &path, double x)
{
    double best = kHeight;
    for (int i = 0; i < path.elementCount(); ++i) {
        const auto e = path.elementAt(i);
        if (std::abs(e.x - x) <= 1.01)
            best = std::min(best, e.y);
    }
    return best;
}

void fillVertical(QPainter &p, const QPainterPath &path, const QColor &top, const QColor &bottom,
                  double y0, double y1)
{
    QLinearGradient g(0, y0, 0, y1);
    g.setColorAt(0, top);
    g.setColorAt(1, bottom);
    p.fillPath(path, g);
}

void softGlow(QPainter &p, QPointF centre, double radius, const QColor &colour)
{
    QRadialGradient g(centre, radius);
    g.setColorAt(0, colour);
    g.setColorAt(1, withAlpha(colour, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawEllipse(centre, radius, radius);
}

// ---------------------------------------------------------------- winter

void drawPine(QPainter &p, double x, double baseY, double h, const QColor &needles, const QColor &snow)
{
    const double w = h * 0.42;
    p.setPen(Qt::NoPen);
    p.setBrush(mix(needles, rgba(60, 40, 40), 0.5));
    p.drawRect(QRectF(x - h * 0.035, baseY - h * 0.12, h * 0.07, h * 0.14));
    const int tiers = 4;
    for (int i = 0; i < tiers; ++i) {
        const double t0 = double(i) / tiers;
        const double top = baseY - h + t0 * h * 0.78;
        const double bot = top + h * 0.36;
        const double half = w * (0.36 + 0.64 * (i + 1) / tiers) / 2;
        QPainterPath tier;
        tier.moveTo(x, top);
        tier.quadTo(x + half * 0.5, top + (bot - top) * 0.55, x + half, bot);
        tier.quadTo(x, bot - h * 0.05, x - half, bot);
        tier.quadTo(x - half * 0.5, top + (bot - top) * 0.55, x, top);
        p.setBrush(needles);
        p.drawPath(tier);
        // Snow lying on the tier: a thinner crescent along its upper edge.
        QPainterPath cap;
        cap.moveTo(x, top);
        cap.quadTo(x + half * 0.45, top + (bot - top) * 0.5, x + half * 0.92, bot - h * 0.015);
        cap.quadTo(x + half * 0.3, bot - h * 0.09, x, bot - h * 0.13);
        cap.quadTo(x - half * 0.3, bot - h * 0.09, x - half * 0.92, bot - h * 0.015);
        cap.quadTo(x - half * 0.45, top + (bot - top) * 0.5, x, top);
        p.setBrush(snow);
        p.drawPath(cap);
    }
}

QImage winter()
{
    Random rnd(1101);
    QImage img(kWidth, kHeight, QImage::Format_RGB32);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);

    fillSky(p, {{0.0, rgba(28, 38, 74)}, {0.35, rgba(58, 68, 112)}, {0.62, rgba(128, 112, 158)},
                {0.82, rgba(214, 158, 160)}, {1.0, rgba(240, 196, 168)}},
            130);

    // Stars, fading towards the dawn.
    for (int i = 0; i < 70; ++i) {
        const double x = rnd.range(0, kWidth), y = rnd.range(0, 80);
        const int a = int(rnd.range(60, 200) * (1.0 - y / 90));
        const double r = rnd.range(0.4, 1.0);
        p.setPen(Qt::NoPen);
        p.setBrush(rgba(240, 236, 220, a));
        p.drawEllipse(QPointF(x, y), r, r);
    }

    // Crescent moon with a soft halo.
    const QPointF moon(392, 38);
    softGlow(p, moon, 44, rgba(230, 220, 200, 60));
    QPainterPath disc, bite;
    disc.addEllipse(moon, 14, 14);
    bite.addEllipse(moon + QPointF(6.5, -4.5), 12.5, 12.5);
    p.fillPath(disc.subtracted(bite), rgba(246, 238, 206));

    // Far mountains with snowy tops.
    QPainterPath far = ridge(rnd, 104, 16, 3, 0.8);
    fillVertical(p, far, rgba(150, 146, 186), rgba(196, 180, 200), 80, 130);
    {
        p.save();
        p.setClipPath(far);
        QLinearGradient cap(0, 84, 0, 104);
        cap.setColorAt(0, rgba(236, 230, 240, 200));
        cap.setColorAt(1, rgba(236, 230, 240, 0));
        p.fillRect(QRectF(0, 80, kWidth, 30), cap);
        p.restore();
    }

    // Middle hills and a line of snowy pines.
    QPainterPath mid = ridge(rnd, 134, 10, 3, 0.4);
    fillVertical(p, mid, rgba(214, 218, 236), rgba(176, 186, 216), 120, 175);
    struct Tree { double x, h; };
    std::vector<Tree> trees;
    for (double x = 10; x < kWidth; x += rnd.range(12, 34))
        if (rnd.uniform() < 0.75)
            trees.push_back({x, rnd.range(18, 34)});
    for (const Tree &t : trees)
        drawPine(p, t.x, ridgeY(mid, t.x) + 4, t.h, rgba(44, 72, 84), rgba(226, 232, 244));

    // A small house with a warm window on the near hill.
    QPainterPath near = ridge(rnd, 166, 9, 2, 0.3);
    const double hx = 128, hy = ridgeY(near, hx) + 2;
    softGlow(p, QPointF(hx + 2, hy - 10), 28, rgba(250, 200, 120, 70));
    p.setPen(Qt::NoPen);
    p.setBrush(rgba(118, 92, 96));
    p.drawRect(QRectF(hx - 13, hy - 16, 26, 16));
    QPainterPath roof;
    roof.moveTo(hx - 17, hy - 15);
    roof.lineTo(hx, hy - 29);
    roof.lineTo(hx + 17, hy - 15);
    roof.closeSubpath();
    p.setBrush(rgba(232, 234, 244));
    p.drawPath(roof);
    p.setBrush(rgba(246, 200, 110));
    p.drawRect(QRectF(hx - 8, hy - 12, 6, 6));
    p.drawRect(QRectF(hx + 3, hy - 12, 6, 6));

    fillVertical(p, near, rgba(232, 234, 246), rgba(204, 210, 234), 150, 200);
    // Soft blue hollows in the near snow.
    for (int i = 0; i < 2; ++i) {
        QPainterPath drift = ridge(rnd, 184 + i * 8, 5, 2, 0.1);
        fillVertical(p, drift, rgba(222, 226, 242, 150), rgba(196, 204, 232, 150), 175, 200);
    }

    // Falling snow.
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 120; ++i) {
        const double x = rnd.range(0, kWidth), y = rnd.range(0, kHeight);
        const double r = rnd.range(0.6, 1.8);
        p.setBrush(rgba(244, 244, 250, int(rnd.range(110, 220))));
        p.drawEllipse(QPointF(x, y), r, r);
    }
    return img;
}

// ---------------------------------------------------------------- spring

QPainterPath blossomShape(double r)
{
    // Five petals, each with the little notch at its tip that marks a cherry flower.
    QPainterPath flower;
    for (int i = 0; i < 5; ++i) {
        const double a = -kPi / 2 + i * 2 * kPi / 5;
        QPainterPath petal;
        petal.moveTo(0, 0);
        petal.cubicTo(-0.55 * r, -0.35 * r, -0.6 * r, -0.95 * r, -0.18 * r, -1.0 * r);
        petal.lineTo(0, -0.84 * r);
        petal.lineTo(0.18 * r, -1.0 * r);
        petal.cubicTo(0.6 * r, -0.95 * r, 0.55 * r, -0.35 * r, 0, 0);
        flower.addPath(QTransform().rotateRadians(a + kPi / 2).map(petal));
    }
    return flower.simplified();
}

void drawBlossom(QPainter &p, QPointF at, double r, double angle, const QColor &petal,
                 const QColor &heart)
{
    static const QPainterPath unit = blossomShape(1.0);
    QTransform t;
    t.translate(at.x(), at.y());
    t.rotateRadians(angle);
    t.scale(r, r);
    QRadialGradient g(at, r);
    g.setColorAt(0.0, mix(petal, heart, 0.55));
    g.setColorAt(0.35, petal);
    g.setColorAt(1.0, mix(petal, rgba(250, 244, 246), 0.45));
    p.setPen(QPen(mix(petal, heart, 0.35), 0.5));
    p.setBrush(g);
    p.drawPath(t.map(unit));
    p.setPen(Qt::NoPen);
    p.setBrush(heart);
    for (int i = 0; i < 5; ++i) {
        const double a = angle + i * 2 * kPi / 5;
        p.drawEllipse(at + QPointF(std::cos(a), std::sin(a)) * r * 0.32, r * 0.07, r * 0.07);
    }
}

// A tree crown in the distance: a cloud of overlapping pink dots.
void drawCherryTree(QPainter &p, Random &rnd, double x, double groundY, double size)
{
    p.setPen(QPen(rgba(110, 84, 86), size * 0.07, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(x, groundY), QPointF(x, groundY - size * 0.45));
    p.drawLine(QPointF(x, groundY - size * 0.35), QPointF(x - size * 0.22, groundY - size * 0.6));
    p.drawLine(QPointF(x, groundY - size * 0.38), QPointF(x + size * 0.25, groundY - size * 0.62));
    p.setPen(Qt::NoPen);
    const QColor shades[] = {rgba(242, 196, 210), rgba(246, 212, 222), rgba(232, 176, 196),
                             rgba(248, 226, 232)};
    for (int i = 0; i < int(size * 3); ++i) {
        const double a = rnd.range(0, 2 * kPi), d = std::sqrt(rnd.uniform());
        const QPointF c(x + std::cos(a) * d * size * 0.55,
                        groundY - size * 0.68 + std::sin(a) * d * size * 0.34);
        const double r = rnd.range(size * 0.07, size * 0.14);
        p.setBrush(withAlpha(shades[rnd.integer(0, 3)], 220));
        p.drawEllipse(c, r, r);
    }
}

void drawBranch(QPainter &p, Random &rnd, QPointF from, double angle, double length, double width,
                int depth, std::vector<QPointF> &tips)
{
    QPointF at = from;
    const int steps = 6;
    QPainterPath path;
    path.moveTo(at);
    for (int i = 0; i < steps; ++i) {
        angle += rnd.range(-0.18, 0.18);
        at += QPointF(std::cos(angle), std::sin(angle)) * (length / steps);
        path.lineTo(at);
        if (i >= 2)
            tips.push_back(at);
    }
    p.setPen(QPen(rgba(92, 66, 70), width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(path);
    if (depth > 0) {
        for (int i = 0; i < 2; ++i) {
            const double t = rnd.range(0.35, 0.8);
            const QPointF start = path.pointAtPercent(t);
            const double side = (i == 0 ? 1 : -1) * rnd.range(0.45, 0.8);
            drawBranch(p, rnd, start, angle + side, length * rnd.range(0.4, 0.6), width * 0.55,
                       depth - 1, tips);
        }
    }
}

QImage spring()
{
    Random rnd(2202);
    QImage img(kWidth, kHeight, QImage::Format_RGB32);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);

    fillSky(p, {{0.0, rgba(150, 196, 228)}, {0.55, rgba(204, 224, 240)}, {1.0, rgba(244, 226, 234)}},
            130);
    softGlow(p, QPointF(300, 30), 120, rgba(250, 246, 236, 110));

    // Soft clouds.
    p.setPen(Qt::NoPen);
    for (int c = 0; c < 3; ++c) {
        const double cx = 60 + c * 150 + rnd.range(-20, 20), cy = 28 + rnd.range(-8, 14);
        for (int i = 0; i < 7; ++i) {
            p.setBrush(rgba(246, 244, 248, 120));
            p.drawEllipse(QPointF(cx + rnd.range(-30, 30), cy + rnd.range(-4, 4)), rnd.range(12, 22),
                          rnd.range(5, 8));
        }
    }

    // A far mountain in haze.
    QPainterPath far = ridge(rnd, 100, 18, 2, 0.5);
    fillVertical(p, far, rgba(176, 186, 216), rgba(214, 214, 232), 80, 130);

    // Rolling green hills.
    QPainterPath hill1 = ridge(rnd, 128, 10, 3, 0.3);
    fillVertical(p, hill1, rgba(172, 206, 150), rgba(150, 192, 132), 115, 160);
    for (double x = -10; x < kWidth + 20; x += rnd.range(30, 52))
        drawCherryTree(p, rnd, x, ridgeY(hill1, std::clamp(x, 0.0, double(kWidth))) + 6,
                       rnd.range(22, 32));

    QPainterPath hill2 = ridge(rnd, 160, 8, 2, 0.2);
    fillVertical(p, hill2, rgba(150, 196, 120), rgba(118, 170, 98), 145, 200);

    // A path of pale earth winding across the meadow.
    QPainterPath lane;
    lane.moveTo(200, 200);
    lane.cubicTo(230, 180, 300, 176, 330, 160);
    lane.cubicTo(318, 176, 262, 186, 250, 200);
    lane.closeSubpath();
    p.fillPath(lane.intersected(hill2), rgba(228, 214, 188));

    // Petals lying in the grass.
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 80; ++i) {
        const double x = rnd.range(0, kWidth), y = rnd.range(172, 200);
        p.setBrush(rgba(244, 204, 216, 200));
        p.drawEllipse(QPointF(x, y), 1.3, 0.8);
    }

    // The branch in front, from the top left corner, covered in blossom.
    std::vector<QPointF> tips;
    drawBranch(p, rnd, QPointF(-8, 6), 0.32, 210, 7, 2, tips);
    drawBranch(p, rnd, QPointF(-8, 60), -0.05, 90, 4, 1, tips);
    const QColor petals[] = {rgba(246, 190, 206), rgba(248, 206, 218), rgba(240, 172, 194)};
    for (const QPointF &t : tips) {
        const int n = rnd.integer(1, 3);
        for (int k = 0; k < n; ++k) {
            const QPointF at = t + QPointF(rnd.range(-7, 7), rnd.range(-6, 6));
            drawBlossom(p, at, rnd.range(4.5, 7.5), rnd.range(0, 2 * kPi), petals[rnd.integer(0, 2)],
                        rgba(206, 84, 120));
        }
        // Buds.
        p.setPen(Qt::NoPen);
        p.setBrush(rgba(222, 110, 146));
        p.drawEllipse(t + QPointF(rnd.range(-9, 9), rnd.range(-8, 8)), 1.6, 1.6);
    }

    // Drifting petals.
    for (int i = 0; i < 40; ++i) {
        const QPointF at(rnd.range(0, kWidth), rnd.range(0, 175));
        p.save();
        p.translate(at);
        p.rotate(rnd.range(0, 180));
        p.setBrush(rgba(246, 196, 212, 220));
        p.setPen(Qt::NoPen);
        const double s = rnd.range(1.6, 2.8);
        p.drawEllipse(QPointF(0, 0), s, s * 0.6);
        p.restore();
    }
    return img;
}

// ---------------------------------------------------------------- summer

void drawCloud(QPainter &p, Random &rnd, double cx, double baseY, double size)
{
    // Cumulus: a flat base and a pile of puffs, lit from the upper left.
    QPainterPath body;
    body.setFillRule(Qt::WindingFill);
    const int puffs = 9;
    for (int i = 0; i < puffs; ++i) {
        const double t = double(i) / (puffs - 1) - 0.5;
        const double r = size * (0.28 + 0.22 * (1 - std::abs(t) * 2)) * rnd.range(0.8, 1.15);
        const double x = cx + t * size * 1.5;
        const double y = baseY - r * 0.7 - (1 - std::abs(t) * 2) * size * 0.25;
        body.addEllipse(QPointF(x, y), r, r);
    }
    for (int i = 0; i < 4; ++i) {
        const double r = size * rnd.range(0.2, 0.32);
        body.addEllipse(QPointF(cx + rnd.range(-0.35, 0.35) * size, baseY - size * rnd.range(0.55, 0.85)), r, r);
    }
    QPainterPath cut;
    cut.addRect(QRectF(cx - size * 2, baseY, size * 4, size * 2));
    body = body.subtracted(cut).simplified();
    QLinearGradient g(cx - size * 0.3, baseY - size, cx + size * 0.2, baseY);
    g.setColorAt(0.0, rgba(238, 240, 246));
    g.setColorAt(0.6, rgba(228, 234, 244));
    g.setColorAt(1.0, rgba(184, 200, 222));
    p.setPen(Qt::NoPen);
    p.fillPath(body, g);
}

void drawSunflower(QPainter &p, Random &rnd, QPointF head, double r, double groundY, double lean)
{
    // Stem and leaves.
    QPainterPath stem;
    stem.moveTo(head.x() + lean * 0.3, groundY + 5);
    stem.quadTo(head.x() + lean, (head.y() + groundY) / 2, head.x(), head.y());
    p.setPen(QPen(rgba(78, 128, 58), std::max(2.0, r * 0.16), Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawPath(stem);
    for (int i = 0; i < 2; ++i) {
        const QPointF base = stem.pointAtPercent(0.35 + i * 0.3);
        const double side = (i % 2 ? -1 : 1);
        QPainterPath leaf;
        leaf.moveTo(base);
        leaf.cubicTo(base + QPointF(side * r * 0.6, -r * 0.6), base + QPointF(side * r * 1.3, -r * 0.3),
                     base + QPointF(side * r * 1.5, r * 0.15));
        leaf.cubicTo(base + QPointF(side * r * 1.1, r * 0.35), base + QPointF(side * r * 0.5, r * 0.3), base);
        QLinearGradient lg(base, base + QPointF(side * r * 1.5, 0));
        lg.setColorAt(0, rgba(70, 124, 52));
        lg.setColorAt(1, rgba(112, 160, 70));
        p.setPen(Qt::NoPen);
        p.fillPath(leaf, lg);
    }
    // Two rings of petals.
    p.setPen(QPen(rgba(210, 140, 20), 0.6));
    for (int ring = 0; ring < 2; ++ring) {
        const int n = 20;
        const double offset = ring * kPi / n + rnd.range(0, 0.2);
        for (int i = 0; i < n; ++i) {
            const double a = offset + i * 2 * kPi / n;
            p.save();
            p.translate(head);
            p.rotate(a * 180 / kPi);
            QPainterPath petal;
            const double len = r * (ring ? 0.9 : 1.0) * rnd.range(0.92, 1.05);
            petal.moveTo(r * 0.3, 0);
            petal.quadTo(r * 0.6, -r * 0.16, len, 0);
            petal.quadTo(r * 0.6, r * 0.16, r * 0.3, 0);
            p.setBrush(ring ? rgba(246, 196, 40) : rgba(236, 176, 28));
            p.drawPath(petal);
            p.restore();
        }
    }
    // Seed disc.
    QRadialGradient g(head, r * 0.42);
    g.setColorAt(0, rgba(92, 58, 30));
    g.setColorAt(0.8, rgba(120, 78, 36));
    g.setColorAt(1, rgba(150, 100, 40));
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawEllipse(head, r * 0.42, r * 0.42);
    p.setBrush(rgba(70, 44, 24, 150));
    for (int i = 0; i < 24; ++i) {
        const double a = i * 2.39996, d = std::sqrt((i + 0.5) / 24.0) * r * 0.36;
        p.drawEllipse(head + QPointF(std::cos(a), std::sin(a)) * d, r * 0.03, r * 0.03);
    }
}

QImage summer()
{
    Random rnd(3303);
    QImage img(kWidth, kHeight, QImage::Format_RGB32);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);

    const double horizon = 118;
    fillSky(p, {{0.0, rgba(58, 126, 190)}, {0.6, rgba(118, 176, 222)}, {1.0, rgba(196, 224, 240)}},
            horizon);
    softGlow(p, QPointF(70, 26), 70, rgba(250, 246, 220, 150));
    p.setPen(Qt::NoPen);
    p.setBrush(rgba(250, 246, 226));
    p.drawEllipse(QPointF(70, 26), 11, 11);

    drawCloud(p, rnd, 250, horizon - 4, 52);
    drawCloud(p, rnd, 400, horizon - 2, 34);
    drawCloud(p, rnd, 150, horizon - 1, 22);

    // A distant island.
    QPainterPath island;
    island.moveTo(300, horizon + 0.5);
    island.cubicTo(318, horizon - 10, 340, horizon - 13, 356, horizon - 6);
    island.cubicTo(366, horizon - 3, 380, horizon - 2, 392, horizon + 0.5);
    island.closeSubpath();
    p.fillPath(island, rgba(110, 150, 160));

    // The sea, darker and bluer towards the viewer, with sparkling lines.
    QLinearGradient sea(0, horizon, 0, kHeight);
    sea.setColorAt(0, rgba(72, 146, 190));
    sea.setColorAt(1, rgba(30, 96, 150));
    p.fillRect(QRectF(0, horizon, kWidth, kHeight - horizon), sea);
    p.setPen(QPen(rgba(200, 228, 244, 90), 1));
    p.drawLine(QPointF(0, horizon + 0.5), QPointF(kWidth, horizon + 0.5));
    for (int i = 0; i < 90; ++i) {
        const double y = horizon + 3 + std::pow(rnd.uniform(), 1.6) * (kHeight - horizon - 20);
        const double len = 4 + (y - horizon) * 0.25 * rnd.range(0.5, 1.5);
        const double x = rnd.range(0, kWidth);
        const int a = int(rnd.range(50, 130));
        p.setPen(QPen(rgba(220, 238, 246, a), 1.0 + (y - horizon) / 80.0));
        p.drawLine(QPointF(x, y), QPointF(x + len, y));
    }
    // Glitter under the sun.
    for (int i = 0; i < 40; ++i) {
        const double y = horizon + 2 + rnd.range(0, 30);
        const double x = 70 + rnd.range(-18, 18) * (1 + (y - horizon) / 20);
        p.setPen(QPen(rgba(248, 244, 220, int(rnd.range(90, 180))), 1));
        p.drawLine(QPointF(x, y), QPointF(x + rnd.range(3, 8), y));
    }

    // Beach and dune grass in front.
    QPainterPath beach;
    beach.moveTo(-2, 172);
    beach.cubicTo(120, 164, 300, 178, kWidth + 2, 168);
    beach.lineTo(kWidth + 2, kHeight + 2);
    beach.lineTo(-2, kHeight + 2);
    beach.closeSubpath();
    QPainterPath foam;
    foam.moveTo(-2, 170);
    foam.cubicTo(120, 162, 300, 176, kWidth + 2, 166);
    p.setPen(QPen(rgba(236, 244, 246, 200), 2.2));
    p.setBrush(Qt::NoBrush);
    p.drawPath(foam);
    fillVertical(p, beach, rgba(236, 216, 172), rgba(214, 188, 138), 165, 200);

    // Sunflowers: a cluster on the left, a few on the right.
    const struct { double x, y, r, lean; } flowers[] = {
        {34, 120, 21, 6},  {78, 140, 17, -4}, {8, 156, 15, 3},  {114, 160, 13, -6},
        {440, 128, 19, -5}, {472, 150, 15, 4}, {408, 162, 12, 6},
    };
    for (const auto &f : flowers)
        drawSunflower(p, rnd, QPointF(f.x, f.y), f.r, kHeight, f.lean);
    return img;
}

// ---------------------------------------------------------------- autumn

QPainterPath mapleShape()
{
    // A Japanese maple leaf of seven pointed, toothed lobes, unit size, stem down.
    // Lobes from the lower right over the top to the lower left (angles in degrees,
    // y pointing down).
    const double lobeAngle[] = {28, -14, -52, -90, -128, -166, -208};
    const double lobeLength[] = {0.5, 0.8, 0.95, 1.0, 0.95, 0.8, 0.5};
    // One side of a lobe: (distance along the lobe as a fraction of its length,
    // half width as a fraction of its length); the odd points are teeth.
    const double side[][2] = {{0.5, 0.15}, {0.62, 0.17}, {0.66, 0.13}, {0.75, 0.125},
                              {0.79, 0.09}, {0.87, 0.075}, {0.9, 0.045}};
    auto at = [](double angleDeg, double along, double across) {
        const double a = angleDeg * kPi / 180;
        return QPointF(std::cos(a) * along - std::sin(a) * across,
                       std::sin(a) * along + std::cos(a) * across);
    };
    QPainterPath path;
    path.moveTo(0, 0.1);                                   // where the stem joins
    for (int i = 0; i < 7; ++i) {
        const double a = lobeAngle[i], len = lobeLength[i];
        if (i > 0)                                          // notch between two lobes
            path.lineTo(at((a + lobeAngle[i - 1]) / 2, 0.24, 0));
        // "across" > 0 lies on the side of larger angles, which comes first.
        path.lineTo(at(a, 0.3, 0.085));
        for (const auto &pt : side)
            path.lineTo(at(a, pt[0] * len, pt[1] * len));
        path.lineTo(at(a, len, 0));
        for (int k = 6; k >= 0; --k)
            path.lineTo(at(a, side[k][0] * len, -side[k][1] * len));
        path.lineTo(at(a, 0.3, -0.085));
    }
    path.closeSubpath();
    return path;
}

void drawMaple(QPainter &p, QPointF at, double size, double angle, const QColor &colour)
{
    static const QPainterPath unit = mapleShape();
    p.save();
    p.translate(at);
    p.rotate(angle);
    p.scale(size, size);
    QRadialGradient g(QPointF(0, -0.1), 1.0);
    g.setColorAt(0, mix(colour, rgba(250, 230, 150), 0.25));
    g.setColorAt(1, colour);
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawPath(unit);
    // Veins and stem.
    p.setPen(QPen(mix(colour, rgba(90, 30, 20), 0.45), 0.05, Qt::SolidLine, Qt::RoundCap));
    for (double a : {-90.0, -52.0, -128.0, -14.0, -166.0, 28.0, -208.0})
        p.drawLine(QPointF(0, 0), QPointF(std::cos(a * kPi / 180), std::sin(a * kPi / 180)) * 0.6);
    p.setPen(QPen(mix(colour, rgba(90, 30, 20), 0.6), 0.07, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(0, 0), QPointF(0.05, 0.55));
    p.restore();
}

QImage autumn()
{
    Random rnd(4404);
    QImage img(kWidth, kHeight, QImage::Format_RGB32);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);

    fillSky(p, {{0.0, rgba(112, 150, 196)}, {0.45, rgba(196, 196, 204)}, {0.8, rgba(244, 204, 160)},
                {1.0, rgba(246, 186, 136)}},
            120);
    softGlow(p, QPointF(170, 108), 90, rgba(250, 220, 170, 140));

    // Three ranges of mountains, hazy blue to deep red.
    QPainterPath far = ridge(rnd, 84, 22, 3, 0.6);
    fillVertical(p, far, rgba(150, 150, 184), rgba(184, 164, 176), 60, 120);

    QPainterPath mid = ridge(rnd, 112, 16, 3, 0.5);
    fillVertical(p, mid, rgba(196, 120, 92), rgba(176, 96, 80), 90, 150);
    // Canopy texture: dots of autumn colour on the middle range.
    {
        p.save();
        p.setClipPath(mid);
        const QColor canopy[] = {rgba(214, 128, 72), rgba(226, 162, 76), rgba(186, 84, 66),
                                 rgba(150, 112, 74), rgba(232, 186, 96)};
        p.setPen(Qt::NoPen);
        for (int i = 0; i < 700; ++i) {
            const double x = rnd.range(0, kWidth);
            const double y = ridgeY(mid, std::round(x / 2) * 2) + rnd.range(0, 50);
            p.setBrush(withAlpha(canopy[rnd.integer(0, 4)], 170));
            p.drawEllipse(QPointF(x, y), rnd.range(2, 4), rnd.range(1.6, 3));
        }
        p.restore();
    }

    // A still lake reflecting the warm sky.
    const double shore = 150;
    QLinearGradient lake(0, shore, 0, kHeight);
    lake.setColorAt(0, rgba(226, 178, 140));
    lake.setColorAt(1, rgba(118, 122, 150));
    p.fillRect(QRectF(0, shore, kWidth, kHeight - shore), lake);
    p.setPen(QPen(rgba(246, 220, 190, 90), 1));
    for (int i = 0; i < 24; ++i) {
        const double y = shore + 4 + rnd.range(0, 44);
        const double x = rnd.range(0, kWidth);
        p.drawLine(QPointF(x, y), QPointF(x + rnd.range(10, 40), y));
    }

    // Near bank with red and yellow trees down to the water.
    QPainterPath bank = ridge(rnd, 140, 8, 2, 0.3, shore + 1);
    fillVertical(p, bank, rgba(150, 70, 52), rgba(116, 58, 48), 125, shore);
    {
        const QColor crowns[] = {rgba(204, 66, 46), rgba(228, 132, 48), rgba(236, 184, 64),
                                 rgba(176, 52, 44), rgba(150, 96, 60)};
        p.setPen(Qt::NoPen);
        for (int layer = 0; layer < 3; ++layer) {
            for (double x = rnd.range(0, 5); x < kWidth + 5; x += rnd.range(4, 8)) {
                const double top = ridgeY(bank, std::clamp(std::round(x / 2) * 2, 0.0, double(kWidth)));
                const double r = rnd.range(2.5, 4.5);
                const double y = top + r * 0.3 + layer * 3.5 + rnd.range(0, 2);
                if (y > shore - 2)
                    continue;
                p.setBrush(withAlpha(crowns[rnd.integer(0, 4)], 230));
                p.drawEllipse(QPointF(x, y), r, r * 0.85);
            }
        }
        // Their reflection in the water, faint and stretched.
        p.save();
        p.setClipRect(QRectF(0, shore, kWidth, 16));
        QTransform mirror;
        mirror.translate(0, 2 * shore);
        mirror.scale(1, -1);
        QLinearGradient refl(0, shore, 0, shore + 16);
        refl.setColorAt(0, rgba(160, 70, 52, 120));
        refl.setColorAt(1, rgba(160, 70, 52, 0));
        p.fillPath(mirror.map(bank), refl);
        p.restore();
    }
    p.setPen(QPen(rgba(96, 52, 46, 160), 1));
    p.drawLine(QPointF(0, shore + 0.5), QPointF(kWidth, shore + 0.5));

    // Maple branch from the top right.
    QPainterPath branch;
    branch.moveTo(kWidth + 6, -4);
    branch.cubicTo(430, 20, 390, 14, 330, 34);
    QPainterPath twig1;
    twig1.moveTo(420, 14);
    twig1.quadTo(410, 40, 396, 58);
    QPainterPath twig2;
    twig2.moveTo(372, 24);
    twig2.quadTo(350, 12, 318, 10);
    p.setPen(QPen(rgba(84, 52, 46), 4, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawPath(branch);
    p.setPen(QPen(rgba(84, 52, 46), 2, Qt::SolidLine, Qt::RoundCap));
    p.drawPath(twig1);
    p.drawPath(twig2);
    const QColor leafColours[] = {rgba(206, 50, 40), rgba(222, 86, 44), rgba(232, 140, 46),
                                  rgba(238, 184, 58), rgba(190, 40, 44)};
    std::vector<QPointF> spots;
    for (const QPainterPath *path : {&branch, &twig1, &twig2})
        for (double t = 0.2; t <= 1.0; t += 0.16)
            spots.push_back(path->pointAtPercent(t));
    for (const QPointF &s : spots) {
        const int n = rnd.integer(1, 2);
        for (int k = 0; k < n; ++k)
            drawMaple(p, s + QPointF(rnd.range(-8, 8), rnd.range(4, 14)), rnd.range(10, 15),
                      rnd.range(-50, 50), leafColours[rnd.integer(0, 4)]);
    }

    // Falling leaves.
    for (int i = 0; i < 16; ++i)
        drawMaple(p, QPointF(rnd.range(20, kWidth - 20), rnd.range(40, 190)), rnd.range(5, 9),
                  rnd.range(0, 360), leafColours[rnd.integer(0, 4)]);
    return img;
}

// ---------------------------------------------------------------- output

void clampChannels(QImage &img, int ceiling)
{
    for (int y = 0; y < img.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(img.scanLine(y));
        for (int x = 0; x < img.width(); ++x) {
            const QRgb c = line[x];
            line[x] = qRgb(std::min(qRed(c), ceiling), std::min(qGreen(c), ceiling),
                           std::min(qBlue(c), ceiling));
        }
    }
}

int countPureWhite(const QImage &img)
{
    const QImage rgb = img.convertToFormat(QImage::Format_RGB32);
    int n = 0;
    for (int y = 0; y < rgb.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(rgb.constScanLine(y));
        for (int x = 0; x < rgb.width(); ++x)
            n += (line[x] & 0xFFFFFF) == 0xFFFFFF;
    }
    return n;
}

}  // namespace

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_samples <output folder>\n");
        return 2;
    }
    const QDir dir(QString::fromLocal8Bit(argv[1]));
    if (!QDir().mkpath(dir.path())) {
        std::fprintf(stderr, "cannot create %s\n", argv[1]);
        return 1;
    }
    const std::function<QImage()> scenes[] = {winter, spring, summer, autumn};
    int status = 0;
    for (int i = 0; i < 4; ++i) {
        QImage img = scenes[i]();
        clampChannels(img, kCeiling);
        const QString file = dir.filePath(QStringLiteral("Sample%1.jpg").arg(i + 1));
        if (!img.save(file, "JPEG", kQuality)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
            return 1;
        }
        const int white = countPureWhite(QImage(file));
        std::printf("%s: %d pure white pixels, %lld bytes\n", qPrintable(file), white,
                    static_cast<long long>(QFileInfo(file).size()));
        if (white != 0)
            status = 1;
    }
    return status;
}
