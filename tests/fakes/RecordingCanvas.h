#pragma once

#include "core/platform/Canvas.h"

#include <stdexcept>
#include <vector>

namespace vimbo::fakes {

// Keeps every fill and stroke with the drawing state it was drawn in, for geometry checks.
class RecordingCanvas : public platform::Canvas {
  public:
    struct State {
        double lineWidth = 1;
        platform::CanvasBlendMode blendMode = platform::CanvasBlendMode::normal;
        platform::CanvasLineCap lineCap = platform::CanvasLineCap::butt;
    };
    struct Operation {
        platform::CanvasPath path;
        platform::CanvasRect rect;
        platform::CanvasColor color;
        State state;
    };

    void save() override { saved_.push_back(state_); }
    void restore() override {
        if (saved_.empty()) throw std::logic_error("restore without save");
        state_ = saved_.back();
        saved_.pop_back();
    }
    void setBlendMode(platform::CanvasBlendMode mode) override { state_.blendMode = mode; }
    void setLineWidth(double width) override { state_.lineWidth = width; }
    void setLineCap(platform::CanvasLineCap cap) override { state_.lineCap = cap; }
    void setLineJoin(platform::CanvasLineJoin) override {}
    void fillPath(const platform::CanvasPath& path, platform::CanvasColor color) override {
        operations.push_back({path, {}, color, state_});
    }
    void strokePath(const platform::CanvasPath& path, platform::CanvasColor color) override {
        operations.push_back({path, {}, color, state_});
    }
    void fillEllipse(platform::CanvasRect rect, platform::CanvasColor color) override {
        operations.push_back({{}, rect, color, state_});
    }

    std::size_t saveDepth() const { return saved_.size(); }
    std::vector<Operation> operations;

  private:
    State state_;
    std::vector<State> saved_;
};

} // namespace vimbo::fakes
