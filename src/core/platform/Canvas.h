#pragma once

#include <array>
#include <vector>

namespace vimbo::platform {

struct CanvasPoint {
    double x = 0;
    double y = 0;
};

struct CanvasRect {
    double x = 0;
    double y = 0;
    double width = 0;
    double height = 0;
};

struct CanvasColor {
    double red = 0;
    double green = 0;
    double blue = 0;
    double alpha = 1;

    static CanvasColor black(double alpha) { return {0, 0, 0, alpha}; }
};

enum class CanvasBlendMode { normal, destinationOut };
enum class CanvasLineCap { butt, round };
enum class CanvasLineJoin { miter, round };

// A vector path of straight and cubic segments, in the canvas's own coordinates.
class CanvasPath {
  public:
    enum class Verb { move, line, cubic, close };
    struct Element {
        Verb verb;
        std::array<CanvasPoint, 3> points; // line and move use [0]; cubic: control 1, control 2, end
    };

    void moveTo(CanvasPoint point) { elements_.push_back({Verb::move, {point, {}, {}}}); }
    void lineTo(CanvasPoint point) { elements_.push_back({Verb::line, {point, {}, {}}}); }
    void curveTo(CanvasPoint control1, CanvasPoint control2, CanvasPoint end) {
        elements_.push_back({Verb::cubic, {control1, control2, end}});
    }
    void close() { elements_.push_back({Verb::close, {}}); }

    bool empty() const { return elements_.empty(); }
    const std::vector<Element>& elements() const { return elements_; }

  private:
    std::vector<Element> elements_;
};

// The least 2D drawing surface the tray icon needs. Origin bottom-left, y upwards, in points;
// fills use the non-zero winding rule, and antialiasing is always on.
class Canvas {
  public:
    virtual ~Canvas() = default;

    virtual void save() = 0;
    virtual void restore() = 0;
    virtual void setBlendMode(CanvasBlendMode mode) = 0;
    virtual void setLineWidth(double width) = 0;
    virtual void setLineCap(CanvasLineCap cap) = 0;
    virtual void setLineJoin(CanvasLineJoin join) = 0;

    virtual void fillPath(const CanvasPath& path, CanvasColor color) = 0;
    virtual void strokePath(const CanvasPath& path, CanvasColor color) = 0;
    virtual void fillEllipse(CanvasRect rect, CanvasColor color) = 0;
};

} // namespace vimbo::platform
