#pragma once

#include "core/platform/PageHost.h"

#include <string>
#include <utility>
#include <vector>

namespace vimbo::fakes {

// Records every script the core evaluates; completions wait until the test finishes them.
class FakePageHost : public platform::PageHost {
  public:
    struct Load {
        std::string url;
        std::string readAccessDir;
    };

    std::vector<std::string> scripts;
    std::vector<std::pair<std::string, Completion>> pendingCompletions;
    std::vector<Load> loads;
    std::optional<std::string> pageTitle;
    bool transparentSupported = true;
    platform::PageListener* listener = nullptr;

    void setListener(platform::PageListener* newListener) override { listener = newListener; }
    bool makeTransparent() override { return transparentSupported; }
    void load(const std::string& url, const std::string& readAccessDir) override {
        loads.push_back({url, readAccessDir});
    }
    void evaluate(const std::string& script) override { scripts.push_back(script); }
    void evaluate(const std::string& script, Completion completion) override {
        scripts.push_back(script);
        pendingCompletions.emplace_back(script, std::move(completion));
    }
    std::optional<std::string> title() const override { return pageTitle; }

    // Finishes every waiting evaluation with `error` (none means success).
    void completeAll(const std::optional<std::string>& error = std::nullopt) {
        auto batch = std::move(pendingCompletions);
        pendingCompletions.clear();
        for (auto& [script, completion] : batch)
            completion(error);
    }
};

} // namespace vimbo::fakes
