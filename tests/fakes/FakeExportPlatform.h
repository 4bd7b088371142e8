#pragma once

#include "core/export/ExportPorts.h"

#include <map>
#include <string>
#include <vector>

namespace vimbo::fakes {

// Panels answered by the test, files in a map, and folders whose free space the test sets (any other
// folder's cannot be read).
class FakeExportPlatform : public platform::FilePanels,
                           public platform::FileStore,
                           public platform::StorageInfo {
  public:
    std::map<std::string, std::string> files;
    std::optional<std::string> writeError; // every write fails with it
    std::map<std::string, platform::FreeSpace> freeSpaceOf{{"/videos", {true, 1'000'000'000}}};
    std::vector<platform::OpenPanel> openPanels;
    std::vector<platform::SavePanel> savePanels;
    Chosen openAnswer;
    ChosenDestination saveAnswer;

    export_::ExportPorts ports() { return {*this, *this, *this}; }

    void chooseFilesToOpen(const platform::OpenPanel& panel, Chosen chosen) override {
        openPanels.push_back(panel);
        openAnswer = std::move(chosen);
    }
    void chooseFileToSave(const platform::SavePanel& panel, ChosenDestination chosen) override {
        savePanels.push_back(panel);
        saveAnswer = std::move(chosen);
    }

    std::optional<std::string> read(const std::string& path) override {
        auto found = files.find(path);
        return found == files.end() ? std::nullopt : std::optional(found->second);
    }
    bool remove(const std::string& path) override {
        files.erase(path);
        return true;
    }
    std::unique_ptr<platform::WritableFile> create(const std::string& path) override {
        if (files.contains(path)) return nullptr; // only new files, as the real one
        files[path];
        return std::make_unique<File>(*this, path);
    }
    std::optional<std::string> replace(const std::string& from, const std::string& to) override {
        files[to] = files[from];
        files.erase(from);
        return std::nullopt;
    }

    std::optional<platform::FreeSpace> freeSpace(const std::string& folder) override {
        auto found = freeSpaceOf.find(folder);
        return found == freeSpaceOf.end() ? std::nullopt : std::optional(found->second);
    }
    std::string formatSize(std::uint64_t bytes) override { return std::to_string(bytes) + " B"; }
    std::optional<std::string> mediaType(const std::string& name) override {
        if (name.ends_with(".jpg")) return "image/jpeg";
        return std::nullopt;
    }

  private:
    struct File : platform::WritableFile {
        File(FakeExportPlatform& owner, std::string path) : owner(owner), path(std::move(path)) {}
        std::optional<std::string> writeAt(std::uint64_t offset, std::string_view bytes) override {
            if (owner.writeError) return owner.writeError;
            auto& content = owner.files[path];
            content.resize(std::max<std::size_t>(content.size(), offset + bytes.size()));
            content.replace(offset, bytes.size(), bytes);
            return std::nullopt;
        }
        std::optional<std::string> syncAndClose() override { return std::nullopt; }
        FakeExportPlatform& owner;
        std::string path;
    };
};

} // namespace vimbo::fakes
