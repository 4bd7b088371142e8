#pragma once

#include "core/platform/DefaultsStore.h"
#include "core/platform/SystemLog.h"

#include <condition_variable>
#include <filesystem>
#include <map>
#include <mutex>
#include <optional>
#include <thread>
#include <nlohmann/json.hpp>

namespace vimbo::linuxdesktop {

// The defaults database as one JSON object in a file, shared safely by threads and processes.
//
// Encoding of the values, chosen so that every type survives a save and load unchanged:
//   bool    true / false
//   double  a JSON number; NaN and the infinities, which JSON cannot hold, as {"number": "nan"},
//           {"number": "inf"} or {"number": "-inf"}
//   string  a JSON string (never read back as a date)
//   date    {"date": "2026-12-05T20:47:41.123456789Z"}: UTC, 1 to 9 fraction digits
// Anything else (null, arrays, other objects, malformed dates) is kept in the file untouched and
// reads as absent; `typeOf` gives no type for it.
//
// A write takes effect in memory at once and reaches the file from a writer thread of the store's
// own, so that a burst of changes (a slider dragged) costs the caller nothing and becomes a few
// file writes: each re-reads the file under an advisory lock on "<file>.lock", applies every change
// made since the last one and replaces the file through a synced temporary in the same directory,
// so a crash never leaves a half-written file and no process loses another's keys. Destruction
// writes what is still pending. A file that cannot be read or parsed, or that is not a regular file
// of reasonable size and nesting, is renamed to "<file>.corrupt-<UTC time>" with one warning, and
// the store starts empty.
class JsonFileDefaults : public platform::DefaultsStore {
  public:
    JsonFileDefaults(std::filesystem::path file, platform::SystemLog& systemLog);
    ~JsonFileDefaults() override;
    JsonFileDefaults(const JsonFileDefaults&) = delete;
    JsonFileDefaults& operator=(const JsonFileDefaults&) = delete;

    // $XDG_CONFIG_HOME/vimbo/defaults.json, or ~/.config/vimbo/defaults.json when it is unset or
    // not absolute.
    static std::filesystem::path defaultPath();

    const std::filesystem::path& file() const { return file_; }

    std::optional<platform::DefaultsType> typeOf(std::string_view key) const override;
    std::optional<bool> readBool(std::string_view key) const override;
    std::optional<double> readDouble(std::string_view key) const override;
    std::optional<std::string> readString(std::string_view key) const override;
    std::optional<platform::DefaultsDate> readDate(std::string_view key) const override;

    void writeBool(std::string_view key, bool value) override;
    void writeDouble(std::string_view key, double value) override;
    void writeString(std::string_view key, std::string_view value) override;
    void writeDate(std::string_view key, platform::DefaultsDate value) override;
    void remove(std::string_view key) override;

    // Returns once every change made before the call is in the file (or failed with a warning).
    void flush();

  private:
    // A key's new value, or none when it is removed.
    using Changes = std::map<std::string, std::optional<nlohmann::json>, std::less<>>;

    // Sets the key to `value`, or removes it when there is none, in memory, and queues it for the file.
    void update(std::string_view key, const nlohmann::json* value);
    void writeLoop();
    // The changes into the file, under the file lock; the object written, or none when it was not.
    std::optional<nlohmann::json> writeChanges(const Changes& changes);
    // The file's object, with the process lock held; see the .cpp for the failure cases.
    std::optional<nlohmann::json> loadLocked() const;
    std::optional<nlohmann::json> keepAside(const std::string& reason) const;
    bool replaceFileLocked(const nlohmann::json& object) const;
    void removeStaleTemporariesLocked() const;
    const nlohmann::json* find(std::string_view key) const;

    std::filesystem::path file_;
    platform::SystemLog& systemLog_;
    std::filesystem::path lockFile_;
    mutable std::mutex mutex_; // guards everything below
    nlohmann::json values_ = nlohmann::json::object();
    Changes pending_;
    bool writing_ = false;
    bool stopping_ = false;
    std::condition_variable changed_; // pending changes or stopping, for the writer
    std::condition_variable written_; // nothing pending or being written, for flush
    std::thread writer_;              // started last, after everything it uses
};

} // namespace vimbo::linuxdesktop
