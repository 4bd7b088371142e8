#pragma once

#include "core/platform/DefaultsStore.h"

namespace vimbo::chrome {

// Whether the user wants the glass backdrop, persisted under "glassMode" (absent reads as false).
class GlassPreferenceStore {
  public:
    explicit GlassPreferenceStore(platform::DefaultsStore& defaults) : defaults_(defaults) {}

    bool load() const { return defaults_.readBool("glassMode").value_or(false); }
    void save(bool enabled) { defaults_.writeBool("glassMode", enabled); }

  private:
    platform::DefaultsStore& defaults_;
};

} // namespace vimbo::chrome
