// The settings file as any bytes. The store opens it, a change is written, and the next process
// reads the file: every value the first store could read must read the same, and the written
// values must come back as they were given.
#include "fakes/FakeAppPlatform.h"
#include "linux/JsonFileDefaults.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using vimbo::linuxdesktop::JsonFileDefaults;
using vimbo::platform::DefaultsDate;

// A folder of this process's own, in memory where the machine has /dev/shm, so the store's fsync
// costs nothing; removed at exit.
struct PrivateFolder {
    PrivateFolder() {
        std::string pattern =
            (::access("/dev/shm", W_OK) == 0 ? fs::path("/dev/shm") : fs::temp_directory_path()) /
            "vimbo-fuzz-XXXXXX";
        if (::mkdtemp(pattern.data()) == nullptr) std::abort();
        path = pattern;
    }
    ~PrivateFolder() { fs::remove_all(path); }
    fs::path path;
};

bool sameNumber(std::optional<double> a, std::optional<double> b) {
    return a == b || (a && b && std::isnan(*a) && std::isnan(*b));
}

// What a store reads under one key, in every type.
struct Reading {
    std::optional<vimbo::platform::DefaultsType> type;
    std::optional<bool> boolean;
    std::optional<double> number;
    std::optional<std::string> text;
    std::optional<DefaultsDate> date;

    static Reading of(const JsonFileDefaults& store, const char* key) {
        return {store.typeOf(key), store.readBool(key), store.readDouble(key), store.readString(key),
                store.readDate(key)};
    }
    bool operator==(const Reading& other) const {
        return type == other.type && boolean == other.boolean && sameNumber(number, other.number) &&
               text == other.text && date == other.date;
    }
};

template <typename T> T trailing(const std::uint8_t* data, std::size_t size) {
    T value{};
    std::memcpy(&value, data + size - std::min(size, sizeof value), std::min(size, sizeof value));
    return value;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static PrivateFolder folder;
    for (const auto& entry : fs::directory_iterator(folder.path))
        fs::remove_all(entry.path());
    const fs::path file = folder.path / "defaults.json";
    std::ofstream(file, std::ios::binary).write(reinterpret_cast<const char*>(data), static_cast<long>(size));

    const auto number = trailing<double>(data, size);
    const DefaultsDate date{DefaultsDate::duration{trailing<std::int64_t>(data, size)}};
    vimbo::fakes::RecordingSystemLog log;
    Reading kept;
    {
        JsonFileDefaults store(file, log);
        kept = Reading::of(store, "a");
        store.writeDouble("n", number);
        store.writeDate("d", date);
    }
    const JsonFileDefaults next(file, log);
    // The store keeps dates the clock can hold, but not within a second of its ends (about ±292 years).
    constexpr std::chrono::years kKeepable{290};
    const bool keepableDate = date.time_since_epoch() > -kKeepable && date.time_since_epoch() < kKeepable;
    const bool sameDate = next.readDate("d") == date || !keepableDate;
    if (!(Reading::of(next, "a") == kept) || !sameNumber(next.readDouble("n"), number) || !sameDate)
        std::abort();
    return 0;
}
