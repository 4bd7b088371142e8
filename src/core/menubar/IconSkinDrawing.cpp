#include "core/menubar/IconSkinDrawing.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace vimbo::menubar {

using platform::Canvas;
using platform::CanvasColor;
using platform::CanvasPath;
using platform::CanvasPoint;
using platform::CanvasRect;

namespace {

constexpr double kTwoPi = 2 * std::numbers::pi;

CanvasPoint centre(CanvasRect rect) {
    return {rect.x + rect.width / 2, rect.y + rect.height / 2};
}

struct StrandLayer {
    double alpha;
    double lineWidth;
    double angleOffset;
    double baseLength;
};

template <std::size_t count>
void drawStrands(Canvas& canvas, CanvasPoint c, const MenuBarAudioFrame& audio, double t,
                 const DandelionState& dandelion, const std::array<Spring, count>& springs,
                 StrandLayer layer) {
    const double lengthResponse = 0.6 * audio.level + 0.5 + 1.1 * audio.energy + 0.9 * audio.bass;
    const double spikeGain = 0.2 * audio.treble + 0.5 * audio.beat;
    canvas.setLineWidth(layer.lineWidth);
    const double n = static_cast<double>(count);
    for (std::size_t i = 0; i < count; ++i) {
        double f = static_cast<double>(i) / n;
        double v = springs[i].value;
        double w = springs[i].velocity;
        double theta = v + kTwoPi * f + layer.angleOffset;
        double lenN = dandelion.length.value(f * 53 + t * 0.3);
        double sp = dandelion.spike.value(f * 71 + t * 0.9);
        double length =
            std::min(0.9 * audio.mid + (lengthResponse * lenN + layer.baseLength) + dandelion.puff.value +
                         spikeGain * std::pow(std::max(sp, 0.0), 2.2) * 4.5,
                     8.6);
        double bend = -0.55 * w + 1.5 * dandelion.length.value(f * 31 + t * 0.5 + 200);
        double dx = std::cos(theta);
        double dy = std::sin(theta);
        CanvasPath path;
        path.moveTo(c);
        path.curveTo(
            {c.x + dx * length * 0.35, c.y + dy * length * 0.35},
            {c.x + dx * length * 0.75 - dy * bend * 0.35, c.y + dy * length * 0.75 + dx * bend * 0.35},
            {c.x + dx * length - dy * bend * 0.6, c.y + dy * length + dx * bend * 0.6});
        canvas.strokePath(path, CanvasColor::black(layer.alpha));
    }
}

} // namespace

CanvasPath smoothClosedPath(const std::vector<CanvasPoint>& points) {
    CanvasPath path;
    const std::size_t n = points.size();
    if (n < 3) return path;
    path.moveTo(points[0]);
    for (std::size_t i = 0; i < n; ++i) {
        const CanvasPoint& p0 = points[(i + n - 1) % n];
        const CanvasPoint& p1 = points[i];
        const CanvasPoint& p2 = points[(i + 1) % n];
        const CanvasPoint& p3 = points[(i + 2) % n];
        path.curveTo({p1.x + (p2.x - p0.x) / 6, p1.y + (p2.y - p0.y) / 6},
                     {p2.x - (p3.x - p1.x) / 6, p2.y - (p3.y - p1.y) / 6}, p2);
    }
    path.close();
    return path;
}

void drawSlime(Canvas& canvas, CanvasRect rect, const SlimeState& slime) {
    const CanvasPoint c = centre(rect);
    const double s = std::clamp(slime.squash.value, -1.4, 1.4);
    const std::size_t n = slime.radii.size();
    std::vector<CanvasPoint> points;
    points.reserve(n);
    for (std::size_t i = 0; i < n; ++i) {
        double theta = kTwoPi * static_cast<double>(i) / static_cast<double>(n);
        double r = std::clamp(slime.radii[i].value, 3.2, 8.3);
        points.push_back(
            {c.x + (1 + 0.115 * s) * r * std::cos(theta), c.y + (1 - 0.09 * s) * r * std::sin(theta)});
    }
    canvas.fillPath(smoothClosedPath(points), CanvasColor::black(0.9));

    // Punch half the alpha out of a spot up and to the left: a highlight that survives tinting.
    canvas.save();
    canvas.setBlendMode(platform::CanvasBlendMode::destinationOut);
    canvas.fillEllipse({c.x - 3.7, c.y + 1.6, 3.5, 2.1}, CanvasColor::black(0.5));
    canvas.restore();
}

void drawDust(Canvas& canvas, CanvasRect rect, const MenuBarAudioFrame& audio, double t,
              const DustState& dust, const std::vector<DustSeed>& seeds) {
    const CanvasPoint c = centre(rect);
    const double p = std::clamp(dust.pulse.value, -0.5, 1.7);
    const double pPlus = std::max(p, 0.0);
    const double baseRadius = 0.95 * p + 7.5;
    const double wobble = 0.08 * audio.level + 0.2 + 0.14 * audio.energy + 0.12 * audio.bass + 0.1 * pPlus;
    const double jitter = 0.16 * audio.energy + 0.05 + 0.14 * pPlus;
    const double trebleBoost = 0.1 * audio.treble;
    // A fixed view: a turn of 0.7 about the vertical axis, then 0.35 about the horizontal one.
    const double c1 = 0.7648421872844885;
    const double s1 = 0.644217687237691;
    const double c2 = 0.9393727128473789;
    const double s2 = 0.34289780745545134;

    for (const DustSeed& seed : seeds) {
        double X = seed.x * c1 + seed.z * s1;
        double Z1 = seed.z * c1 - seed.x * s1;
        double Y = seed.y * c2 - Z1 * s2;
        double depth = (seed.y * s2 + Z1 * c2 + 1) * 0.5;
        double q = t * 0.5 + seed.phase * 5.1;
        double jx = jitter * dust.drift.value(q);
        double jy = jitter * dust.drift.value(q + 500);
        double g1 = dust.surf.value(t * 0.5 + (seed.x * 1.4 + seed.y * 1.1));
        double g2 = dust.surf.value(seed.z * 1.3 - seed.y * 0.8 - t * 0.5 * 0.7 + 500);
        double R = std::min(baseRadius * (wobble * (g1 + 0.6 * g2) + 1), 8.9);
        double edge = std::pow(std::min(std::sqrt(X * X + Y * Y), 1.0), 4);
        double alpha =
            std::min(trebleBoost + 0.2 * p + ((seed.shell ? 0.32 : 0.15) + 0.3 * depth + 0.35 * edge), 0.94);
        double r = (1 + 0.45 * p) * seed.size * (0.8 + 0.45 * depth);
        double px = c.x + (X + jx) * R;
        double py = c.y + (Y + jy) * R;
        canvas.fillEllipse({px - r, py - r, 2 * r, 2 * r}, CanvasColor::black(alpha));
    }
}

void drawDandelion(Canvas& canvas, CanvasRect rect, const MenuBarAudioFrame& audio, double t,
                   const DandelionState& dandelion) {
    const CanvasPoint c = centre(rect);
    canvas.setLineCap(platform::CanvasLineCap::round);
    canvas.setLineJoin(platform::CanvasLineJoin::round);
    drawStrands(canvas, c, audio, t, dandelion, dandelion.thinSway, {0.45, 0.34, 0.09, 6.4});
    drawStrands(canvas, c, audio, t, dandelion, dandelion.thickSway, {0.8, 0.52, 0.0, 7.4});
}

} // namespace vimbo::menubar
