// A temporary folder that cannot be written: the store works on without what
// it could not extract, says nothing itself, and tells why when asked.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "assets/asset_store.h"
#include "tests/support/gl_test_context.h"
#include "tests/support/test_images.h"

namespace {

TEST(UnwritableTempFolder, LoadsFailQuietlyAndTheStoreTellsWhy) {
    GLTestContext gl{8, 8};
    Bytes png = encodePng(1, 1, Bytes{1, 2, 3, 255});
    ScopedArchive archive{packArchive({{"a.png", png}, {"HALVIX.xm", Bytes(100, 7)}})};
    const char *previous = std::getenv("TMPDIR");
    const std::string kept = previous ? previous : "";
    setenv("TMPDIR", "/nonexistent/dorirova-test", 1);

    ::testing::internal::CaptureStderr();
    AssetStore *store = AssetStore::instance();
    const int id = loadTextureNow("a.png");
    const std::string music = store->extractToTempFile("HALVIX.xm");
    const int second = loadTextureNow("a.png");
    const std::string said = ::testing::internal::GetCapturedStderr();

    EXPECT_EQ(id, 1);
    EXPECT_EQ(store->texture(id), nullptr);
    EXPECT_EQ(second, 2);
    EXPECT_TRUE(music.empty());
    EXPECT_EQ(said, "");
    EXPECT_EQ(store->extractionFailure(), "cannot write temporary files in /nonexistent/dorirova-test");
    EXPECT_EQ(store->failedLoads(), 2);
    if (previous) setenv("TMPDIR", kept.c_str(), 1);
    else unsetenv("TMPDIR");
}

}  // namespace
