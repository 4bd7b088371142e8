#include "core/app/ScriptText.h"

#include <nlohmann/json.hpp>

#include <charconv>
#include <cmath>

namespace vimbo::app {

std::string javascriptLiteral(std::string_view text) {
    try {
        return nlohmann::json(std::string(text)).dump();
    } catch (const nlohmann::json::exception&) {
        // Text that is not UTF-8 cannot be encoded.
        return "\"\"";
    }
}

std::string shortestFloatText(float value) {
    if (std::isnan(value)) return "NaN";
    if (std::isinf(value)) return value > 0 ? "Infinity" : "-Infinity";
    char buffer[64];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    std::string text(buffer, result.ptr);
    if (text.find('.') == std::string::npos) {
        auto exponent = text.find('e');
        text.insert(exponent == std::string::npos ? text.size() : exponent, ".0");
    }
    return text;
}

} // namespace vimbo::app
