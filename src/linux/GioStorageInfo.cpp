#include "linux/GioStorageInfo.h"

#include "linux/GLibOwners.h"

#include <gio/gio.h>

namespace vimbo::linuxdesktop {

std::optional<platform::FreeSpace> GioStorageInfo::freeSpace(const std::string& folder) {
    GObjectPtr<GFile> file(g_file_new_for_path(folder.c_str()));
    GErrorPtr error;
    GObjectPtr<GFileInfo> info(g_file_query_filesystem_info(file.get(), G_FILE_ATTRIBUTE_FILESYSTEM_FREE,
                                                            nullptr, GErrorOut(error)));
    if (!info) return std::nullopt;
    if (!g_file_info_has_attribute(info.get(), G_FILE_ATTRIBUTE_FILESYSTEM_FREE))
        return platform::FreeSpace{};
    return platform::FreeSpace{
        true, g_file_info_get_attribute_uint64(info.get(), G_FILE_ATTRIBUTE_FILESYSTEM_FREE)};
}

std::string GioStorageInfo::formatSize(std::uint64_t bytes) {
    GText text(g_format_size(bytes));
    return text.get();
}

std::optional<std::string> GioStorageInfo::mediaType(const std::string& fileName) {
    GText type(g_content_type_guess(fileName.c_str(), nullptr, 0, nullptr));
    if (!type || g_content_type_is_unknown(type.get())) return std::nullopt;
    GText mime(g_content_type_get_mime_type(type.get()));
    return mime ? std::optional<std::string>(mime.get()) : std::nullopt;
}

} // namespace vimbo::linuxdesktop
