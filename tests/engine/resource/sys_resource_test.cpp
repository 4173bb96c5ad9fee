// The resource subsystem: counts and collection, folded names, generated
// names, loads by mode with and without the loader thread, and the kinds it
// makes (pictures with a colour key, files with their terminator, render
// targets that survive a reset, the vertex buffer).
#include "engine/resource/sys_resource.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "engine/file/string_util.h"
#include "engine/resource/render_target.h"
#include "engine/resource/render_texture.h"
#include "engine/resource/res_file_memory.h"
#include "engine/resource/res_target.h"
#include "engine/resource/res_vertex_buffer.h"
#include "platform/gfx/png_writer.h"
#include "platform/image/stb_image_decoder.h"
#include "tests/support/gfx_test_support.h"
#include "tests/support/recording_graphics_device.h"
#include "tests/support/scratch_folder.h"

namespace qel {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

class SysResourceTest : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(dir_ / "data");
        res_.setImageDecoder(&decoder_);
        res_.setDevice(&device_);
    }
    void TearDown() override { res_.term(); }

    std::string path(const std::string& name) const { return dir_.string() + "/" + name; }
    void put(const std::string& name, const Bytes& data) const {
        std::ofstream(path(name), std::ios::binary)
            .write(reinterpret_cast<const char*>(data.data()),
                   static_cast<std::streamsize>(data.size()));
    }
    // A small PNG whose top-left pixel is the colour.
    void putPng(const std::string& name, std::uint32_t argb, int w = 3, int h = 2) const {
        Surface s(w, h, PixelFormat::A8R8G8B8);
        s.fill(argb);
        put(name, PngWriter::encode(s));
    }

    test::ScratchFolder scratch_;
    const fs::path& dir_ = scratch_.path();
    StbImageDecoder decoder_;
    RecordingGraphicsDevice device_;
    SysResource res_;
};

TEST_F(SysResourceTest, HandlesCountReferencesAndCollectionTakesTheUnheld) {
    putPng("a.png", 0xFF112233u);
    RenderTexture* first = res_.getTexture(path("a.png"), 0, SysResource::kLoadNow);
    ASSERT_NE(first, nullptr);
    ResTexture* tex = first->getTexture();
    EXPECT_EQ(tex->getRefCount(), 2);  // the map and the handle
    EXPECT_EQ(first->getState(), ResBase::kLoaded);
    EXPECT_EQ(tex->getWidth(), 4u);  // 3 x 2 rounded up to powers of two
    EXPECT_EQ(tex->getHeight(), 2u);

    // Other letters' case, same resource; the second ask's key and mode are ignored.
    RenderTexture* second = res_.getTexture(path("A.PNG"), 0xFF000000u, 7);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second->getTexture(), tex);
    EXPECT_EQ(tex->getRefCount(), 3);
    EXPECT_EQ(tex->getColorKey(), 0u);

    EXPECT_FALSE(res_.collectGarbage());
    delete first;
    EXPECT_FALSE(res_.collectGarbage());
    delete second;
    EXPECT_EQ(tex->getRefCount(), 1);
    EXPECT_TRUE(res_.collectGarbage());
    EXPECT_EQ(res_.resourceCount(), 0u);
    EXPECT_FALSE(res_.collectGarbage());
}

TEST_F(SysResourceTest, PathsFoldOnlySingleByteCapitals) {
    putPng("data/title.png", 0xFF00FF00u);
    // "ア" is 83 41; "ヂ" (83 61) is another name, and no file here.
    putPng("ア.png", 0xFF0000FFu);

    struct Case {
        const char* asked;
        std::int32_t state;
    } cases[] = {
        {"Data\\Title.PNG", ResBase::kLoaded},
        {"ア.png", ResBase::kLoaded},
        {"ヂ.png", ResBase::kFailed},
        {"missing.png", ResBase::kFailed},
    };
    for (const Case& c : cases) {
        RenderTexture* h = res_.getTexture(path(c.asked), 0, SysResource::kLoadNow);
        ASSERT_NE(h, nullptr) << c.asked;
        EXPECT_EQ(h->getState(), c.state) << c.asked;
        delete h;
    }
    EXPECT_NE(res_.find(path("ア.png")), res_.find(path("ヂ.png")));
    EXPECT_EQ(res_.find(path("DATA\\TITLE.png")), res_.find(path("data\\title.png")));
    EXPECT_EQ(res_.find(path("data\\title.png"))->getName(), foldName(path("Data\\Title.PNG")));
}

TEST_F(SysResourceTest, PicturesThatCannotBeReadFailAndStayFailed) {
    putPng("whole.png", 0xFFFFFFFFu, 16, 16);
    Bytes png = PngWriter::encode([] {
        Surface s(16, 16, PixelFormat::A8R8G8B8);
        s.fill(0xFFFFFFFFu);
        return s;
    }());
    png.resize(png.size() / 2);
    put("cut.png", png);
    put("empty.png", {});
    for (const char* name : {"cut.png", "empty.png", "nowhere/x.png"}) {
        RenderTexture* h = res_.getTexture(path(name), 0, SysResource::kLoadNow);
        EXPECT_EQ(h->getState(), ResBase::kFailed) << name;
        EXPECT_EQ(h->getTexture()->getSurface(), nullptr) << name;
        EXPECT_EQ(h->loadedTexture(), nullptr) << name;
        delete h;
    }
    // Without a decoder nothing decodes.
    res_.setImageDecoder(nullptr);
    RenderTexture* h = res_.getTexture(path("whole.png"), 0, SysResource::kLoadNow);
    EXPECT_EQ(h->getState(), ResBase::kFailed);
    delete h;
}

TEST_F(SysResourceTest, ColourKeyMakesItsPixelsTransparentBlack) {
    put("keyed.bmp", test::bmp24({{0x000000, 0xFF0000}, {0x010101, 0x000000}}));
    RenderTexture* h = res_.getTexture(path("keyed.bmp"), 0xFF000000u, SysResource::kLoadNow);
    ASSERT_EQ(h->getState(), ResBase::kLoaded);
    const Surface& s = *h->getTexture()->getSurface();
    EXPECT_EQ(test::hex(s.at(0, 0)), "00000000");
    EXPECT_EQ(test::hex(s.at(1, 0)), "FFFF0000");
    EXPECT_EQ(test::hex(s.at(0, 1)), "FF010101");
    EXPECT_EQ(test::hex(s.at(1, 1)), "00000000");
    EXPECT_EQ(h->getTexture()->getColorKey(), 0xFF000000u);
    delete h;
}

TEST_F(SysResourceTest, QueuedLoadsWaitForTheirTurnAndFirstOvertakes) {
    for (const char* n : {"a.png", "b.png", "c.png"}) putPng(n, 0xFF808080u);
    // No init: no loader thread, the test takes the thread's turns.
    RenderTexture* a = res_.getTexture(path("a.png"), 0, SysResource::kLoadQueued);
    RenderTexture* b = res_.getTexture(path("b.png"), 0, SysResource::kLoadQueued);
    RenderTexture* c = res_.getTexture(path("c.png"), 0, SysResource::kLoadFirst);
    EXPECT_EQ(res_.pendingRequests(), 3u);
    EXPECT_EQ(a->getTexture()->getRefCount(), 3);  // map, loader, handle
    EXPECT_FALSE(res_.collectGarbage());

    struct Step {
        std::int32_t a, b, c;
    } steps[] = {{0, 0, 1}, {1, 0, 1}, {1, 1, 1}};
    EXPECT_EQ(a->getState() + b->getState() + c->getState(), 0);
    for (const Step& s : steps) {
        ASSERT_TRUE(res_.loadNext());
        EXPECT_EQ(a->getState(), s.a);
        EXPECT_EQ(b->getState(), s.b);
        EXPECT_EQ(c->getState(), s.c);
    }
    EXPECT_FALSE(res_.loadNext());
    EXPECT_EQ(a->getTexture()->getRefCount(), 2);  // the loader's went with it
    delete a;
    delete b;
    delete c;
}

TEST_F(SysResourceTest, TheLoaderThreadLoadsQueuedPictures) {
    putPng("t.png", 0xFF445566u);
    ASSERT_TRUE(res_.init());
    RenderTexture* h = res_.getTexture(path("t.png"), 0, SysResource::kLoadQueued);
    // A deadline, not a timing: the load has happened by then or never.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (h->getState() == ResBase::kNotLoaded && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    EXPECT_EQ(h->getState(), ResBase::kLoaded);
    EXPECT_EQ(test::hex(h->getTexture()->getSurface()->at(0, 0)), "FF445566");
    delete h;
}

TEST_F(SysResourceTest, TermDropsQueuedLoadsAndJoinsTheThread) {
    putPng("q.png", 0xFF000000u);
    // Queued without a thread: term deletes them unloaded.
    for (int i = 0; i < 3; ++i) {
        delete res_.getTexture(path("q" + std::to_string(i) + ".png"), 0, SysResource::kLoadQueued);
    }
    EXPECT_EQ(res_.pendingRequests(), 3u);
    res_.term();
    EXPECT_EQ(res_.pendingRequests(), 0u);
    EXPECT_EQ(res_.resourceCount(), 0u);

    // With the thread running, whatever it has not reached is dropped the same way.
    ASSERT_TRUE(res_.init());
    for (int i = 0; i < 20; ++i) {
        delete res_.getTexture(path("q.png?" + std::to_string(i)), 0, SysResource::kLoadQueued);
    }
    res_.term();
    EXPECT_EQ(res_.pendingRequests(), 0u);
    EXPECT_EQ(res_.resourceCount(), 0u);
}

TEST_F(SysResourceTest, FilesInMemoryEndWithAZeroAndCountTheirCallers) {
    put("snd.ogg", {'O', 'g', 'g', 'S', 0x00, 0xFF});
    ResFileMemory* f = res_.getFileMemory(path("SND.ogg"));
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(f->getState(), ResBase::kLoaded);
    EXPECT_EQ(f->getSize(), 6u);
    EXPECT_EQ(f->getData()[5], 0xFF);
    EXPECT_EQ(f->getData()[6], 0);
    EXPECT_EQ(f->getRefCount(), 2);
    EXPECT_EQ(res_.getFileMemory(path("snd.ogg")), f);
    EXPECT_EQ(f->getRefCount(), 3);
    f->release();
    f->release();
    EXPECT_TRUE(res_.collectGarbage());

    ResFileMemory* missing = res_.getFileMemory(path("none.ogg"));
    ASSERT_NE(missing, nullptr);
    EXPECT_EQ(missing->getState(), ResBase::kFailed);
    EXPECT_EQ(missing->getData(), nullptr);
    EXPECT_EQ(missing->getSize(), 0u);
    missing->release();

    put("empty", {});
    ResFileMemory* empty = res_.getFileMemory(path("empty"));
    EXPECT_EQ(empty->getState(), ResBase::kLoaded);
    EXPECT_EQ(empty->getSize(), 0u);
    EXPECT_EQ(empty->getData()[0], 0);
    empty->release();
}

TEST_F(SysResourceTest, ANameOfAnotherKindAnswersNone) {
    put("both.bin", {1, 2, 3});
    RenderTexture* tex = res_.getTexture(path("both.bin"), 0, SysResource::kLoadNow);
    EXPECT_EQ(res_.getFileMemory(path("both.bin")), nullptr);
    ResFileMemory* file = res_.getFileMemory(path("other.bin"));
    EXPECT_EQ(res_.getTexture(path("other.bin"), 0, SysResource::kLoadNow), nullptr);
    file->release();
    delete tex;
}

TEST_F(SysResourceTest, GeneratedNamesCountInHexAcrossKinds) {
    RenderTarget* target = res_.createRenderTarget(800, 600, PixelFormat::A8R8G8B8);
    ResVertexBuffer* vb = res_.createVertexBuffer();
    ASSERT_NE(target, nullptr);
    ASSERT_NE(vb, nullptr);
    EXPECT_EQ(target->getTarget()->getName(), "ResTarget1");
    EXPECT_EQ(vb->getName(), "VertexBuffer2 [600]");
    EXPECT_EQ(target->getTarget()->getRefCount(), 3);  // the map and the handle's two
    EXPECT_EQ(vb->getRefCount(), 2);                   // the map and the caller
    EXPECT_EQ(vb->getVertexCount(), 600u);
    // Capitals are never found through a folded name.
    EXPECT_EQ(res_.find("ResTarget1"), nullptr);

    std::vector<RenderTarget*> more;
    for (int i = 3; i <= 11; ++i)
        more.push_back(res_.createRenderTarget(2, 3, PixelFormat::A8R8G8B8));
    EXPECT_EQ(more.back()->getTarget()->getName(), "ResTargetb");

    // A refused surface: no target, no entry, but the number is used.
    device_.setRefuseSurfaces(true);
    EXPECT_EQ(res_.createRenderTarget(4, 4, PixelFormat::A8R8G8B8), nullptr);
    device_.setRefuseSurfaces(false);
    RenderTarget* next = res_.createRenderTarget(4, 4, PixelFormat::A8R8G8B8);
    EXPECT_EQ(next->getTarget()->getName(), "ResTargetd");
    EXPECT_EQ(res_.resourceCount(), 12u);

    delete target;
    delete next;
    for (RenderTarget* t : more) delete t;
    vb->release();
    EXPECT_TRUE(res_.collectGarbage());
    EXPECT_EQ(res_.resourceCount(), 0u);
}

TEST_F(SysResourceTest, RenderTargetsArePowersOfTwoAndComeBackClearedAfterAReset) {
    struct Case {
        std::uint32_t w, h;
        int surfaceW, surfaceH;
    } cases[] = {{800, 600, 1024, 1024}, {2, 3, 2, 4}, {0, 1, 1, 1}, {4, 4, 4, 4}};
    for (const Case& c : cases) {
        RenderTarget* t = res_.createRenderTarget(c.w, c.h, PixelFormat::A8R8G8B8);
        ASSERT_NE(t, nullptr);
        ResTarget* rt = t->getTarget();
        EXPECT_EQ(rt->getSurface()->width(), c.surfaceW) << c.w << "x" << c.h;
        EXPECT_EQ(rt->getSurface()->height(), c.surfaceH) << c.w << "x" << c.h;
        EXPECT_EQ(rt->getWidth(), c.w);
        EXPECT_EQ(rt->getHeight(), c.h);
        EXPECT_FALSE(rt->hasDepth());
        delete t;
    }

    RenderTarget* t = res_.createRenderTarget(800, 600, PixelFormat::X8R8G8B8);
    ResTarget* rt = t->getTarget();
    EXPECT_EQ(rt->getSurface()->at(5, 5) & 0x00FFFFFFu, 0u);
    t->colorFill(0xFFFF0000u);
    EXPECT_EQ(test::hex(rt->getSurface()->at(5, 5)), "FFFF0000");

    res_.onLostDevice();
    EXPECT_EQ(rt->getSurface(), nullptr);
    EXPECT_EQ(rt->getState(), ResBase::kLoaded);
    t->colorFill(0xFF00FF00u);  // nothing to fill while lost
    res_.onResetDevice();
    ASSERT_NE(rt->getSurface(), nullptr);
    EXPECT_EQ(rt->getSurface()->width(), 1024);
    EXPECT_EQ(rt->getWidth(), 800u);
    EXPECT_EQ(rt->getHeight(), 600u);
    EXPECT_EQ(rt->getFormat(), PixelFormat::X8R8G8B8);
    EXPECT_EQ(test::hex(rt->getSurface()->argb(5, 5)), "FF000000");  // cleared; X8 reads opaque

    // A reset that cannot make the surface leaves the target failed.
    res_.onLostDevice();
    device_.setRefuseSurfaces(true);
    res_.onResetDevice();
    EXPECT_EQ(rt->getState(), ResBase::kFailed);
    delete t;
}

TEST_F(SysResourceTest, AnUnknownModeDropsItsLoader) {
    putPng("u.png", 0xFF000000u);
    RenderTexture* h = res_.getTexture(path("u.png"), 0, 5);
    EXPECT_EQ(res_.pendingRequests(), 0u);
    EXPECT_EQ(h->getState(), ResBase::kNotLoaded);
    EXPECT_EQ(h->getTexture()->getRefCount(), 2);
    delete h;
}

TEST_F(SysResourceTest, AutoCollectRunsOnUpdate) {
    put("f", {1});
    res_.getFileMemory(path("f"))->release();
    EXPECT_TRUE(res_.update());
    EXPECT_EQ(res_.resourceCount(), 1u);
    res_.setAutoCollect(true);
    EXPECT_TRUE(res_.update());
    EXPECT_EQ(res_.resourceCount(), 0u);
}

}  // namespace
}  // namespace qel
