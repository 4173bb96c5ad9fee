// The first scene: while it shows the title picture (data/title.dat, loaded
// in the background; a missing one is reported and nothing is drawn), a
// loader thread boots the game (BootLoader), and "now loading" shows until
// it is done; then Enter leads to the opening scene.
//
// What it keeps true: Lua belongs to the loader until this scene has seen
// the boot done. Release (and the destructor, and the shutdown hook through
// stopLoader) cancels the boot and joins the loader before anything else,
// so no thread is ever left running in Lua. A failed boot ends the game
// through the orderly quit with exit code -1.
#pragma once

#include "engine/core/thread.h"
#include "engine/input/key_code.h"
#include "engine/resource/render_texture.h"
#include "engine/task/scene_base.h"
#include "game/shell/boot_loader.h"

class SceneTitle : public qel::SceneBase {
public:
    // Virtual key of Enter.
    static constexpr int kEnterKey = qel::KEY_RETURN;

    SceneTitle() = default;
    ~SceneTitle() override;
    SceneTitle(const SceneTitle&) = delete;
    SceneTitle& operator=(const SceneTitle&) = delete;

    QEL_CLASS(SceneTitle, qel::SceneBase, qel::Pool::Tasks);

    // What runs on the game thread once the boot is done, before Enter is
    // looked at (the entry's start script); null for none.
    using LoadedHook = void (*)();
    static void setLoadedHook(LoadedHook hook);

    static constexpr int kLoadingFont = 2;
    static constexpr const char* kPicturePath = "data/title.dat";
    // Shown on the title when its picture cannot be had.
    static constexpr const char* kPictureFailedText =
        "タイトル画像を読み込めません : data/title.dat";

    bool init() override;
    void update() override;
    void draw() override;
    void release() override;

    // Cancels the boot and waits for the loader (any number of times).
    void stopLoader();
    bool isLoaded() const { return loaded_; }
    // Whether the title picture has loaded or failed (or was never asked for).
    bool isPictureSettled() const;
    const BootLoader& boot() const { return boot_; }

private:
    static void loaderEntry(void* self);

    void releasePicture();

    BootLoader boot_;
    qel::Thread* thread_ = nullptr;
    qel::RenderTexture* picture_ = nullptr;
    bool loaded_ = false;
};
