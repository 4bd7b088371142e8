#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <string_view>

namespace vimbo::platform {

using DefaultsDate = std::chrono::system_clock::time_point;

enum class DefaultsType { boolean, number, string, date };

// The user defaults database: typed values under text keys. A typed read gives no value both for a
// missing key and for a value of another type; `typeOf` tells the two apart.
class DefaultsStore {
public:
    virtual ~DefaultsStore() = default;

    virtual std::optional<DefaultsType> typeOf(std::string_view key) const = 0;
    virtual std::optional<bool> readBool(std::string_view key) const = 0;
    virtual std::optional<double> readDouble(std::string_view key) const = 0;
    virtual std::optional<std::string> readString(std::string_view key) const = 0;
    virtual std::optional<DefaultsDate> readDate(std::string_view key) const = 0;

    virtual void writeBool(std::string_view key, bool value) = 0;
    virtual void writeDouble(std::string_view key, double value) = 0;
    virtual void writeString(std::string_view key, std::string_view value) = 0;
    virtual void writeDate(std::string_view key, DefaultsDate value) = 0;
    virtual void remove(std::string_view key) = 0;
};

} // namespace vimbo::platform
