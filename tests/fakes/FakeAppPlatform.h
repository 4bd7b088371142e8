#pragma once

#include "core/platform/Clock.h"
#include "core/platform/KeepAwake.h"
#include "core/platform/MainWindow.h"
#include "core/platform/SystemLog.h"
#include "core/platform/Timers.h"

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace vimbo::fakes {

class FakeMainWindow : public platform::MainWindow {
  public:
    bool visible = false;
    int showCount = 0;

    void show() override {
        visible = true;
        ++showCount;
    }
    void hide() override { visible = false; }
    bool isVisible() const override { return visible; }
};

class FakeKeepAwake : public platform::KeepAwake {
  public:
    struct Activity {
        platform::ActivityKind kind;
        std::string reason;
    };
    std::map<Token, Activity> active;
    int begun = 0;

    Token begin(platform::ActivityKind kind, const char* reason) override {
        Token token = ++nextToken_;
        active[token] = {kind, reason};
        ++begun;
        return token;
    }
    void end(Token token) override { active.erase(token); }

  private:
    Token nextToken_ = 0;
};

class RecordingSystemLog : public platform::SystemLog {
  public:
    std::vector<std::string> lines;
    void write(std::string_view line) override { lines.emplace_back(line); }
};

class ManualClock : public platform::Clock {
  public:
    double seconds = 100.0;
    double now() const override { return seconds; }
};

// Timers that fire only when the test says so.
class ManualTimers : public platform::Timers {
  public:
    struct Entry {
        double interval;
        std::function<void()> action;
        bool alive = true;
    };

    std::unique_ptr<platform::RepeatingTimer> repeat(double interval, std::function<void()> action) override {
        auto entry = std::make_shared<Entry>(Entry{interval, std::move(action)});
        entries.push_back(entry);
        return std::make_unique<Handle>(entry);
    }
    // Fires every live timer once.
    void fireAll() {
        auto snapshot = entries;
        for (auto& entry : snapshot) {
            if (entry->alive) entry->action();
        }
    }
    std::size_t liveCount() const {
        std::size_t count = 0;
        for (auto& entry : entries)
            count += entry->alive ? 1 : 0;
        return count;
    }

    std::vector<std::shared_ptr<Entry>> entries;

  private:
    struct Handle : platform::RepeatingTimer {
        explicit Handle(std::shared_ptr<Entry> entry) : entry(std::move(entry)) {}
        ~Handle() override { entry->alive = false; }
        std::shared_ptr<Entry> entry;
    };
};

} // namespace vimbo::fakes
