#include "bindings/chara_glue.h"

#include <cstdlib>

namespace chara_glue {

void raiseSerializeError(lua_State* L, const LuaSerializer* self) {
    luaL_error(L, self->isRead() ? "the saved data ends before this value"
                                 : "the value could not be written");
    std::abort();  // not reached: a Lua error unwinds past this frame
}

}  // namespace chara_glue
