#include "bindings/object_glue.h"

#include <cstdint>

#include "game/world/object_base_types.h"

namespace object_glue {

namespace {

ObjectBaseTypes::INFO* infoSelf(lua_State* L, const char* typeName) {
    return static_cast<ObjectBaseTypes::INFO*>(binding::memberSelf(L, typeName));
}

void invalidSelf(lua_State* L, const char* name) {
    lua_pushfstring(L, "invalid 'self' in accessing variable '%s'", name);  // +1
    tolua_error(L, lua_tostring(L, -1), nullptr);
}

struct Field {
    const char* name;
    unsigned shift;
    std::uint32_t mask;
};

Field fieldOf(InfoField f) {
    switch (f) {
        case InfoField::Priority:
            return {"_priority", 0, 0xFFu};
        case InfoField::Walk:
            return {"_walk", 8, 1u};
        case InfoField::Put:
            return {"_put", 9, 1u};
        case InfoField::Sight:
            return {"_sight", 10, 1u};
        case InfoField::OpenView:
            break;
    }
    return {"_openView", 11, 1u};
}

}  // namespace

int getInfoBits(lua_State* L, InfoField field) {
    const Field f = fieldOf(field);
    const ObjectBaseTypes::INFO* self = infoSelf(L, "const ObjectBase::INFO");
    if (!self) invalidSelf(L, f.name);
    tolua_pushnumber(L, static_cast<lua_Number>((self->data >> f.shift) & f.mask));
    return 1;
}

int setInfoBits(lua_State* L, InfoField field) {
    const Field f = fieldOf(field);
    ObjectBaseTypes::INFO* self = infoSelf(L, "ObjectBase::INFO");
    if (!self) invalidSelf(L, f.name);
    tolua_Error err;
    if (!tolua_isnumber(L, 2, 0, &err))
        tolua_error(L, "#vinvalid type in variable assignment.", &err);
    const std::uint32_t value = binding::toNumber<std::uint32_t>(L, 2, 0) & f.mask;
    self->data = (self->data & ~(f.mask << f.shift)) | (value << f.shift);
    return 0;
}

}  // namespace object_glue
