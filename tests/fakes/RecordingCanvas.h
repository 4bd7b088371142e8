#pragma once

#include "core/platform/Canvas.h"

#include <vector>

namespace vimbo::fakes {

// Keeps every fill and stroke with the state it was drawn in, for geometry checks.
class RecordingCanvas : public platform::Canvas {
  public:
    struct Operation {
        enum class Kind { fillPath, strokePath, fillEllipse } kind;
        platform::CanvasPath path;
        platform::CanvasRect rect;
        platform::CanvasColor color;
        platform::CanvasBlendMode blendMode;
        double lineWidth;
    };

    void save() override { saved_.push_back(current_); }
    void restore() override {
        if (saved_.empty()) return;
        current_ = saved_.back();
        saved_.pop_back();
    }
    void setBlendMode(platform::CanvasBlendMode mode) override { current_.blendMode = mode; }
    void setLineWidth(double width) override { current_.lineWidth = width; }
    void setLineCap(platform::CanvasLineCap) override {}
    void setLineJoin(platform::CanvasLineJoin) override {}
    void fillPath(const platform::CanvasPath& path, platform::CanvasColor color) override {
        operations.push_back(
            {Operation::Kind::fillPath, path, {}, color, current_.blendMode, current_.lineWidth});
    }
    void strokePath(const platform::CanvasPath& path, platform::CanvasColor color) override {
        operations.push_back(
            {Operation::Kind::strokePath, path, {}, color, current_.blendMode, current_.lineWidth});
    }
    void fillEllipse(platform::CanvasRect rect, platform::CanvasColor color) override {
        operations.push_back(
            {Operation::Kind::fillEllipse, {}, rect, color, current_.blendMode, current_.lineWidth});
    }

    std::size_t saveDepth() const { return saved_.size(); }
    std::vector<Operation> operations;

  private:
    struct State {
        platform::CanvasBlendMode blendMode = platform::CanvasBlendMode::normal;
        double lineWidth = 1;
    };
    State current_;
    std::vector<State> saved_;
};

} // namespace vimbo::fakes
