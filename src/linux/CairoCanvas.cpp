#include "linux/CairoCanvas.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace vimbo::linuxdesktop {

using platform::CanvasColor;
using platform::CanvasPath;

CairoCanvas::CairoCanvas(double widthPoints, double heightPoints, double scale, CanvasColor tint)
    : width_(static_cast<int>(std::lround(widthPoints * scale))),
      height_(static_cast<int>(std::lround(heightPoints * scale))), scale_(scale), tint_(tint),
      surface_(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width_, height_)),
      context_(cairo_create(surface_.get())) {}

void CairoCanvas::render(const platform::TemplateImage& image) {
    cairo_t* cr = cairoForDrawing();
    cairo_save(cr);
    cairo_set_operator(cr, CAIRO_OPERATOR_CLEAR);
    cairo_paint(cr);
    cairo_restore(cr);

    cairo_save(cr);
    // Points with y upwards, as the drawing routines expect.
    cairo_translate(cr, 0, height_);
    cairo_scale(cr, scale_, -scale_);
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_DEFAULT);
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
    blendStack_.clear();
    blendMode_ = platform::CanvasBlendMode::normal;
    image.drawIn(*this);
    cairo_restore(cairoForDrawing());
    cairo_surface_flush(surface_.get());
}

double CairoCanvas::alphaAt(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return 0;
    const unsigned char* data = cairo_image_surface_get_data(surface_.get());
    int stride = cairo_image_surface_get_stride(surface_.get());
    std::uint32_t pixel = *reinterpret_cast<const std::uint32_t*>(data + y * stride + x * 4);
    return static_cast<double>(pixel >> 24) / 255.0;
}

std::vector<std::uint8_t> CairoCanvas::straightArgbBytes() const {
    const unsigned char* data = cairo_image_surface_get_data(surface_.get());
    int stride = cairo_image_surface_get_stride(surface_.get());
    std::vector<std::uint8_t> bytes;
    bytes.reserve(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_) * 4);
    for (int y = 0; y < height_; ++y) {
        auto* row = reinterpret_cast<const std::uint32_t*>(data + y * stride);
        for (int x = 0; x < width_; ++x) {
            std::uint32_t pixel = row[x];
            std::uint32_t alpha = pixel >> 24;
            auto straight = [alpha](std::uint32_t premultiplied) {
                return static_cast<std::uint8_t>(alpha == 0 ? 0 : (premultiplied * 255 + alpha / 2) / alpha);
            };
            bytes.push_back(static_cast<std::uint8_t>(alpha));
            bytes.push_back(straight((pixel >> 16) & 0xFF));
            bytes.push_back(straight((pixel >> 8) & 0xFF));
            bytes.push_back(straight(pixel & 0xFF));
        }
    }
    return bytes;
}

bool CairoCanvas::writePng(const std::string& path) const {
    return cairo_surface_write_to_png(surface_.get(), path.c_str()) == CAIRO_STATUS_SUCCESS;
}

void CairoCanvas::save() {
    cairo_save(context_.get());
}

void CairoCanvas::restore() {
    cairo_restore(context_.get());
}

void CairoCanvas::setBlendMode(platform::CanvasBlendMode mode) {
    blendMode_ = mode;
    cairo_set_operator(context_.get(), mode == platform::CanvasBlendMode::destinationOut
                                           ? CAIRO_OPERATOR_DEST_OUT
                                           : CAIRO_OPERATOR_OVER);
}

void CairoCanvas::setLineWidth(double width) {
    cairo_set_line_width(context_.get(), width);
}

void CairoCanvas::setLineCap(platform::CanvasLineCap cap) {
    cairo_set_line_cap(context_.get(),
                       cap == platform::CanvasLineCap::round ? CAIRO_LINE_CAP_ROUND : CAIRO_LINE_CAP_BUTT);
}

void CairoCanvas::setLineJoin(platform::CanvasLineJoin join) {
    cairo_set_line_join(context_.get(), join == platform::CanvasLineJoin::round ? CAIRO_LINE_JOIN_ROUND
                                                                                : CAIRO_LINE_JOIN_MITER);
}

void CairoCanvas::addPath(const CanvasPath& path) {
    cairo_t* cr = context_.get();
    cairo_new_path(cr);
    for (const CanvasPath::Element& element : path.elements()) {
        const auto& p = element.points;
        switch (element.verb) {
        case CanvasPath::Verb::move:
            cairo_move_to(cr, p[0].x, p[0].y);
            break;
        case CanvasPath::Verb::line:
            cairo_line_to(cr, p[0].x, p[0].y);
            break;
        case CanvasPath::Verb::cubic:
            cairo_curve_to(cr, p[0].x, p[0].y, p[1].x, p[1].y, p[2].x, p[2].y);
            break;
        case CanvasPath::Verb::close:
            cairo_close_path(cr);
            break;
        }
    }
}

void CairoCanvas::setColor(CanvasColor color) {
    cairo_set_source_rgba(context_.get(), tint_.red, tint_.green, tint_.blue, color.alpha * tint_.alpha);
}

void CairoCanvas::fillPath(const CanvasPath& path, CanvasColor color) {
    if (path.empty()) return;
    cairo_t* cr = cairoForDrawing();
    addPath(path);
    setColor(color);
    cairo_fill(cr);
}

void CairoCanvas::strokePath(const CanvasPath& path, CanvasColor color) {
    if (path.empty()) return;
    cairo_t* cr = cairoForDrawing();
    addPath(path);
    setColor(color);
    cairo_stroke(cr);
}

void CairoCanvas::fillEllipse(platform::CanvasRect rect, CanvasColor color) {
    if (!(rect.width > 0 && rect.height > 0)) return;
    if (rect.width == rect.height && blendMode_ == platform::CanvasBlendMode::normal &&
        fillSmallDisc(rect.x + rect.width / 2, rect.y + rect.height / 2, rect.width / 2, color))
        return;
    cairo_t* cr = cairoForDrawing();
    cairo_new_path(cr);
    cairo_save(cr);
    cairo_translate(cr, rect.x + rect.width / 2, rect.y + rect.height / 2);
    cairo_scale(cr, rect.width / 2, rect.height / 2);
    cairo_arc(cr, 0, 0, 1, 0, 2 * std::numbers::pi);
    cairo_restore(cr);
    setColor(color);
    cairo_fill(cr);
}

// How much of each pixel a small disc covers, in pixel space, over the pixels it touches.
struct CairoCanvas::DiscCoverage {
    static constexpr int kSide = 2 * static_cast<int>(kMaximumSmallDiscRadius) + 3;
    int x0, y0, x1, y1;
    float coverage[kSide][kSide];
    // What the rim's pixels are multiplied by; zero coverage everywhere leaves nothing to draw.
    double rimScale = 1;
    bool empty = true;

    float at(int x, int y) const { return coverage[y - y0][x - x0]; }
};

// Coverage falls off linearly across the pixel at the rim; the rim is then scaled so the total
// matches the disc's exact area, which keeps small dots from looking heavier than they are.
CairoCanvas::DiscCoverage CairoCanvas::discCoverage(double cx, double cy, double r) {
    DiscCoverage disc{static_cast<int>(std::floor(cx - r - 0.5)),
                      static_cast<int>(std::floor(cy - r - 0.5)),
                      static_cast<int>(std::ceil(cx + r + 0.5)),
                      static_cast<int>(std::ceil(cy + r + 0.5)),
                      {}};
    double inside = 0;
    double rim = 0;
    for (int y = disc.y0; y < disc.y1; ++y) {
        for (int x = disc.x0; x < disc.x1; ++x) {
            double dx = x + 0.5 - cx;
            double dy = y + 0.5 - cy;
            double c = std::clamp(r + 0.5 - std::sqrt(dx * dx + dy * dy), 0.0, 1.0);
            disc.coverage[y - disc.y0][x - disc.x0] = static_cast<float>(c);
            (c >= 1 ? inside : rim) += c;
        }
    }
    disc.empty = inside + rim <= 0;
    if (rim > 0) disc.rimScale = std::clamp((std::numbers::pi * r * r - inside) / rim, 0.0, 1.0);
    return disc;
}

bool CairoCanvas::fillSmallDisc(double centreX, double centreY, double radius, CanvasColor color) {
    // Pixel space: the canvas maps points to pixels by scale with y flipped, and nothing else.
    const double cx = centreX * scale_;
    const double cy = height_ - centreY * scale_;
    const double r = radius * scale_;
    if (!(std::isfinite(cx) && std::isfinite(cy) && r <= kMaximumSmallDiscRadius)) return false;
    const DiscCoverage disc = discCoverage(cx, cy, r);
    if (disc.empty) return true;
    blendDisc(disc, std::clamp(color.alpha * tint_.alpha, 0.0, 1.0));
    return true;
}

// Source-over in premultiplied ARGB, straight into the surface's pixels.
void CairoCanvas::blendDisc(const DiscCoverage& disc, double alpha) {
    if (!pixelsDirect_) {
        cairo_surface_flush(surface_.get());
        pixelsDirect_ = true;
    }
    unsigned char* data = cairo_image_surface_get_data(surface_.get());
    const int stride = cairo_image_surface_get_stride(surface_.get());
    for (int y = std::max(disc.y0, 0); y < std::min(disc.y1, height_); ++y) {
        auto* row = reinterpret_cast<std::uint32_t*>(data + y * stride);
        for (int x = std::max(disc.x0, 0); x < std::min(disc.x1, width_); ++x) {
            const double c = disc.at(x, y);
            const double a = alpha * (c >= 1 ? 1.0 : c * disc.rimScale);
            if (a <= 0) continue;
            std::uint32_t pixel = row[x];
            auto over = [a](double source, std::uint32_t destination) {
                return static_cast<std::uint32_t>(std::lround(source * 255.0 + destination * (1 - a)));
            };
            std::uint32_t outA = over(a, pixel >> 24);
            std::uint32_t outR = over(a * tint_.red, (pixel >> 16) & 0xFF);
            std::uint32_t outG = over(a * tint_.green, (pixel >> 8) & 0xFF);
            std::uint32_t outB = over(a * tint_.blue, pixel & 0xFF);
            row[x] = (std::min(outA, 255u) << 24) | (std::min(outR, outA) << 16) |
                     (std::min(outG, outA) << 8) | std::min(outB, outA);
        }
    }
}

cairo_t* CairoCanvas::cairoForDrawing() {
    if (pixelsDirect_) {
        cairo_surface_mark_dirty(surface_.get());
        pixelsDirect_ = false;
    }
    return context_.get();
}

} // namespace vimbo::linuxdesktop
