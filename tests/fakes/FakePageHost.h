#pragma once

#include "core/platform/PageHost.h"

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace vimbo::fakes {

// Records every script the core evaluates; completions wait until the test finishes them.
class FakePageHost : public platform::PageHost {
  public:
    std::vector<std::string> scripts;
    std::vector<Completion> pendingCompletions;
    std::vector<std::string> loads; // the address and the folder the page may read, joined by "|"
    bool transparentSupported = true;
    platform::PageListener* listener = nullptr;

    void setListener(platform::PageListener* newListener) override { listener = newListener; }
    bool makeTransparent() override { return transparentSupported; }
    void load(const std::string& url, const std::string& readAccessDir) override {
        loads.push_back(url + "|" + readAccessDir);
    }
    void evaluate(const std::string& script) override { scripts.push_back(script); }
    void evaluate(const std::string& script, Completion completion) override {
        scripts.push_back(script);
        pendingCompletions.push_back(std::move(completion));
    }
    std::optional<std::string> title() const override { return std::nullopt; }

    // Finishes every waiting evaluation with `error` (none means success).
    void completeAll(const std::optional<std::string>& error = std::nullopt) {
        auto batch = std::move(pendingCompletions);
        pendingCompletions.clear();
        for (auto& completion : batch)
            completion(error);
    }
};

} // namespace vimbo::fakes
