#include "platform/sdl/drawn_message_box.h"

#include <algorithm>
#include <cstring>

#include "engine/gfx/font.h"
#include "platform/font/font_face.h"
#include "platform/os/cp932.h"

namespace qel {
namespace {

constexpr int kMargin = 16;
constexpr int kLineGap = 4;
constexpr int kButtonWidth = 96;
constexpr int kButtonHeight = 26;
constexpr int kButtonGap = 12;
constexpr int kMinWidth = 280;
constexpr Uint32 kBackground = 0xFF383838;
constexpr Uint32 kTextColour = 0xFFF0F0F0;
constexpr Uint32 kButtonFace = 0xFF505050;
constexpr Uint32 kButtonEdge = 0xFF808080;
constexpr Uint32 kFocusEdge = 0xFFFFFFFF;

// A line cut into pieces of at most `columns` font columns, on whole
// characters.
void wrap(std::string_view line, int columns, std::vector<std::string>& out) {
    std::size_t start = 0;
    std::size_t at = 0;
    int used = 0;
    while (at < line.size()) {
        const SjisStep step = sjisStep(line, at);
        if (used + step.columns > columns && at > start) {
            out.emplace_back(line.substr(start, at - start));
            start = at;
            used = 0;
        }
        used += step.columns;
        at += static_cast<std::size_t>(step.length);
    }
    out.emplace_back(line.substr(start));
}

int columnsOf(std::string_view line) {
    int columns = 0;
    for (std::size_t at = 0; at < line.size();) {
        const SjisStep step = sjisStep(line, at);
        columns += step.columns;
        at += static_cast<std::size_t>(step.length);
    }
    return columns;
}

void fill(SDL_Surface* surface, const SDL_Rect& rect, Uint32 colour) {
    SDL_FillRect(surface, &rect, colour);
}

void frame(SDL_Surface* surface, const SDL_Rect& r, int thickness, Uint32 colour) {
    fill(surface, {r.x, r.y, r.w, thickness}, colour);
    fill(surface, {r.x, r.y + r.h - thickness, r.w, thickness}, colour);
    fill(surface, {r.x, r.y, thickness, r.h}, colour);
    fill(surface, {r.x + r.w - thickness, r.y, thickness, r.h}, colour);
}

// Draws `text` (one line) with its cells' top-left corner at x, y.
void drawText(SDL_Surface* surface, const Font& font, std::string_view text, int x, int y,
              Uint32 colour) {
    auto* pixels = static_cast<Uint8*>(surface->pixels);
    font.layout(text, [&](std::int64_t cx, std::int64_t cy, const Glyph& g) {
        for (int gy = 0; gy < g.height; ++gy) {
            const std::int64_t py = y + cy + g.top + gy;
            if (py < 0 || py >= surface->h) continue;
            auto* row = reinterpret_cast<Uint32*>(pixels + py * surface->pitch);
            for (int gx = 0; gx < g.width; ++gx) {
                const std::int64_t px = x + cx + g.left + gx;
                if (px < 0 || px >= surface->w) continue;
                if (g.coverage[static_cast<std::size_t>(gy * g.width + gx)] != 0) row[px] = colour;
            }
        }
    });
}

bool inside(const SDL_Rect& r, int x, int y) {
    return x >= r.x && x < r.x + r.w && y >= r.y && y < r.y + r.h;
}

}  // namespace

DrawnMessageBox::Layout DrawnMessageBox::layout(const Font& font) const {
    Layout l;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = text.find('\n', start);
        wrap(std::string_view(text).substr(start, end == std::string::npos ? end : end - start),
             kMaxColumns, l.lines);
        if (end == std::string::npos) break;
        start = end + 1;
    }
    int columns = 0;
    for (const std::string& line : l.lines) columns = std::max(columns, columnsOf(line));
    l.lineHeight = font.cellHeight() + kLineGap;
    const int textWidth = columns * font.columnWidth();
    const int count = static_cast<int>(buttons.size());
    const int buttonsWidth = count * kButtonWidth + std::max(count - 1, 0) * kButtonGap;
    l.width = std::max({textWidth, buttonsWidth, kMinWidth - 2 * kMargin}) + 2 * kMargin;
    l.textX = kMargin;
    l.textY = kMargin;
    const int buttonY = kMargin + static_cast<int>(l.lines.size()) * l.lineHeight + kMargin;
    l.height = buttonY + kButtonHeight + kMargin;
    int x = (l.width - buttonsWidth) / 2;
    for (int i = 0; i < count; ++i) {
        l.buttons.push_back({x, buttonY, kButtonWidth, kButtonHeight});
        x += kButtonWidth + kButtonGap;
    }
    return l;
}

void DrawnMessageBox::paint(SDL_Surface* surface, const Font& font, const Layout& l,
                            int focused) const {
    SDL_LockSurface(surface);
    fill(surface, {0, 0, surface->w, surface->h}, kBackground);
    for (std::size_t i = 0; i < l.lines.size(); ++i) {
        drawText(surface, font, l.lines[i], l.textX, l.textY + static_cast<int>(i) * l.lineHeight,
                 kTextColour);
    }
    for (std::size_t i = 0; i < buttons.size() && i < l.buttons.size(); ++i) {
        const SDL_Rect& r = l.buttons[i];
        fill(surface, r, kButtonFace);
        const bool focus = static_cast<int>(i) == focused;
        frame(surface, r, focus ? 2 : 1, focus ? kFocusEdge : kButtonEdge);
        const std::string& label = buttons[i].label;
        const int labelWidth = columnsOf(label) * font.columnWidth();
        drawText(surface, font, label, r.x + (r.w - labelWidth) / 2,
                 r.y + (r.h - font.cellHeight()) / 2, kTextColour);
    }
    SDL_UnlockSurface(surface);
}

int DrawnMessageBox::show(bool anyDriver) const {
    if (buttons.empty() || SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return -1;
    struct VideoRef {
        ~VideoRef() { SDL_QuitSubSystem(SDL_INIT_VIDEO); }
    } video;
    const char* driver = SDL_GetCurrentVideoDriver();
    const bool seen =
        driver && (std::strcmp(driver, "x11") == 0 || std::strcmp(driver, "wayland") == 0);
    if (!seen && !anyDriver) return -1;
    FontDesc desc;
    desc.height = kFontHeight;
    const std::shared_ptr<Font> font = FontFace::create(desc);
    if (!font) return -1;
    const Layout l = layout(*font);
    SDL_Surface* canvas =
        SDL_CreateRGBSurfaceWithFormat(0, l.width, l.height, 32, SDL_PIXELFORMAT_ARGB8888);
    if (!canvas) return -1;
    SDL_Window* window =
        SDL_CreateWindow(Cp932::toUtf8(caption).c_str(), SDL_WINDOWPOS_CENTERED,
                         SDL_WINDOWPOS_CENTERED, l.width, l.height, SDL_WINDOW_ALWAYS_ON_TOP);
    if (!window) {
        SDL_FreeSurface(canvas);
        return -1;
    }
    SDL_RaiseWindow(window);
    const Uint32 id = SDL_GetWindowID(window);
    const int count = static_cast<int>(buttons.size());
    int onReturn = 0;
    int onEscape = count - 1;
    for (int i = 0; i < count; ++i) {
        if (buttons[static_cast<std::size_t>(i)].onReturn) onReturn = i;
        if (buttons[static_cast<std::size_t>(i)].onEscape) onEscape = i;
    }
    int focused = onReturn;
    int chosen = -1;
    bool dirty = true;
    // Requests for the other windows (a close, the end of the program) wait
    // for the box and are handed back after it; their input is the box's.
    std::vector<SDL_Event> handBack;
    while (chosen < 0) {
        if (dirty) {
            paint(canvas, *font, l, focused);
            if (SDL_Surface* shown = SDL_GetWindowSurface(window)) {
                SDL_BlitSurface(canvas, nullptr, shown, nullptr);
                SDL_UpdateWindowSurface(window);
            }
            dirty = false;
        }
        SDL_Event e;
        if (!SDL_WaitEventTimeout(&e, 250)) continue;
        switch (e.type) {
            case SDL_QUIT:
                handBack.push_back(e);
                chosen = onEscape;
                break;
            case SDL_WINDOWEVENT:
                if (e.window.windowID != id) {
                    if (e.window.event == SDL_WINDOWEVENT_CLOSE) handBack.push_back(e);
                } else if (e.window.event == SDL_WINDOWEVENT_CLOSE) {
                    chosen = onEscape;
                } else {
                    dirty = true;
                }
                break;
            case SDL_KEYDOWN:
                if (e.key.windowID != id && e.key.windowID != 0) break;
                switch (e.key.keysym.sym) {
                    case SDLK_RETURN:
                    case SDLK_KP_ENTER:
                    case SDLK_SPACE:
                        chosen = focused;
                        break;
                    case SDLK_ESCAPE:
                        chosen = onEscape;
                        break;
                    case SDLK_LEFT:
                        focused = (focused + count - 1) % count;
                        dirty = true;
                        break;
                    case SDLK_RIGHT:
                    case SDLK_TAB:
                        focused = (focused + 1) % count;
                        dirty = true;
                        break;
                    default:
                        break;
                }
                break;
            case SDL_MOUSEBUTTONUP:
                if (e.button.windowID != id && e.button.windowID != 0) break;
                for (int i = 0; i < count; ++i) {
                    if (inside(l.buttons[static_cast<std::size_t>(i)], e.button.x, e.button.y))
                        chosen = i;
                }
                break;
            default:
                break;
        }
    }
    SDL_DestroyWindow(window);
    SDL_FreeSurface(canvas);
    // Nothing of the box's window reaches the game's window after it.
    SDL_PumpEvents();
    Uint32 gone = id;
    SDL_FilterEvents(
        [](void* box, SDL_Event* e) -> int {
            const Uint32 of = *static_cast<Uint32*>(box);
            switch (e->type) {
                case SDL_WINDOWEVENT:
                    return e->window.windowID != of;
                case SDL_KEYDOWN:
                case SDL_KEYUP:
                    return e->key.windowID != of;
                case SDL_MOUSEMOTION:
                    return e->motion.windowID != of;
                case SDL_MOUSEBUTTONDOWN:
                case SDL_MOUSEBUTTONUP:
                    return e->button.windowID != of;
                default:
                    return 1;
            }
        },
        &gone);
    for (SDL_Event& e : handBack) SDL_PushEvent(&e);
    return chosen;
}

}  // namespace qel
