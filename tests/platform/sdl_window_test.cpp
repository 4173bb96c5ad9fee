#include "platform/sdl/sdl_window.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace qel {
namespace {

struct RecordingSink : WindowEventSink {
    std::vector<std::string> events;
    void onCloseRequest() override { events.push_back("close"); }
    void onMaximize() override { events.push_back("maximize"); }
    void onMinimize() override { events.push_back("minimize"); }
    void onRestore() override { events.push_back("restore"); }
    void onResize(int w, int h) override {
        events.push_back("resize " + std::to_string(w) + "x" + std::to_string(h));
    }
    void onActivate(bool) override {}
    void onWheel(int delta) override { events.push_back("wheel " + std::to_string(delta)); }
    void onMenuShortcut(int index) override { events.push_back("menu " + std::to_string(index)); }
    void onTextCommit(const char* sjis) override {
        events.push_back(sjis ? std::string("commit ") + sjis : "refused");
    }
    void onTextComposition(std::string_view sjis, int cursorByte) override {
        events.push_back("compose " + std::string(sjis) + " " + std::to_string(cursorByte));
    }
    void onTextKey(int code) override { events.push_back("key " + std::to_string(code)); }
};

void pushText(Uint32 type, const char8_t* utf8, int start = 0) {
    SDL_Event e{};
    e.type = type;
    if (type == SDL_TEXTINPUT) {
        SDL_strlcpy(e.text.text, reinterpret_cast<const char*>(utf8), sizeof e.text.text);
    } else {
        SDL_strlcpy(e.edit.text, reinterpret_cast<const char*>(utf8), sizeof e.edit.text);
        e.edit.start = start;
    }
    SDL_PushEvent(&e);
}

void pushKey(SDL_Keycode key) {
    SDL_Event e{};
    e.type = SDL_KEYDOWN;
    e.key.keysym.sym = key;
    SDL_PushEvent(&e);
}

TEST(SdlWindowMouse, WindowPointsMapThroughThePresentRectangle) {
    struct Case {
        WindowRect rect;
        int x, y;
        int fx, fy;
    };
    const Case cases[] = {
        {{0, 0, 800, 600}, 10, 20, 10, 20},
        {{0, 32, 1280, 991}, 640, 32, 400, 0},
        {{0, 32, 1280, 991}, 1279, 990, 799, 599},
        {{0, 32, 1280, 991}, 0, 10, 0, -14},  // in the bar above the picture
        {{240, 0, 1680, 1080}, 240, 540, 0, 300},
        {{0, 0, 0, 0}, 7, 9, 7, 9},  // no picture yet: passed through
    };
    for (const Case& c : cases) {
        int fx = 0;
        int fy = 0;
        SdlWindow::toFramePixels(c.rect, 800, 600, c.x, c.y, fx, fy);
        EXPECT_EQ(fx, c.fx) << c.x << "," << c.y;
        EXPECT_EQ(fy, c.fy) << c.x << "," << c.y;
    }
}

// Runs on SDL's dummy video driver, which ctest selects.
TEST(SdlWindow, TranslatesSystemEventsAndPresentsFramesHeadless) {
    SdlWindow window;
    WindowDesc desc;
    desc.title = "Vornhaldeen";
    desc.maximizeBox = true;
    ASSERT_TRUE(window.create(desc)) << SDL_GetError();
    window.show();
    int w = 0;
    int h = 0;
    window.clientSize(w, h);
    EXPECT_EQ(w, 800);
    EXPECT_EQ(h, 600);

    RecordingSink sink;
    window.pump(sink);  // whatever creation queued
    sink.events.clear();

    SDL_Event e{};
    e.type = SDL_WINDOWEVENT;
    e.window.event = SDL_WINDOWEVENT_CLOSE;
    SDL_PushEvent(&e);
    e = {};
    e.type = SDL_MOUSEWHEEL;
    e.wheel.y = -2;
    e.wheel.direction = SDL_MOUSEWHEEL_NORMAL;
    SDL_PushEvent(&e);
    e = {};
    e.type = SDL_KEYDOWN;
    e.key.keysym.scancode = SDL_SCANCODE_2;
    e.key.keysym.mod = KMOD_LALT;
    SDL_PushEvent(&e);
    e.key.keysym.mod = KMOD_NONE;  // a plain 2 is a game key, not a menu shortcut
    SDL_PushEvent(&e);
    e = {};
    e.type = SDL_QUIT;
    SDL_PushEvent(&e);
    ASSERT_TRUE(window.pump(sink));
    EXPECT_EQ(sink.events, (std::vector<std::string>{"close", "wheel -240", "menu 1", "close"}));

    std::vector<std::uint32_t> frame(800 * 600, 0xFF102030u);
    window.postFrame(frame, 800, 600);
    window.setPresentRect({0, 0, 800, 600});
    window.presentPending();
    window.setTitle("タイトル");
    window.pump(sink);

    InputSnapshot input;
    input.keys[65] = 1;
    window.readInput(input);
    EXPECT_EQ(input.keys[65], 0);  // nothing is down on the dummy keyboard
    window.destroy();
    EXPECT_FALSE(window.pump(sink));
}

TEST(SdlWindow, TextInputReachesTheSinkInShiftJisOnlyWhileSwitchedOn) {
    SdlWindow window;
    ASSERT_TRUE(window.create(WindowDesc{})) << SDL_GetError();
    RecordingSink sink;
    window.pump(sink);
    sink.events.clear();

    pushText(SDL_TEXTINPUT, u8"off");
    pushKey(SDLK_BACKSPACE);
    window.pump(sink);
    EXPECT_TRUE(sink.events.empty());

    window.setTextInput(true);
    window.pump(sink);
    sink.events.clear();
    pushText(SDL_TEXTINPUT, u8"かなｶA");
    pushText(SDL_TEXTINPUT, u8"a𠮷");
    pushText(SDL_TEXTEDITING, u8"か😀き", 2);
    for (SDL_Keycode key : {SDLK_BACKSPACE, SDLK_TAB, SDLK_RETURN, SDLK_ESCAPE, SDLK_RIGHT,
                            SDLK_LEFT, SDLK_DELETE, SDLK_a}) {
        pushKey(key);
    }
    window.pump(sink);
    EXPECT_EQ(sink.events, (std::vector<std::string>{"commit かなｶA", "refused", "compose か・き 4",
                                                     "key 8", "key 9", "key 13", "key 27", "key 28",
                                                     "key 29", "key 127"}));
    window.setTextInput(false);
    window.destroy();
}

}  // namespace
}  // namespace qel
