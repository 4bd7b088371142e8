#include "core/chrome/MiniWindowAnchorStore.h"

#include "core/util/WholeNumber.h"

#include <charconv>
#include <cmath>

namespace vimbo::chrome {
namespace {

constexpr const char* kAnchorKey = "miniPlayerTopLeft";

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    return text;
}

// Shortest text that reads back as the same number: "{120, 45.5}".
std::string numberText(double value) {
    char buffer[32];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

std::optional<double> coordinate(std::string_view text) {
    auto value = util::wholeNumber<double>(trimmed(text));
    if (!value || !std::isfinite(*value)) return std::nullopt;
    return value;
}

} // namespace

std::optional<Point> MiniWindowAnchorStore::load() const {
    auto stored = defaults_.readString(kAnchorKey);
    return stored ? parse(*stored) : std::nullopt;
}

void MiniWindowAnchorStore::save(Point topLeft) {
    defaults_.writeString(kAnchorKey, text(topLeft));
}

std::string MiniWindowAnchorStore::text(Point point) {
    return "{" + numberText(point.x) + ", " + numberText(point.y) + "}";
}

std::optional<Point> MiniWindowAnchorStore::parse(std::string_view text) {
    text = trimmed(text);
    if (text.size() < 2 || text.front() != '{' || text.back() != '}') return std::nullopt;
    text = text.substr(1, text.size() - 2);
    auto comma = text.find(',');
    if (comma == std::string_view::npos) return std::nullopt;
    auto x = coordinate(text.substr(0, comma));
    auto y = coordinate(text.substr(comma + 1));
    if (!x || !y) return std::nullopt;
    return Point{*x, *y};
}

} // namespace vimbo::chrome
