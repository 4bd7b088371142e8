#pragma once

#include "core/platform/Clock.h"
#include "core/platform/KeepAwake.h"
#include "core/platform/MainWindow.h"
#include "core/platform/SystemLog.h"
#include "core/platform/Timers.h"

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace vimbo::fakes {

class FakeMainWindow : public platform::MainWindow {
  public:
    bool visible = false;
    std::optional<bool> dark;

    void show() override { visible = true; }
    void hide() override { visible = false; }
    bool isVisible() const override { return visible; }
    void setAppearanceDark(bool value) override { dark = value; }
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
    double now() const override { return 100.0; }
};

// Timers that fire only when the test says so; `live` holds those not destroyed yet, oldest first.
class ManualTimers : public platform::Timers {
  public:
    struct Timer : platform::RepeatingTimer {
        Timer(ManualTimers& owner, double interval, std::function<void()> action)
            : owner(owner), interval(interval), action(std::move(action)) {}
        ~Timer() override { std::erase(owner.live, this); }
        ManualTimers& owner;
        double interval;
        std::function<void()> action;
    };

    std::unique_ptr<platform::RepeatingTimer> repeat(double interval, std::function<void()> action) override {
        auto timer = std::make_unique<Timer>(*this, interval, std::move(action));
        live.push_back(timer.get());
        return timer;
    }
    void fireAll() {
        for (auto* timer : std::vector(live))
            timer->action();
    }

    std::vector<Timer*> live;
};

} // namespace vimbo::fakes
