#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace vimbo::platform {

// The kinds of file a panel offers.
enum class FileType { mp3Audio, waveAudio, audio, mpeg4Audio, image, mpeg4Movie };

struct OpenPanel {
    std::string title;
    std::string prompt; // the confirming button
    bool multipleSelection = false;
    std::vector<FileType> allowedTypes; // the panel offers files of any of them
};

struct SavePanel {
    std::string title;
    std::string prompt;
    std::string proposedName;
    FileType allowedType = FileType::mpeg4Movie;
};

// The desktop's open and save panels. Main thread; answers come on the main thread.
class FilePanels {
  public:
    using Chosen = std::function<void(std::vector<std::string> paths)>;
    using ChosenDestination = std::function<void(std::optional<std::string> path)>;

    virtual ~FilePanels() = default;

    // A window of its own; `chosen` runs only when the user confirms, with the paths in the panel's order.
    virtual void chooseFilesToOpen(const OpenPanel& panel, Chosen chosen) = 0;
    // Modal on the main window; `chosen` runs once, with none when the user cancels.
    virtual void chooseFileToSave(const SavePanel& panel, ChosenDestination chosen) = 0;
};

} // namespace vimbo::platform
