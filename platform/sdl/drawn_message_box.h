// A message box the program draws itself, in a small window of its own,
// with the game's font. It stands in where SDL's own box cannot be shown:
// SDL's X11 box needs the X server's core fonts, which many desktops no
// longer install, and its Wayland box needs the zenity helper. Main thread
// only, as every window.
#pragma once

#include <SDL.h>

#include <string>
#include <vector>

namespace qel {

class Font;

struct DrawnMessageBox {
    struct Button {
        std::string label;      // Shift-JIS
        bool onReturn = false;  // Enter presses it (the focus starts there)
        bool onEscape = false;  // Escape and the window's close press it
    };
    // Where the parts lie, in pixels of the box.
    struct Layout {
        int width = 0;
        int height = 0;
        std::vector<std::string> lines;  // the text cut to the box's width
        int textX = 0;
        int textY = 0;
        int lineHeight = 0;
        std::vector<SDL_Rect> buttons;
    };

    std::string text;     // Shift-JIS; a line feed starts a new line
    std::string caption;  // Shift-JIS; the window's title
    std::vector<Button> buttons;

    static constexpr int kFontHeight = 16;
    // The widest text line in font columns; longer lines wrap.
    static constexpr int kMaxColumns = 72;

    Layout layout(const Font& font) const;
    // Draws the box into an ARGB8888 surface at least the layout's size,
    // the button `focused` marked.
    void paint(SDL_Surface* surface, const Font& font, const Layout& layout, int focused) const;
    // Shows the box and waits for a button: its index, or -1 when no box
    // can be shown (no window system's display, no font, no window). Only
    // the X11 and Wayland drivers show one unless `anyDriver` (tests on
    // SDL's dummy driver, which nobody sees, with events they push).
    int show(bool anyDriver = false) const;
};

}  // namespace qel
