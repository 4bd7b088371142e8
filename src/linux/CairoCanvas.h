#pragma once

#include "core/platform/Canvas.h"
#include "core/platform/TemplateImage.h"

#include <cairo.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace vimbo::linuxdesktop {

// An ARGB32 image the size of a template image at a given scale, drawn with Cairo. Origin
// bottom-left in points; every colour is replaced by the tint, keeping only its alpha, because the
// icon is a template the host would colour.
class CairoCanvas : public platform::Canvas {
  public:
    CairoCanvas(double widthPoints, double heightPoints, double scale, platform::CanvasColor tint);

    // Clears to transparent and draws the image, in a saved state.
    void render(const platform::TemplateImage& image);
    void setTint(platform::CanvasColor tint) { tint_ = tint; }

    int pixelWidth() const { return width_; }
    int pixelHeight() const { return height_; }
    // Alpha of the pixel in 0...1, rows counted from the top as stored.
    double alphaAt(int x, int y) const;
    // Straight (not premultiplied) A, R, G, B bytes per pixel, rows from the top: what
    // StatusNotifierItem pixmaps carry.
    std::vector<std::uint8_t> straightArgbBytes() const;
    bool writePng(const std::string& path) const;
    cairo_surface_t* surface() const { return surface_.get(); }

    void save() override;
    void restore() override;
    void setBlendMode(platform::CanvasBlendMode mode) override;
    void setLineWidth(double width) override;
    void setLineCap(platform::CanvasLineCap cap) override;
    void setLineJoin(platform::CanvasLineJoin join) override;
    void fillPath(const platform::CanvasPath& path, platform::CanvasColor color) override;
    void strokePath(const platform::CanvasPath& path, platform::CanvasColor color) override;
    void fillEllipse(platform::CanvasRect rect, platform::CanvasColor color) override;

  private:
    struct SurfaceDeleter {
        void operator()(cairo_surface_t* surface) const { cairo_surface_destroy(surface); }
    };
    struct ContextDeleter {
        void operator()(cairo_t* context) const { cairo_destroy(context); }
    };

    // Discs up to this radius in pixels (every dust dot) are drawn straight into the pixels: a
    // Cairo fill costs a few microseconds however small, and the dust skin has 200 of them.
    static constexpr double kMaximumSmallDiscRadius = 4;

    struct DiscCoverage;
    bool fillSmallDisc(double centreX, double centreY, double radius, platform::CanvasColor color);
    static DiscCoverage discCoverage(double cx, double cy, double r);
    void blendDisc(const DiscCoverage& disc, double alpha);
    // The context, after handing back any pixels written directly.
    cairo_t* cairoForDrawing();
    void addPath(const platform::CanvasPath& path);
    void setColor(platform::CanvasColor color);

    int width_;
    int height_;
    double scale_;
    platform::CanvasColor tint_;
    std::unique_ptr<cairo_surface_t, SurfaceDeleter> surface_;
    std::unique_ptr<cairo_t, ContextDeleter> context_;
    platform::CanvasBlendMode blendMode_ = platform::CanvasBlendMode::normal;
    std::vector<platform::CanvasBlendMode> blendStack_;
    bool pixelsDirect_ = false;
};

} // namespace vimbo::linuxdesktop
