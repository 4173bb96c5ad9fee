// The settings of module C, registered from the settings table
// (game/shell/settings.cpp) rather than from declarations of their own, so
// that the table is the one list of settings: a setting added there is a
// variable of C at its place without another line anywhere.
//
// What a script sees, by kind (the kinds of game/shell/setting.h):
//   - numbers read as numbers; an assignment must be a number, truncated
//     toward zero and kept to the kind's width (uint and int the low 32
//     bits, byte the low 8, port the low 16; float the nearest float); a
//     figure of the layout must lie in its row's range (Setting::within),
//     or the assignment raises "value out of range in variable
//     assignment" naming the setting and its range, and stores nothing;
//   - bool reads as a boolean and takes a boolean or nil (false);
//   - text reads as a string and takes a string, a number (its Lua text) or
//     nil (the empty text), kept up to its first NUL;
//   - Color, Point and Dice read as the program's own value, borrowed (a
//     change made through it is a change of the setting) and take a value
//     of their class, copied in; nil or another class is refused;
//   - read-only values have a getter only (the module's refusal answers an
//     assignment, see bound_states.h);
//   - arrays are tables of elements as tolua makes them: a text element
//     stores the value's text or the empty text whatever it is given, an
//     object element takes only its class.
// A refused assignment raises "invalid type in variable assignment." with
// the expected type and leaves the setting as it was.
//
// Settings are written on the thread that runs the scripts (the loader at
// boot, the game thread after); no lock guards them.
#pragma once

struct lua_State;

namespace binding {

// Registers the rows `first` to `last` of the settings table, both
// included and named as the scripts name them, as variables of the module
// table on top of the stack. Raises a Lua error when either name is not in
// the table or `last` comes before `first`.
void registerSettings(lua_State* L, const char* first, const char* last);

}  // namespace binding
