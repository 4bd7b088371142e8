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
#include <tuple>
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

// What a store reads under one key, in every type; every NaN reads alike.
auto reading(const JsonFileDefaults& store, const char* key) {
    const auto number = store.readDouble(key);
    const bool nan = number && std::isnan(*number);
    return std::tuple(store.typeOf(key), store.readBool(key), nan, nan ? std::nullopt : number,
                      store.readString(key), store.readDate(key));
}

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
    const auto kept = [&] {
        JsonFileDefaults store(file, log);
        auto readable = reading(store, "a");
        store.writeDouble("n", number);
        store.writeDate("d", date);
        return readable;
    }();
    const JsonFileDefaults next(file, log);
    // The store keeps dates the clock can hold, but not within a second of its ends (about ±292 years).
    constexpr std::chrono::years kKeepable{290};
    const bool keepableDate = date.time_since_epoch() > -kKeepable && date.time_since_epoch() < kKeepable;
    const bool sameDate = next.readDate("d") == date || !keepableDate;
    if (reading(next, "a") != kept || !sameNumber(next.readDouble("n"), number) || !sameDate) std::abort();
    return 0;
}
