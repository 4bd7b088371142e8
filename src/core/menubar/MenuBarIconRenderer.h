#pragma once

#include "core/menubar/DandelionState.h"
#include "core/menubar/DustSeed.h"
#include "core/menubar/DustState.h"
#include "core/menubar/MenuBarAudioFrame.h"
#include "core/menubar/MenuBarIconImage.h"
#include "core/menubar/MenuBarSkin.h"
#include "core/menubar/SlimeState.h"
#include "core/util/ThreadChecker.h"

#include <memory>
#include <vector>

namespace vimbo::menubar {

// Animates the three skins and hands out one icon image per rendered frame. Main thread only.
class MenuBarIconRenderer {
  public:
    static constexpr double kMaximumFrameStep = 0.1;
    static constexpr double kBeatKickThreshold = 0.05;

    MenuBarIconRenderer();

    // Advances the selected skin by deltaTime (clamped to 0...0.1 s) and returns its image.
    MenuBarIconImage image(MenuBarSkin skin, const MenuBarAudioFrame& audio, double deltaTime);

    double time() const { return time_; }
    double lastBeat() const { return lastBeat_; }
    const std::vector<DustSeed>& dustSeeds() const { return *dustSeeds_; }
    const SlimeState& slime() const { return slime_; }
    const DustState& dust() const { return dust_; }
    const DandelionState& dandelion() const { return dandelion_; }

  private:
    void advance(MenuBarSkin skin, const MenuBarAudioFrame& audio, double deltaTime, double beatRise);
    void advanceSlime(const MenuBarAudioFrame& audio, double deltaTime, double h, double beatRise);
    void advanceDust(const MenuBarAudioFrame& audio, double h, double beatRise);
    void advanceDandelion(const MenuBarAudioFrame& audio, double deltaTime, double beatRise);
    template <std::size_t count>
    void advanceSway(std::array<Spring, count>& springs, const MenuBarAudioFrame& audio, double deltaTime,
                     double offset);

    // Shared with the images handed out, which may outlive a frame.
    std::shared_ptr<const std::vector<DustSeed>> dustSeeds_;
    double time_ = 0;
    double lastBeat_ = 0;
    SlimeState slime_;
    DandelionState dandelion_;
    DustState dust_;
    util::ThreadChecker mainThread_;
};

} // namespace vimbo::menubar
