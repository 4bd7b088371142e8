#pragma once

#include "core/export/ExportPorts.h"

#include <memory>
#include <string>
#include <vector>

namespace vimbo::export_ {

// The export's open panels: the audio files and the background image, each handed to the page as
// base64 with its name. Main thread.
class ExportPickers : public std::enable_shared_from_this<ExportPickers> {
  public:
    static std::shared_ptr<ExportPickers> create(ExportPorts ports, PageCall toPage);
    ExportPickers(ExportPorts ports, PageCall toPage);

    // One "__exportAddFile" call per readable chosen file, in the panel's order.
    void pickAudioFiles();
    // One "__exportSetBackground" call with the image's bytes, name and media type.
    void pickBackground();

  private:
    void addAudioFiles(const std::vector<std::string>& paths);
    void setBackground(const std::string& path);

    ExportPorts ports_;
    PageCall toPage_;
};

} // namespace vimbo::export_
