#include "linux/GtkFilePanels.h"

#include "linux/GLibOwners.h"

#include <algorithm>
#include <functional>
#include <memory>
#include <utility>

namespace vimbo::linuxdesktop {
namespace {

struct TypeFilter {
    platform::FileType type;
    const char* mimeType;
    const char* filterName;
};

// Every audio type falls under one "Audio files" filter, as the panels offer them together.
constexpr TypeFilter kTypeFilters[] = {
    {platform::FileType::mp3Audio, "audio/mpeg", "Audio files"},
    {platform::FileType::waveAudio, "audio/x-wav", "Audio files"},
    {platform::FileType::audio, "audio/*", "Audio files"},
    {platform::FileType::mpeg4Audio, "audio/mp4", "Audio files"},
    {platform::FileType::image, "image/*", "Images"},
    {platform::FileType::mpeg4Movie, "video/mp4", "MPEG-4 video"},
};

void addFilter(GtkFileChooser* chooser, const std::vector<platform::FileType>& types) {
    GtkFileFilter* filter = gtk_file_filter_new();
    for (const auto& entry : kTypeFilters) {
        if (std::find(types.begin(), types.end(), entry.type) == types.end()) continue;
        if (!gtk_file_filter_get_name(filter)) gtk_file_filter_set_name(filter, entry.filterName);
        gtk_file_filter_add_mime_type(filter, entry.mimeType);
    }
    gtk_file_chooser_add_filter(chooser, filter);
}

// Gets the chooser and whether the user confirmed.
using Answer = std::function<void(GtkFileChooser* chooser, bool accepted)>;

void onResponse(GtkNativeDialog* dialog, gint response, gpointer answer) {
    (*static_cast<Answer*>(answer))(GTK_FILE_CHOOSER(dialog), response == GTK_RESPONSE_ACCEPT);
    // The answer goes with the dialog.
    g_object_unref(dialog);
}

// Shows the dialog, which holds `answer` until its response has run.
void show(GtkFileChooserNative* dialog, Answer answer) {
    auto held = std::make_unique<Answer>(std::move(answer));
    g_signal_connect(dialog, "response", G_CALLBACK(onResponse), held.get());
    g_object_set_data_full(G_OBJECT(dialog), "vimbo-answer", held.release(),
                           [](gpointer data) { std::unique_ptr<Answer>(static_cast<Answer*>(data)); });
    gtk_native_dialog_show(GTK_NATIVE_DIALOG(dialog));
}

} // namespace

void GtkFilePanels::chooseFilesToOpen(const platform::OpenPanel& panel, Chosen chosen) {
    // No parent: the panel is a window of its own.
    GtkFileChooserNative* dialog = gtk_file_chooser_native_new(
        panel.title.c_str(), nullptr, GTK_FILE_CHOOSER_ACTION_OPEN, panel.prompt.c_str(), nullptr);
    auto* chooser = GTK_FILE_CHOOSER(dialog);
    gtk_file_chooser_set_select_multiple(chooser, panel.multipleSelection);
    addFilter(chooser, panel.allowedTypes);
    show(dialog, [chosen = std::move(chosen)](GtkFileChooser* chooser, bool accepted) {
        if (!accepted) return;
        std::vector<std::string> paths;
        GSList* names = gtk_file_chooser_get_filenames(chooser);
        for (GSList* item = names; item; item = item->next)
            paths.emplace_back(static_cast<const char*>(item->data));
        g_slist_free_full(names, g_free);
        chosen(std::move(paths));
    });
}

void GtkFilePanels::chooseFileToSave(const platform::SavePanel& panel, ChosenDestination chosen) {
    GtkFileChooserNative* dialog = gtk_file_chooser_native_new(
        panel.title.c_str(), mainWindow_, GTK_FILE_CHOOSER_ACTION_SAVE, panel.prompt.c_str(), nullptr);
    gtk_native_dialog_set_modal(GTK_NATIVE_DIALOG(dialog), TRUE);
    auto* chooser = GTK_FILE_CHOOSER(dialog);
    gtk_file_chooser_set_current_name(chooser, panel.proposedName.c_str());
    gtk_file_chooser_set_do_overwrite_confirmation(chooser, TRUE);
    gtk_file_chooser_set_create_folders(chooser, TRUE);
    addFilter(chooser, {panel.allowedType});
    show(dialog, [chosen = std::move(chosen)](GtkFileChooser* chooser, bool accepted) {
        GText path(accepted ? gtk_file_chooser_get_filename(chooser) : nullptr);
        chosen(path ? std::optional<std::string>(path.get()) : std::nullopt);
    });
}

} // namespace vimbo::linuxdesktop
