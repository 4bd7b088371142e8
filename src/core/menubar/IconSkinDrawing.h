#pragma once

#include "core/menubar/DandelionState.h"
#include "core/menubar/DustSeed.h"
#include "core/menubar/DustState.h"
#include "core/menubar/MenuBarAudioFrame.h"
#include "core/menubar/SlimeState.h"
#include "core/platform/Canvas.h"

#include <vector>

namespace vimbo::menubar {

// Closed uniform Catmull-Rom spline through the points as cubic Beziers; empty below 3 points.
platform::CanvasPath smoothClosedPath(const std::vector<platform::CanvasPoint>& points);

// The three skins; each reads its state and never changes it. Colours are black with an alpha.
void drawSlime(platform::Canvas& canvas, platform::CanvasRect rect, const SlimeState& slime);
void drawDust(platform::Canvas& canvas, platform::CanvasRect rect, const MenuBarAudioFrame& audio,
              double time, const DustState& dust, const std::vector<DustSeed>& seeds);
void drawDandelion(platform::Canvas& canvas, platform::CanvasRect rect, const MenuBarAudioFrame& audio,
                   double time, const DandelionState& dandelion);

} // namespace vimbo::menubar
