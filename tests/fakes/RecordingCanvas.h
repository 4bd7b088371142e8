#pragma once

#include "core/platform/Canvas.h"

#include <vector>

namespace vimbo::fakes {

// Keeps every fill and stroke with the line width it was drawn with, for geometry checks.
class RecordingCanvas : public platform::Canvas {
  public:
    struct Operation {
        platform::CanvasPath path;
        platform::CanvasRect rect;
        platform::CanvasColor color;
        double lineWidth;
    };

    void save() override { saved_.push_back(lineWidth_); }
    void restore() override {
        if (saved_.empty()) return;
        lineWidth_ = saved_.back();
        saved_.pop_back();
    }
    void setBlendMode(platform::CanvasBlendMode) override {}
    void setLineWidth(double width) override { lineWidth_ = width; }
    void setLineCap(platform::CanvasLineCap) override {}
    void setLineJoin(platform::CanvasLineJoin) override {}
    void fillPath(const platform::CanvasPath& path, platform::CanvasColor color) override {
        operations.push_back({path, {}, color, lineWidth_});
    }
    void strokePath(const platform::CanvasPath& path, platform::CanvasColor color) override {
        operations.push_back({path, {}, color, lineWidth_});
    }
    void fillEllipse(platform::CanvasRect rect, platform::CanvasColor color) override {
        operations.push_back({{}, rect, color, lineWidth_});
    }

    std::size_t saveDepth() const { return saved_.size(); }
    std::vector<Operation> operations;

  private:
    double lineWidth_ = 1;
    std::vector<double> saved_;
};

} // namespace vimbo::fakes
