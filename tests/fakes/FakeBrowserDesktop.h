#pragma once

#include "core/nowplaying/BrowserNowPlaying.h"

#include <map>

namespace vimbo::fakes {

// Sound server, processes, windows, media sessions and accessibility trees of a desktop, in memory.
// Accessible elements are named by their path alone, a process's application by its pid.
struct FakeBrowserDesktop : platform::AudioOutputProcesses,
                            platform::ProcessTable,
                            platform::ApplicationWindows,
                            platform::MediaSessionTitles,
                            platform::AccessibilityTree,
                            platform::AccessibilityPrompt {
    struct Node {
        std::optional<std::string> title;
        std::vector<std::string> children;
    };

    std::vector<std::int32_t> playing;
    std::map<std::int32_t, platform::ProcessEntry> processes;
    std::optional<std::int32_t> frontmost;
    std::map<std::int32_t, std::vector<std::string>> windows;
    std::map<std::int32_t, std::string> mediaTitles;
    bool trusted = true;
    std::map<std::string, Node> nodes;
    int prompts = 0;

    nowplaying::BrowserNowPlaying::Ports ports() { return {*this, *this, *this, *this, *this, *this}; }

    std::vector<std::int32_t> producingOutput() override { return playing; }
    std::optional<platform::ProcessEntry> entry(std::int32_t pid) override { return find(processes, pid); }
    std::optional<std::int32_t> frontmostProcess() override { return frontmost; }
    std::vector<std::string> windowTitles(std::int32_t pid) override {
        return find(windows, pid).value_or(std::vector<std::string>{});
    }
    std::optional<std::string> mediaTitle(std::int32_t pid) override { return find(mediaTitles, pid); }
    bool isTrusted() override { return trusted; }
    std::optional<platform::AccessibleElement> application(std::int32_t pid) override {
        if (!nodes.contains(std::to_string(pid))) return std::nullopt;
        return platform::AccessibleElement{"", std::to_string(pid)};
    }
    std::optional<std::string> title(const platform::AccessibleElement& element) override {
        auto node = find(nodes, element.path);
        return node ? node->title : std::nullopt;
    }
    std::optional<std::vector<platform::AccessibleElement>>
    children(const platform::AccessibleElement& element) override {
        auto node = find(nodes, element.path);
        if (!node) return std::nullopt;
        std::vector<platform::AccessibleElement> elements;
        for (const auto& child : node->children)
            elements.push_back({"", child});
        return elements;
    }
    void show() override { ++prompts; }

  private:
    template <class Map, class Key>
    static std::optional<typename Map::mapped_type> find(const Map& map, const Key& key) {
        auto it = map.find(key);
        if (it == map.end()) return std::nullopt;
        return it->second;
    }
};

} // namespace vimbo::fakes
