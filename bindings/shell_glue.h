// The script forms of the shell's menus and windows that differ from the
// C++ methods: a nil colour draws white, a nil text draws nothing, a nil
// point draws chip (0, 0), and the Shift form of addItem reads and drops
// its first text.
#pragma once

#include <string>

#include "game/shell/ui/task_anima_list.h"
#include "game/shell/ui/task_cursor.h"
#include "game/shell/ui/task_item_list.h"
#include "game/shell/ui/task_menu.h"
#include "game/shell/ui/task_name.h"
#include "game/shell/ui/task_status_view.h"
#include "game/shell/ui/task_window.h"
#include "game/world/world.h"

namespace shell_glue {

inline Color colourOr(const Color* colour) {
    return colour ? *colour : Color::WHITE;
}

}  // namespace shell_glue

inline void menuAddItem(TaskMenu* self, int key, const char* tag, const char* text) {
    self->addItem(key, tag, text);
}
inline void menuAddItemColour(TaskMenu* self, int key, const char* tag, const char* text,
                              const Color* colour) {
    self->addItem(key, tag, text, shell_glue::colourOr(colour));
}
inline void menuAddShiftItem(TaskMenu* self, int key, const char*, const char* tag,
                             const char* text) {
    self->addShiftItem(key, tag, text);
}
inline void menuAddShiftItemColour(TaskMenu* self, int key, const char*, const char* tag,
                                   const char* text, const Color* colour) {
    self->addShiftItem(key, tag, text, shell_glue::colourOr(colour));
}
inline const char* menuGetSelTag(const TaskMenu* self) {
    return self->getSelTag().c_str();
}

inline unsigned int windowCalWidth(TaskWindow*, int chars) {
    return TaskWindow::calWidth(chars);
}
inline unsigned int windowCalHeight(TaskWindow*, int lines) {
    return TaskWindow::calHeight(lines);
}
inline void windowClearWith(TaskWindow* self, const Color* colour) {
    if (colour)
        self->clear(*colour);
    else
        self->clear();
}
inline void windowDrawTextAt(TaskWindow* self, int x, int y, const char* text, const Color* colour,
                             int font) {
    self->drawText(x, y, text, shell_glue::colourOr(colour), font);
}
inline void windowDrawTextAtPen(TaskWindow* self, const char* text, const Color* colour, int font) {
    self->drawText(text, shell_glue::colourOr(colour), font);
}
inline void windowDrawLine(TaskWindow* self, int x1, int y1, int x2, int y2, const Color* colour) {
    self->drawLine(x1, y1, x2, y2, shell_glue::colourOr(colour));
}
inline void windowDrawRect(TaskWindow* self, int x1, int y1, int x2, int y2, const Color* colour) {
    self->drawRect(x1, y1, x2, y2, shell_glue::colourOr(colour));
}
inline void windowDrawFrame(TaskWindow* self, const Color* colour) {
    self->drawFrame(shell_glue::colourOr(colour));
}
inline void windowDrawChip(TaskWindow* self, float x, float y, const Point* chip,
                           const Color* colour) {
    self->drawChip(x, y, chip ? *chip : Point(0, 0), shell_glue::colourOr(colour));
}

inline void statusViewDrawTextAt(TaskStatusView* self, int x, int y, const char* text,
                                 const Color* colour) {
    self->drawText(x, y, text, shell_glue::colourOr(colour));
}
inline void statusViewDrawTextAtPen(TaskStatusView* self, const char* text, const Color* colour) {
    self->drawText(text, shell_glue::colourOr(colour));
}
inline void statusViewDrawChip(TaskStatusView* self, float x, float y, const Point* chip,
                               const Color* colour) {
    self->drawChip(x, y, chip ? *chip : Point(0, 0), shell_glue::colourOr(colour));
}

// A nil point leaves the cell as it is but still stops following.
inline void cursorSetPos(TaskCursor* self, const Point* pos) {
    self->setPos(pos ? *pos : self->getPos());
}

// The script's toggle reports nothing.
inline void animaListToggleSelect(TaskAnimaList* self, int row) {
    self->toggleSelect(row);
}
