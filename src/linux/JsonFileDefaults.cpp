#include "linux/JsonFileDefaults.h"

#include "core/util/UtcDateTime.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <glib.h>
#include <pwd.h>
#include <string>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vimbo::linuxdesktop {

using nlohmann::json;
using platform::DefaultsDate;
using platform::DefaultsType;

namespace {

constexpr const char* dateKey = "date";
constexpr const char* numberKey = "number";
constexpr const char* temporaryMarker = ".tmp-";

std::string errnoText() {
    return std::strerror(errno);
}

// Holds an exclusive advisory lock on a file for its lifetime; `held()` is false when it could not.
class FileLock {
  public:
    explicit FileLock(const std::filesystem::path& path)
        : fd_(::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600)) {
        if (fd_ < 0) return;
        while (::flock(fd_, LOCK_EX) != 0) {
            if (errno == EINTR) continue;
            ::close(fd_);
            fd_ = -1;
            return;
        }
    }
    ~FileLock() {
        if (fd_ >= 0) ::close(fd_); // closing releases the lock
    }
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;
    bool held() const { return fd_ >= 0; }

  private:
    int fd_;
};

bool writeAll(int fd, const std::string& text) {
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t written = ::write(fd, text.data() + done, text.size() - done);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        done += static_cast<std::size_t>(written);
    }
    return true;
}

// The settings are a few hundred bytes; anything far larger is not ours, and reading it all
// (a link to /dev/zero) would exhaust memory.
constexpr std::size_t kMaxFileBytes = 1 << 20;
// Deeper nesting than any settings need makes the parser and the writer recurse until the stack
// or the memory runs out.
constexpr int kMaxDepth = 64;

struct FileText {
    std::optional<std::string> text;
    bool missing = false;
    std::string failure; // why there is no text, when it is not missing
};

// The file's whole content when it is a regular file of at most kMaxFileBytes. Opened without
// blocking, so a FIFO in its place cannot hang the program.
FileText readAll(const std::filesystem::path& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return {std::nullopt, errno == ENOENT, errnoText()};
    struct stat status {};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(fd);
        return {std::nullopt, false, "not a regular file"};
    }
    std::string text;
    char buffer[8192];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) {
            FileText failed{std::nullopt, false, errnoText()};
            ::close(fd);
            return failed;
        }
        if (got == 0) break;
        text.append(buffer, static_cast<std::size_t>(got));
        if (text.size() > kMaxFileBytes) {
            ::close(fd);
            return {std::nullopt, false, "larger than " + std::to_string(kMaxFileBytes) + " bytes"};
        }
    }
    ::close(fd);
    return {std::move(text), false, {}};
}

// Whether arrays and objects nest deeper than kMaxDepth anywhere outside strings.
bool nestsTooDeep(std::string_view text) {
    int depth = 0;
    bool inString = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (inString) {
            if (c == '\\') ++i;
            else if (c == '"') inString = false;
        } else if (c == '"') {
            inString = true;
        } else if (c == '[' || c == '{') {
            if (++depth > kMaxDepth) return true;
        } else if (c == ']' || c == '}') {
            --depth;
        }
    }
    return false;
}

// Where a write lands: through a link to the file it points at (a settings file kept in a dotfiles
// folder stays there), otherwise the path itself.
std::filesystem::path writeTarget(const std::filesystem::path& path) {
    std::error_code error;
    if (!std::filesystem::is_symlink(path, error)) return path;
    auto target = std::filesystem::read_symlink(path, error);
    if (error) return path;
    if (target.is_relative()) target = path.parent_path() / target;
    return std::filesystem::weakly_canonical(target, error);
}

json encodeDate(DefaultsDate value) {
    const auto utc = util::UtcDateTime::from(value);
    char text[96];
    std::snprintf(text, sizeof text, "%04d-%02u-%02uT%02d:%02d:%02d.%09lldZ", utc.year, utc.month, utc.day,
                  utc.hour, utc.minute, utc.second, utc.nanosecond);
    return json{{dateKey, text}};
}

std::optional<int> number(std::string_view text, std::size_t at, std::size_t count) {
    int value = 0;
    for (std::size_t i = at; i < at + count; ++i) {
        if (text[i] < '0' || text[i] > '9') return std::nullopt;
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

// Accepts exactly the form `encodeDate` writes, with 1 to 9 fraction digits or none.
std::optional<DefaultsDate> parseDate(std::string_view text) {
    using namespace std::chrono;
    if (text.size() < 20 || text.back() != 'Z' || text[4] != '-' || text[7] != '-' || text[10] != 'T' ||
        text[13] != ':' || text[16] != ':')
        return std::nullopt;
    const auto y = number(text, 0, 4), mo = number(text, 5, 2), d = number(text, 8, 2);
    const auto h = number(text, 11, 2), mi = number(text, 14, 2), s = number(text, 17, 2);
    if (!y || !mo || !d || !h || !mi || !s || *h > 23 || *mi > 59 || *s > 59) return std::nullopt;
    const year_month_day date{year{*y}, month{static_cast<unsigned>(*mo)}, day{static_cast<unsigned>(*d)}};
    if (!date.ok()) return std::nullopt;

    const std::string_view fraction = text.substr(19, text.size() - 20);
    long long nanos = 0;
    if (!fraction.empty()) {
        if (fraction[0] != '.' || fraction.size() < 2 || fraction.size() > 10) return std::nullopt;
        const auto digits = number(fraction, 1, fraction.size() - 1);
        if (!digits) return std::nullopt;
        nanos = *digits;
        for (std::size_t i = fraction.size() - 1; i < 9; ++i)
            nanos *= 10;
    }
    // The clock counts nanoseconds in 64 bits (about ±292 years around 1970): refuse what it cannot
    // hold rather than overflow.
    const sys_seconds whole = sys_days{date} + hours{*h} + minutes{*mi} + seconds{*s};
    if (whole <= floor<seconds>(DefaultsDate::min()) || whole >= floor<seconds>(DefaultsDate::max()))
        return std::nullopt;
    return time_point_cast<DefaultsDate::duration>(whole) +
           duration_cast<DefaultsDate::duration>(nanoseconds{nanos});
}

std::optional<DefaultsDate> decodeDate(const json& value) {
    if (!value.is_object() || value.size() != 1) return std::nullopt;
    const auto it = value.find(dateKey);
    if (it == value.end() || !it->is_string()) return std::nullopt;
    return parseDate(it->get_ref<const std::string&>());
}

json encodeDouble(double value) {
    if (std::isnan(value)) return json{{numberKey, "nan"}};
    if (std::isinf(value)) return json{{numberKey, value > 0 ? "inf" : "-inf"}};
    return value;
}

std::optional<double> decodeDouble(const json& value) {
    if (value.is_number()) return value.get<double>();
    if (!value.is_object() || value.size() != 1) return std::nullopt;
    const auto it = value.find(numberKey);
    if (it == value.end() || !it->is_string()) return std::nullopt;
    const auto& text = it->get_ref<const std::string&>();
    if (text == "nan") return std::nan("");
    if (text == "inf") return HUGE_VAL;
    if (text == "-inf") return -HUGE_VAL;
    return std::nullopt;
}

std::optional<DefaultsType> typeOfValue(const json& value) {
    if (value.is_boolean()) return DefaultsType::boolean;
    if (value.is_string()) return DefaultsType::string;
    if (decodeDouble(value)) return DefaultsType::number;
    if (decodeDate(value)) return DefaultsType::date;
    return std::nullopt;
}

// $HOME, or the account's home from the user database when it is unset or empty (GLib's home
// directory would be the empty $HOME again).
std::filesystem::path accountHome() {
    const char* home = std::getenv("HOME");
    if (home != nullptr && *home != '\0') return home;
    const passwd* entry = ::getpwuid(::getuid());
    return entry != nullptr && entry->pw_dir != nullptr ? entry->pw_dir : g_get_tmp_dir();
}

} // namespace

JsonFileDefaults::JsonFileDefaults(std::filesystem::path file, platform::SystemLog& systemLog)
    : file_(std::filesystem::absolute(file)), systemLog_(systemLog), lockFile_(file_.string() + ".lock") {
    std::error_code error;
    if (std::filesystem::exists(file_.parent_path(), error)) {
        const FileLock lock(lockFile_);
        // Without the lock (a read-only directory) the file is still read; nothing could be renamed anyway.
        if (auto loaded = loadLocked()) values_ = std::move(*loaded);
        if (lock.held()) removeStaleTemporariesLocked();
    }
    writer_ = std::thread([this] { writeLoop(); });
}

JsonFileDefaults::~JsonFileDefaults() {
    {
        std::lock_guard guard(mutex_);
        stopping_ = true;
    }
    changed_.notify_one();
    if (writer_.joinable()) writer_.join();
}

void JsonFileDefaults::flush() {
    std::unique_lock lock(mutex_);
    written_.wait(lock, [this] { return pending_.empty() && !writing_; });
}

std::filesystem::path JsonFileDefaults::defaultPath() {
    const char* config = std::getenv("XDG_CONFIG_HOME");
    std::filesystem::path base;
    if (config != nullptr && std::filesystem::path(config).is_absolute()) {
        base = config;
    } else {
        base = accountHome() / ".config";
    }
    return base / "vimbo" / "defaults.json";
}

std::optional<DefaultsType> JsonFileDefaults::typeOf(std::string_view key) const {
    std::lock_guard guard(mutex_);
    const json* value = find(key);
    return value ? typeOfValue(*value) : std::nullopt;
}

std::optional<bool> JsonFileDefaults::readBool(std::string_view key) const {
    std::lock_guard guard(mutex_);
    const json* value = find(key);
    if (value == nullptr || !value->is_boolean()) return std::nullopt;
    return value->get<bool>();
}

std::optional<double> JsonFileDefaults::readDouble(std::string_view key) const {
    std::lock_guard guard(mutex_);
    const json* value = find(key);
    return value ? decodeDouble(*value) : std::nullopt;
}

std::optional<std::string> JsonFileDefaults::readString(std::string_view key) const {
    std::lock_guard guard(mutex_);
    const json* value = find(key);
    if (value == nullptr || !value->is_string()) return std::nullopt;
    return value->get<std::string>();
}

std::optional<DefaultsDate> JsonFileDefaults::readDate(std::string_view key) const {
    std::lock_guard guard(mutex_);
    const json* value = find(key);
    return value ? decodeDate(*value) : std::nullopt;
}

void JsonFileDefaults::writeBool(std::string_view key, bool value) {
    const json encoded = value;
    update(key, &encoded);
}

void JsonFileDefaults::writeDouble(std::string_view key, double value) {
    const json encoded = encodeDouble(value);
    update(key, &encoded);
}

void JsonFileDefaults::writeString(std::string_view key, std::string_view value) {
    const json encoded = std::string(value);
    update(key, &encoded);
}

void JsonFileDefaults::writeDate(std::string_view key, DefaultsDate value) {
    const json encoded = encodeDate(value);
    update(key, &encoded);
}

void JsonFileDefaults::remove(std::string_view key) {
    update(key, nullptr);
}

const json* JsonFileDefaults::find(std::string_view key) const {
    const auto it = values_.find(key);
    return it == values_.end() ? nullptr : &*it;
}

void JsonFileDefaults::update(std::string_view key, const json* value) {
    {
        std::lock_guard guard(mutex_);
        // The change holds for this process at once, even when the file cannot be written.
        if (value != nullptr) {
            values_[std::string(key)] = *value;
        } else {
            values_.erase(std::string(key));
        }
        pending_[std::string(key)] = value ? std::optional<json>(*value) : std::nullopt;
    }
    changed_.notify_one();
}

void JsonFileDefaults::writeLoop() {
    std::unique_lock lock(mutex_);
    for (;;) {
        changed_.wait(lock, [this] { return stopping_ || !pending_.empty(); });
        if (pending_.empty()) return; // stopping with nothing left to write
        Changes changes;
        changes.swap(pending_);
        writing_ = true;
        lock.unlock();
        auto written = writeChanges(changes);
        lock.lock();
        writing_ = false;
        if (written) {
            // The file as written holds other processes' keys too; changes made meanwhile stay on top.
            values_ = std::move(*written);
            for (const auto& [key, value] : pending_) {
                if (value) values_[key] = *value;
                else values_.erase(key);
            }
        }
        if (pending_.empty()) written_.notify_all();
    }
}

std::optional<json> JsonFileDefaults::writeChanges(const Changes& changes) {
    std::error_code error;
    std::filesystem::create_directories(file_.parent_path(), error);
    const FileLock lock(lockFile_);
    if (!lock.held()) {
        systemLog_.warn("Vimbo defaults file " + file_.string() +
                        " could not be locked for writing: " + errnoText());
        return std::nullopt;
    }
    // Start from what is on disk now, so keys written meanwhile by other processes are kept.
    auto current = loadLocked();
    if (!current) return std::nullopt;
    for (const auto& [key, value] : changes) {
        if (value) (*current)[key] = *value;
        else current->erase(key);
    }
    if (!replaceFileLocked(*current)) return std::nullopt;
    return current;
}

// An absent file is an empty object. A file that cannot be read or is not a JSON object is renamed
// aside and gives an empty object too; when even the rename fails, there is no object, so that the
// caller never writes over the file.
std::optional<json> JsonFileDefaults::loadLocked() const {
    const auto file = readAll(file_);
    if (file.missing) return json::object();
    if (!file.text) return keepAside(file.failure);
    if (nestsTooDeep(*file.text)) return keepAside("nested deeper than " + std::to_string(kMaxDepth) + " levels");
    json parsed = json::parse(*file.text, nullptr, false);
    if (parsed.is_discarded()) return keepAside("not valid JSON");
    if (!parsed.is_object()) return keepAside("not a JSON object");
    return parsed;
}

std::optional<json> JsonFileDefaults::keepAside(const std::string& reason) const {
    const auto utc = util::UtcDateTime::from(std::chrono::system_clock::now());
    char stamp[96];
    std::snprintf(stamp, sizeof stamp, ".corrupt-%04d%02u%02uT%02d%02d%02dZ", utc.year, utc.month, utc.day,
                  utc.hour, utc.minute, utc.second);
    const std::string stem = file_.string() + stamp;
    // Never rename over an earlier kept file (two corruptions within one second).
    std::string aside = stem;
    std::error_code error;
    for (int n = 1; std::filesystem::exists(aside, error) || std::filesystem::is_symlink(aside, error); ++n) {
        aside = stem + "-" + std::to_string(n);
    }
    if (std::rename(file_.c_str(), aside.c_str()) != 0) {
        systemLog_.warn("Vimbo defaults file " + file_.string() + " is corrupt (" + reason +
                        ") and could not be kept aside: " + errnoText() +
                        "; it is left as it is and settings are not saved");
        return std::nullopt;
    }
    systemLog_.warn("Vimbo defaults file " + file_.string() + " is corrupt, kept as " + aside + " (" +
                    reason + ")");
    return json::object();
}

bool JsonFileDefaults::replaceFileLocked(const json& object) const {
    // Invalid UTF-8 in a key or text cannot be stored as JSON; it is replaced rather than refused.
    const std::string text = object.dump(2, ' ', false, json::error_handler_t::replace) + "\n";
    const auto target = writeTarget(file_);
    std::string temporary = target.string() + temporaryMarker + "XXXXXX";
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0) {
        systemLog_.warn("Vimbo defaults file " + file_.string() + " could not be written: " + errnoText());
        return false;
    }
    bool written = writeAll(fd, text) && ::fsync(fd) == 0;
    written = (::close(fd) == 0) && written;
    if (!written || std::rename(temporary.c_str(), target.c_str()) != 0) {
        systemLog_.warn("Vimbo defaults file " + file_.string() + " could not be written: " + errnoText());
        ::unlink(temporary.c_str());
        return false;
    }
    // Make the rename itself durable.
    const int directory = ::open(target.parent_path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (directory >= 0) {
        ::fsync(directory);
        ::close(directory);
    }
    return true;
}

// A writer holds the lock while its temporary exists, so any temporary seen under the lock was left
// by a writer that died.
void JsonFileDefaults::removeStaleTemporariesLocked() const {
    const std::string prefix = file_.filename().string() + temporaryMarker;
    std::error_code error;
    std::filesystem::directory_iterator it(file_.parent_path(), error);
    for (; !error && it != std::filesystem::directory_iterator(); it.increment(error)) {
        if (it->path().filename().string().rfind(prefix, 0) == 0) std::filesystem::remove(it->path(), error);
    }
}

} // namespace vimbo::linuxdesktop
