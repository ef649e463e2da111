// The asset store over an archive made here: ids, lookup, the choice of
// decoder by extension, and the temporary files it makes and removes.
#include "assets/asset_store.h"

#include "assets/image_loader.h"
#include "platform/embedded_resources.h"
#include "platform/temp_file.h"
#include "tests/archive/archive_bytes.h"
#include "tests/support/gl_test_context.h"
#include "tests/support/temp_dir.h"
#include "tests/support/test_images.h"

#include <gtest/gtest.h>

#include <GL/gl.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <thread>

namespace {

std::string asString(const Bytes &bytes) { return std::string(bytes.begin(), bytes.end()); }

// Flat images for the archive.
std::string smallPng(uint32_t width, uint32_t height) {
    return asString(encodePng(int(width), int(height), Bytes(size_t(width) * height * 4, 0x80)));
}
std::string smallJpeg(uint32_t width, uint32_t height) {
    return asString(encodeJpeg(int(width), int(height), Bytes(size_t(width) * height * 3, 0x40)));
}

class AssetStoreTest : public ::testing::Test {
protected:
    GLTestContext gl{4, 4};
    ScopedTempDir temp;
    std::string archive;
    std::string module = binaryBytes(32140, 5);
    std::vector<Texture *> loaded;  // the store never frees textures; the test does

    void SetUp() override {
        ASSERT_TRUE(gl.ok());
        const std::string png = smallPng(8, 4), jpeg = smallJpeg(16, 16);
        useArchive(buildArchive({
            {"photo.jpg", jpeg},
            {"logo.png", png},
            {"LOGO.PNG", png},
            {"photo.jpeg", jpeg},
            {"scroller-selection.title.png", png},
            {"noextension", png},
            {"broken.png", "not a png at all"},
            {"HALVIX.xm", module},
        }));
    }

    void TearDown() override {
        AssetStore::destroyInstance();
        overrideResource("REZ", 102, nullptr, 0);
        for (Texture *t : loaded) delete t;
    }

    void useArchive(const std::string &bytes) {
        archive = bytes;
        overrideResource("REZ", 102, reinterpret_cast<const unsigned char *>(archive.data()),
                         archive.size());
    }

    int load(const std::string &name) {
        int id = loadTextureNow(name);
        if (Texture *t = AssetStore::instance()->texture(id)) loaded.push_back(t);
        return id;
    }
};

TEST_F(AssetStoreTest, IdsCountUpFromOneAndFailedLoadsStillTakeOne) {
    EXPECT_EQ(load("logo.png"), 1);
    EXPECT_EQ(load("missing.png"), 2);
    EXPECT_EQ(load("photo.jpg"), 3);
    EXPECT_EQ(load("broken.png"), 4);
    AssetStore *store = AssetStore::instance();
    ASSERT_NE(store->texture(1), nullptr);
    EXPECT_EQ(store->texture(1)->imageWidth, 8u);
    EXPECT_EQ(store->texture(1)->hasAlpha, 1);
    EXPECT_EQ(store->texture(2), nullptr);
    ASSERT_NE(store->texture(3), nullptr);
    EXPECT_EQ(store->texture(3)->imageWidth, 16u);
    EXPECT_EQ(store->texture(4), nullptr);
    EXPECT_EQ(store->texture(0), nullptr);
    EXPECT_EQ(store->texture(5), nullptr) << "not issued yet";
    EXPECT_EQ(store->texture(-1), nullptr);
    EXPECT_EQ(load("logo.png"), 5);
}

TEST_F(AssetStoreTest, OnlyTheExactLastExtensionChoosesADecoder) {
    AssetStore *store = AssetStore::instance();
    EXPECT_EQ(store->texture(load("LOGO.PNG")), nullptr);
    EXPECT_EQ(store->texture(load("photo.jpeg")), nullptr);
    EXPECT_EQ(store->texture(load("noextension")), nullptr);
    EXPECT_EQ(store->texture(load("HALVIX.xm")), nullptr);
    EXPECT_NE(store->texture(load("scroller-selection.title.png")), nullptr);
}

TEST_F(AssetStoreTest, SameNameTwiceMakesTwoTextures) {
    int first = load("logo.png"), second = load("logo.png");
    EXPECT_NE(first, second);
    Texture *a = AssetStore::instance()->texture(first), *b = AssetStore::instance()->texture(second);
    ASSERT_NE(a, nullptr);
    ASSERT_NE(b, nullptr);
    EXPECT_NE(a, b);
    EXPECT_NE(a->glName, b->glName);
}

TEST_F(AssetStoreTest, NoImageFileOutlivesItsLoad) {
    AssetStore::instance();
    ASSERT_EQ(temp.files().size(), 1u) << "the archive copy";
    for (const char *name : {"logo.png", "photo.jpg", "broken.png", "LOGO.PNG", "HALVIX.xm",
                             "missing.png", "noextension"}) {
        SCOPED_TRACE(name);
        load(name);
        EXPECT_EQ(temp.files().size(), 1u);
    }
}

TEST_F(AssetStoreTest, ExtractedFileHoldsTheEntryUntilTheCallerDeletesIt) {
    std::string path = AssetStore::instance()->extractToTempFile("HALVIX.xm");
    ASSERT_FALSE(path.empty());
    load("logo.png");
    AssetStore::destroyInstance();
    ASSERT_TRUE(std::filesystem::exists(path));
    EXPECT_EQ(readWholeFile(path), module);
    removeTempFile(path);
    EXPECT_TRUE(temp.files().empty());
    EXPECT_EQ(AssetStore::instance()->extractToTempFile("halvix.xm"), "");
}

TEST_F(AssetStoreTest, ArchiveCopyIsMadeOnceAndGoesWithTheStore) {
    AssetStore *store = AssetStore::instance();
    EXPECT_EQ(AssetStore::instance(), store);
    EXPECT_EQ(AssetStore::instance(), store);
    EXPECT_EQ(temp.files().size(), 1u);
    AssetStore::destroyInstance();
    EXPECT_TRUE(temp.files().empty());
    AssetStore::destroyInstance();  // no store: nothing to do
}

TEST_F(AssetStoreTest, UnreadableArchiveMakesEveryLoadFailQuietly) {
    useArchive(std::string("\x05\0\0\0", 4) + "far too short for five entries");
    EXPECT_EQ(load("logo.png"), 1);
    EXPECT_EQ(AssetStore::instance()->texture(1), nullptr);
    EXPECT_EQ(AssetStore::instance()->extractToTempFile("HALVIX.xm"), "");
    AssetStore::destroyInstance();
    EXPECT_TRUE(temp.files().empty()) << "the refused copy is deleted all the same";
}

// Loading in the background: the same ids, each texture with its levels once
// it has arrived, failures ending as null.
TEST_F(AssetStoreTest, RequestedImagesTakeTheNextIdsAndArriveWithTheirLevels) {
    AssetStore *store = AssetStore::instance();
    store->pauseLoading();
    EXPECT_EQ(load("logo.png"), 1);
    const int photo = store->requestTexture("photo.jpg", LoadWhen::Later, {1, 2, 4});
    const int broken = store->requestTexture("broken.png", LoadWhen::Later);
    EXPECT_EQ(photo, 2);
    EXPECT_EQ(broken, 3);
    EXPECT_EQ(load("logo.png"), 4);
    EXPECT_TRUE(store->isLoading(photo));
    EXPECT_EQ(store->texture(photo), nullptr) << "held back";
    EXPECT_EQ(AssetStore::uploadArrived(10), 0);

    store->finishLoading();
    EXPECT_FALSE(store->isLoading(photo));
    EXPECT_FALSE(store->isLoading(broken));
    EXPECT_EQ(store->texture(broken), nullptr);
    Texture *t = store->texture(photo);
    ASSERT_NE(t, nullptr);
    loaded.push_back(t);
    ASSERT_EQ(t->pixelatedLevels.size(), 3u);
    EXPECT_EQ(t->pixelatedLevels[0], t->glName) << "block 1 of R G B is the texture itself";
    const uint32_t sides[] = {16, 8, 4};
    for (int k = 0; k < 3; ++k) {
        GLint width = 0;
        glBindTexture(GL_TEXTURE_2D, t->pixelatedLevels[size_t(k)]);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
        EXPECT_EQ(uint32_t(width), sides[k]) << "level " << k;
    }
    EXPECT_EQ(temp.files().size(), 1u) << "only the archive copy";
}

TEST_F(AssetStoreTest, TheFirstFrameWaitsForItsOwnImagesAndTheRestComeOneUploadAtATime) {
    AssetStore *store = AssetStore::instance();
    store->pauseLoading();
    const int first = store->requestTexture("logo.png", LoadWhen::FirstFrame);
    const int later[] = {store->requestTexture("photo.jpg", LoadWhen::Later),
                         store->requestTexture("logo.png", LoadWhen::Later),
                         store->requestTexture("photo.jpg", LoadWhen::Later)};
    store->waitForFirstFrame();
    ASSERT_NE(store->texture(first), nullptr);
    loaded.push_back(store->texture(first));
    for (int id : later) EXPECT_TRUE(store->isLoading(id));

    store->resumeLoading();
    int uploads = 0;
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (store->isLoading(later[0]) || store->isLoading(later[1]) || store->isLoading(later[2])) {
        ASSERT_LT(std::chrono::steady_clock::now(), giveUp) << "the loader's threads never delivered";
        const int uploaded = AssetStore::uploadArrived(1);
        EXPECT_LE(uploaded, 1);
        uploads += uploaded;
        std::this_thread::yield();
    }
    EXPECT_EQ(uploads, 3);
    for (int id : later) {
        ASSERT_NE(store->texture(id), nullptr);
        loaded.push_back(store->texture(id));
    }
}

TEST_F(AssetStoreTest, DestroyingTheStoreWhileImagesLoadEndsItsThreadsAndLeavesNoFile) {
    AssetStore *store = AssetStore::instance();
    for (int i = 0; i < 40; ++i) store->requestTexture(i % 2 ? "photo.jpg" : "logo.png", LoadWhen::Later, {1, 2});
    AssetStore::destroyInstance();
    EXPECT_TRUE(temp.files().empty());
}

// The loader's bound on memory: at most maxWaiting images begun and not yet
// taken. Each load checks it when it begins, against the images taken, which
// the test counts before each take so that its count never lags the loader's.
constexpr unsigned MAX_WAITING = 2;
std::atomic<int> loadsBegun{0}, loadsEnded{0}, takenOrTaking{0}, beyondTheBound{0};

LoadedImage countedLoad(const ImageRequest &) {
    if (++loadsBegun - takenOrTaking.load() > int(MAX_WAITING)) ++beyondTheBound;
    ++loadsEnded;
    return LoadedImage{};
}

TEST(ImageLoader, HoldsNoMoreThanMaxWaitingImagesBeforeTheyAreTaken) {
    constexpr int IMAGES = 60;
    loadsBegun = loadsEnded = takenOrTaking = beyondTheBound = 0;
    ImageLoader loader(MAX_WAITING + 1, MAX_WAITING, countedLoad);   // a thread to spare
    for (int id = 1; id <= IMAGES; ++id) loader.request({id, "image.png", {}, false});
    for (int taken = 0; taken < IMAGES;) {
        if (loadsEnded.load() <= taken) {   // wait for a load to come back
            std::this_thread::yield();
            continue;
        }
        ++takenOrTaking;
        LoadedImage image;
        if (loader.takeArrived(image, false)) ++taken;
        else --takenOrTaking;
    }
    EXPECT_EQ(beyondTheBound.load(), 0) << "more than " << MAX_WAITING << " images were held at once";
}

}  // namespace
