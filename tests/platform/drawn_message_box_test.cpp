// The box the program draws where SDL's own cannot be shown: its layout and
// pixels for a Japanese text, and the buttons chosen by keys, clicks and
// closes pushed to SDL's dummy driver (a window nobody sees).
#include "platform/sdl/drawn_message_box.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "engine/gfx/font.h"
#include "platform/font/font_face.h"

namespace qel {
namespace {

// "データファイルの読み込みに失敗しました" and "エラー" in Shift-JIS.
const std::string kFailed =
    "\x83\x66\x81\x5B\x83\x5E\x83\x74\x83\x40\x83\x43\x83\x8B\x82\xCC\x93\xC7\x82\xDD\x8D\x9E\x82"
    "\xDD\x82\xC9\x8E\xB8\x94\x73\x82\xB5\x82\xDC\x82\xB5\x82\xBD";
const std::string kError = "\x83\x47\x83\x89\x81\x5B";

std::shared_ptr<Font> boxFont() {
    FontDesc desc;
    desc.height = DrawnMessageBox::kFontHeight;
    return FontFace::create(desc);
}

// Pixels of `colour` inside the rectangle.
int count(SDL_Surface* s, const SDL_Rect& r, Uint32 colour) {
    int n = 0;
    for (int y = r.y; y < r.y + r.h; ++y)
        for (int x = r.x; x < r.x + r.w; ++x)
            n += static_cast<Uint32*>(s->pixels)[y * s->pitch / 4 + x] == colour;
    return n;
}

TEST(DrawnMessageBox, TextWrapsOnWholeCharactersAndEveryPartIsPainted) {
    const auto font = boxFont();
    ASSERT_TRUE(font);
    // 40 two-column characters: 80 columns, cut after 36 of them.
    std::string longLine;
    for (int i = 0; i < 40; ++i) longLine += "\x82\xA0";
    const DrawnMessageBox box{
        kFailed + "\n" + longLine, kError, {{"Retry", true, false}, {"Cancel", false, true}}};
    const DrawnMessageBox::Layout l = box.layout(*font);
    ASSERT_EQ(l.lines.size(), 3u);
    EXPECT_EQ(l.lines[0], kFailed);
    EXPECT_EQ(l.lines[1].size(), 72u);
    EXPECT_EQ(l.lines[2].size(), 8u);
    EXPECT_EQ(l.width, DrawnMessageBox::kMaxColumns * font->columnWidth() + 32);
    ASSERT_EQ(l.buttons.size(), 2u);
    EXPECT_EQ(l.buttons[0].x + l.buttons[1].x + l.buttons[1].w, l.width) << "centred";
    EXPECT_GT(l.buttons[0].y, l.textY + 3 * l.lineHeight);
    EXPECT_LE(l.buttons[0].y + l.buttons[0].h, l.height);

    SDL_Surface* s =
        SDL_CreateRGBSurfaceWithFormat(0, l.width, l.height, 32, SDL_PIXELFORMAT_ARGB8888);
    ASSERT_NE(s, nullptr);
    box.paint(s, *font, l, 1);
    const Uint32 text = 0xFFF0F0F0;
    for (int i = 0; i < 3; ++i) {
        const SDL_Rect line{l.textX, l.textY + i * l.lineHeight, l.width - l.textX, l.lineHeight};
        EXPECT_GT(count(s, line, text), 30) << "line " << i;
    }
    // Each button shows its label; the focused one has the white edge.
    for (int i = 0; i < 2; ++i) EXPECT_GT(count(s, l.buttons[i], text), 20) << "button " << i;
    const SDL_Rect focusEdge{l.buttons[1].x, l.buttons[1].y, l.buttons[1].w, 2};
    EXPECT_EQ(count(s, focusEdge, 0xFFFFFFFF), 2 * l.buttons[1].w);
    const SDL_Rect plainEdge{l.buttons[0].x, l.buttons[0].y, l.buttons[0].w, 1};
    EXPECT_EQ(count(s, plainEdge, 0xFFFFFFFF), 0);
    SDL_FreeSurface(s);
}

struct Answer {
    const char* name;
    std::function<void(const DrawnMessageBox::Layout&)> push;
    int chosen;
};

void pushKey(SDL_Keycode key) {
    SDL_Event e{};
    e.type = SDL_KEYDOWN;
    e.key.keysym.sym = key;
    SDL_PushEvent(&e);
}

TEST(DrawnMessageBox, KeysClicksAndClosesChooseAButton) {
    SDL_SetHint(SDL_HINT_VIDEODRIVER, "dummy");
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO), 0) << SDL_GetError();
    const auto font = boxFont();
    ASSERT_TRUE(font);
    const DrawnMessageBox box{kFailed, kError, {{"Retry", true, false}, {"Cancel", false, true}}};
    const DrawnMessageBox::Layout l = box.layout(*font);
    const Answer answers[] = {
        {"Enter presses the default", [](auto&) { pushKey(SDLK_RETURN); }, 0},
        {"Escape presses the cancel button", [](auto&) { pushKey(SDLK_ESCAPE); }, 1},
        {"the arrows move the focus",
         [](auto&) {
             pushKey(SDLK_RIGHT);
             pushKey(SDLK_SPACE);
         },
         1},
        {"a click on a button",
         [](const DrawnMessageBox::Layout& at) {
             SDL_Event e{};
             e.type = SDL_MOUSEBUTTONUP;
             e.button.x = at.buttons[0].x - 5;  // beside the buttons: nothing
             e.button.y = at.buttons[1].y + 5;
             SDL_PushEvent(&e);
             e.button.x = at.buttons[1].x + 5;
             SDL_PushEvent(&e);
         },
         1},
        {"the end of the program cancels",
         [](auto&) {
             SDL_Event e{};
             e.type = SDL_QUIT;
             SDL_PushEvent(&e);
         },
         1},
    };
    for (const Answer& answer : answers) {
        SCOPED_TRACE(answer.name);
        SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
        answer.push(l);
        EXPECT_EQ(box.show(true), answer.chosen);
    }
    // The end of the program, and another window's close, wait for the box
    // and are handed back after it.
    SDL_Event quit{};
    SDL_PeepEvents(&quit, 1, SDL_GETEVENT, SDL_QUIT, SDL_QUIT);
    EXPECT_EQ(quit.type, SDL_QUIT);
    SDL_Event close{};
    close.type = SDL_WINDOWEVENT;
    close.window.event = SDL_WINDOWEVENT_CLOSE;
    close.window.windowID = 4242;
    SDL_PushEvent(&close);
    pushKey(SDLK_RETURN);
    EXPECT_EQ(box.show(true), 0);
    SDL_Event back{};
    EXPECT_EQ(SDL_PeepEvents(&back, 1, SDL_GETEVENT, SDL_WINDOWEVENT, SDL_WINDOWEVENT), 1);
    EXPECT_EQ(back.window.windowID, 4242u);
    // Nobody sees the dummy driver's windows: without being told to, no box.
    EXPECT_EQ(box.show(), -1);
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

}  // namespace
}  // namespace qel
