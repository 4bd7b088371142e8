#pragma once

#include "core/platform/DefaultsStore.h"

#include <map>
#include <string>
#include <variant>

namespace vimbo::fakes {

// The defaults database in memory; `values` may be set directly to plant wrongly typed entries.
class InMemoryDefaults : public platform::DefaultsStore {
  public:
    using Value = std::variant<bool, double, std::string, platform::DefaultsDate>;
    std::map<std::string, Value, std::less<>> values;

    std::optional<platform::DefaultsType> typeOf(std::string_view key) const override {
        auto it = values.find(key);
        if (it == values.end()) return std::nullopt;
        return static_cast<platform::DefaultsType>(it->second.index());
    }
    std::optional<bool> readBool(std::string_view key) const override { return read<bool>(key); }
    std::optional<double> readDouble(std::string_view key) const override { return read<double>(key); }
    std::optional<std::string> readString(std::string_view key) const override {
        return read<std::string>(key);
    }
    std::optional<platform::DefaultsDate> readDate(std::string_view key) const override {
        return read<platform::DefaultsDate>(key);
    }
    void writeBool(std::string_view key, bool value) override { values[std::string(key)] = value; }
    void writeDouble(std::string_view key, double value) override { values[std::string(key)] = value; }
    void writeString(std::string_view key, std::string_view value) override {
        values[std::string(key)] = std::string(value);
    }
    void writeDate(std::string_view key, platform::DefaultsDate value) override {
        values[std::string(key)] = value;
    }
    void remove(std::string_view key) override { values.erase(std::string(key)); }

  private:
    template <class T> std::optional<T> read(std::string_view key) const {
        auto it = values.find(key);
        if (it == values.end() || !std::holds_alternative<T>(it->second)) return std::nullopt;
        return std::get<T>(it->second);
    }
};

} // namespace vimbo::fakes
