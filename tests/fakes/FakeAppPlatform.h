#pragma once

#include "core/platform/Clock.h"
#include "core/platform/KeepAwake.h"
#include "core/platform/MainWindow.h"
#include "core/platform/SystemLog.h"
#include "core/platform/Timers.h"

#include <algorithm>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace vimbo::fakes {

class FakeMainWindow : public platform::MainWindow {
  public:
    bool visible = false;

    void show() override { visible = true; }
    void hide() override { visible = false; }
    bool isVisible() const override { return visible; }
};

class FakeKeepAwake : public platform::KeepAwake {
  public:
    std::map<Token, platform::ActivityKind> active;
    int begun = 0;

    Token begin(platform::ActivityKind kind, const char*) override {
        active[++begun] = kind;
        return begun;
    }
    void end(Token token) override { active.erase(token); }
};

class RecordingSystemLog : public platform::SystemLog {
  public:
    std::vector<std::string> lines;
    void write(std::string_view line) override { lines.emplace_back(line); }
    void warn(std::string_view line) override { lines.emplace_back(line); }
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
    void fireAll() {
        for (auto& entry : std::vector(entries))
            if (entry->alive) entry->action();
    }
    std::size_t liveCount() const {
        return std::ranges::count_if(entries, [](auto& entry) { return entry->alive; });
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
