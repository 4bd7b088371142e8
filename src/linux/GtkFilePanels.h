#pragma once

#include "core/platform/FilePanels.h"

#include <gtk/gtk.h>

namespace vimbo::linuxdesktop {

// Open and save panels as GtkFileChooserNative, which goes through the desktop portal where one runs.
class GtkFilePanels : public platform::FilePanels {
  public:
    // The window the save panel is modal on; none until the main window exists.
    void setMainWindow(GtkWindow* window) { mainWindow_ = window; }

    void chooseFilesToOpen(const platform::OpenPanel& panel, Chosen chosen) override;
    void chooseFileToSave(const platform::SavePanel& panel, ChosenDestination chosen) override;

  private:
    GtkWindow* mainWindow_ = nullptr;
};

} // namespace vimbo::linuxdesktop
