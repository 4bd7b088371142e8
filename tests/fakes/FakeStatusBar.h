#pragma once

#include "core/platform/StatusItem.h"

#include <memory>
#include <vector>

namespace vimbo::fakes {

// A status area that records what its one item was given; `shown` plays the desktop's tray.
class FakeStatusBar : public platform::StatusBar {
  public:
    struct State {
        bool exists = false;
        bool shown = true;
        std::vector<platform::StatusMenuItem> menu;
        int imageCount = 0;
        platform::StatusItemEvents events;
    };

    std::unique_ptr<platform::StatusItem> makeStatusItem(const std::string&,
                                                         platform::StatusItemEvents events) override {
        ++created;
        state = std::make_shared<State>(State{true, trayPresent, {}, 0, std::move(events)});
        return std::make_unique<Item>(state);
    }

    // The user picks a menu entry on the current item.
    void click(const std::string& action, const std::string& representedObject = {}) {
        state->events.onMenuAction(action, representedObject);
    }
    void setTrayPresent(bool present) {
        trayPresent = present;
        if (state && state->exists) {
            state->shown = present;
            state->events.onShownChanged(present);
        }
    }
    bool itemExists() const { return state && state->exists; }

    std::shared_ptr<State> state;
    int created = 0;
    bool trayPresent = true;

  private:
    class Item : public platform::StatusItem {
      public:
        explicit Item(std::shared_ptr<State> state) : state_(std::move(state)) {}
        ~Item() override { state_->exists = false; }
        void setImage(const platform::TemplateImage&) override { ++state_->imageCount; }
        void setMenu(const std::vector<platform::StatusMenuItem>& menu) override { state_->menu = menu; }
        bool isShown() const override { return state_->shown; }

      private:
        std::shared_ptr<State> state_;
    };
};

} // namespace vimbo::fakes
