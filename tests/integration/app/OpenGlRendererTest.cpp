#include "linux/OpenGlRenderer.h"

#include <gtest/gtest.h>

namespace vimbo::linuxdesktop {
namespace {

TEST(OpenGlRendererTest, OnlyMesasCpuRasterizersCountAsSoftware) {
    EXPECT_TRUE(rendersInSoftware("llvmpipe (LLVM 15.0.6, 256 bits)"));
    // GPU drivers built on LLVM name it too.
    EXPECT_FALSE(
        rendersInSoftware("AMD Radeon RX 6600 (radeonsi, navi23, LLVM 15.0.6, DRM 3.49, 6.1.0-13-amd64)"));
    EXPECT_FALSE(rendersInSoftware(""));
    EXPECT_EQ(openGlRenderer(nullptr), std::nullopt); // no display, no renderer
}

} // namespace
} // namespace vimbo::linuxdesktop
