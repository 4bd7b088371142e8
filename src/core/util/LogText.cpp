#include "core/util/LogText.h"

#include <cstdio>

namespace vimbo::util {
namespace {

void appendEscaped(std::string& out, unsigned char byte) {
    char escaped[5];
    std::snprintf(escaped, sizeof escaped, "\\x%02x", byte);
    out += escaped;
}

// Length of the well-formed UTF-8 sequence starting at `at` (overlong forms, surrogates and values
// past U+10FFFF are not well-formed), or 0.
std::size_t sequenceLength(std::string_view text, std::size_t at) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[at + i]); };
    const unsigned char lead = byte(0);
    std::size_t length = lead < 0x80 ? 1 : lead >= 0xC2 && lead <= 0xDF ? 2 : lead >= 0xE0 && lead <= 0xEF ? 3
                                       : lead >= 0xF0 && lead <= 0xF4   ? 4
                                                                        : 0;
    if (length == 0 || at + length > text.size()) return 0;
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0) != 0x80) return 0;
    }
    if ((lead == 0xE0 && byte(1) < 0xA0) || (lead == 0xED && byte(1) > 0x9F) || (lead == 0xF0 && byte(1) < 0x90) ||
        (lead == 0xF4 && byte(1) > 0x8F))
        return 0;
    return length;
}

bool isControl(std::string_view text, std::size_t at, std::size_t length) {
    const auto lead = static_cast<unsigned char>(text[at]);
    if (length == 1) return lead < 0x20 || lead == 0x7F;
    // U+0080...U+009F, the C1 controls (CSI among them).
    return length == 2 && lead == 0xC2 && static_cast<unsigned char>(text[at + 1]) < 0xA0;
}

} // namespace

std::string printableLogText(std::string_view text, std::size_t maxBytes) {
    std::string out;
    out.reserve(text.size() < maxBytes ? text.size() : maxBytes);
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t length = sequenceLength(text, at);
        const std::size_t step = length == 0 ? 1 : length;
        const bool escape = length == 0 || isControl(text, at, length);
        if (out.size() + (escape ? 4 * step : step) > maxBytes) break;
        if (escape) {
            for (std::size_t i = 0; i < step; ++i)
                appendEscaped(out, static_cast<unsigned char>(text[at + i]));
        } else {
            out.append(text, at, step);
        }
        at += step;
    }
    if (at < text.size()) out += "... (" + std::to_string(text.size() - at) + " more bytes)";
    return out;
}

} // namespace vimbo::util
