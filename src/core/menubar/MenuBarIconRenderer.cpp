#include "core/menubar/MenuBarIconRenderer.h"

#include "core/menubar/IconSkinDrawing.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace vimbo::menubar {

MenuBarIconRenderer::MenuBarIconRenderer()
    : dustSeeds_(std::make_shared<const std::vector<DustSeed>>(generateDustSeeds())) {}

MenuBarIconImage MenuBarIconRenderer::image(MenuBarSkin skin, const MenuBarAudioFrame& audio,
                                            double deltaTime) {
    mainThread_.check();
    double dt = std::clamp(deltaTime, 0.0, kMaximumFrameStep);
    if (std::isnan(deltaTime)) dt = 0;
    double beatRise = std::max(0.0, audio.beat - lastBeat_);
    time_ += dt;
    lastBeat_ = audio.beat;
    advance(skin, audio, dt, beatRise);

    // The image keeps its own copy of what it draws, so later frames cannot change it.
    const double t = time_;
    switch (skin) {
    case MenuBarSkin::slime:
        return {kMenuBarIconSize, kMenuBarIconSize,
                [slime = slime_](platform::Canvas& canvas, platform::CanvasRect rect) {
                    canvas.save();
                    drawSlime(canvas, rect, slime);
                    canvas.restore();
                }};
    case MenuBarSkin::dust:
        return {kMenuBarIconSize, kMenuBarIconSize,
                [audio, t, dust = dust_, seeds = dustSeeds_](platform::Canvas& canvas,
                                                             platform::CanvasRect rect) {
                    canvas.save();
                    drawDust(canvas, rect, audio, t, dust, *seeds);
                    canvas.restore();
                }};
    case MenuBarSkin::dandelion:
        return {kMenuBarIconSize, kMenuBarIconSize,
                [audio, t, dandelion = dandelion_](platform::Canvas& canvas, platform::CanvasRect rect) {
                    canvas.save();
                    drawDandelion(canvas, rect, audio, t, dandelion);
                    canvas.restore();
                }};
    }
    return {};
}

void MenuBarIconRenderer::advance(MenuBarSkin skin, const MenuBarAudioFrame& audio, double deltaTime,
                                  double beatRise) {
    if (!(deltaTime > 0)) return;
    double h = std::min(deltaTime, Spring::kMaximumStep);
    switch (skin) {
    case MenuBarSkin::slime:
        advanceSlime(audio, deltaTime, h, beatRise);
        break;
    case MenuBarSkin::dust:
        advanceDust(audio, h, beatRise);
        break;
    case MenuBarSkin::dandelion:
        advanceDandelion(audio, deltaTime, beatRise);
        break;
    }
}

void MenuBarIconRenderer::advanceSlime(const MenuBarAudioFrame& audio, double deltaTime, double h,
                                       double beatRise) {
    const double t = time_;
    const double base = 0.5 * audio.level + 1.4 * audio.bass + 0.3 * audio.energy;
    const double texture = 1.2 * audio.mid + 0.7 * audio.treble;
    auto& radii = slime_.radii;
    const std::size_t n = radii.size();
    for (std::size_t i = 0; i < n; ++i) {
        const OrganicNoise& noise = slime_.pointNoise[i];
        double a = noise.value(t * 0.26);
        double b = noise.value(t * 1.6 + 40);
        double target = std::min(base + (0.42 * a + 6.95) + texture * b * 1.4, 8.0);
        radii[i].update(target, h);
    }
    // Neighbours pull each other towards their mean; only velocities change, so order is free.
    for (std::size_t i = 0; i < n; ++i) {
        double prev = radii[(i + n - 1) % n].value;
        double next = radii[(i + 1) % n].value;
        double cur = radii[i].value;
        radii[i].velocity += deltaTime * ((prev + next) * 0.5 - cur) * 26;
    }
    if (beatRise > kBeatKickThreshold) {
        slime_.squash.velocity += 50 * beatRise;
        for (std::size_t i = 0; i < n; ++i)
            radii[i].velocity += 30 * beatRise * (i % 2 == 0 ? 1.0 : -0.65);
    }
    slime_.squash.update(0, deltaTime);
}

void MenuBarIconRenderer::advanceDust(const MenuBarAudioFrame& audio, double h, double beatRise) {
    Spring& pulse = dust_.pulse;
    double v = pulse.velocity;
    if (beatRise > kBeatKickThreshold) v += 20 * beatRise;
    double target = 0.5 * audio.level + 1.2 * audio.bass + 0.3 * audio.mid;
    pulse.velocity = v + h * (pulse.stiffness * (target - pulse.value) - pulse.damping * v);
    pulse.value += h * pulse.velocity;
}

void MenuBarIconRenderer::advanceDandelion(const MenuBarAudioFrame& audio, double deltaTime,
                                           double beatRise) {
    const double t = time_;
    if (beatRise > kBeatKickThreshold) {
        dandelion_.puff.velocity += 20 * beatRise;
        auto kick = [&](auto& springs) {
            const double n = static_cast<double>(springs.size());
            for (std::size_t i = 0; i < springs.size(); ++i) {
                double f = static_cast<double>(i) / n;
                springs[i].velocity += 4.5 * beatRise * dandelion_.spike.value(t * 0.11 + f * 37);
            }
        };
        kick(dandelion_.thinSway);
        kick(dandelion_.thickSway);
    }
    dandelion_.puff.update(0, deltaTime);
    advanceSway(dandelion_.thinSway, audio, deltaTime, 0.09);
    advanceSway(dandelion_.thickSway, audio, deltaTime, 0);
}

template <std::size_t count>
void MenuBarIconRenderer::advanceSway(std::array<Spring, count>& springs, const MenuBarAudioFrame& audio,
                                      double deltaTime, double offset) {
    if (!(deltaTime > 0)) return;
    const double t = time_;
    const double n = static_cast<double>(count);
    for (std::size_t i = 0; i < count; ++i) {
        double f = static_cast<double>(i) / n;
        double w = dandelion_.wind.value(t * 0.42 + std::sin(offset + 2 * std::numbers::pi * f) * 1.1);
        double fl = dandelion_.flutter.value(t * 3.4 + f * 97);
        double target = 0.5 * w + 0.5 * audio.treble * fl;
        springs[i].update(target, std::min(deltaTime, Spring::kMaximumStep));
    }
}

} // namespace vimbo::menubar
