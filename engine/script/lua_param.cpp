#include "engine/script/lua_param.h"

#include <lua.hpp>

namespace qel {

LuaParamItem* LuaParam::append() {
    if (count_ >= kCapacity) return nullptr;
    return &items_[count_++];
}

bool LuaParam::addNil() {
    LuaParamItem* item = append();
    if (item) item->setNil();
    return item != nullptr;
}

bool LuaParam::addBoolean(bool value) {
    LuaParamItem* item = append();
    if (item) item->setBoolean(value);
    return item != nullptr;
}

bool LuaParam::addNumber(double value) {
    LuaParamItem* item = append();
    if (item) item->setNumber(value);
    return item != nullptr;
}

bool LuaParam::addString(const char* text) {
    LuaParamItem* item = append();
    if (item) item->setString(text);
    return item != nullptr;
}

bool LuaParam::addUserType(void* object, const char* typeName) {
    LuaParamItem* item = append();
    if (item) item->setUserType(object, typeName);
    return item != nullptr;
}

void LuaParam::clear() {
    for (int i = 0; i < count_; ++i) items_[i].setNil();
    count_ = 0;
}

double LuaParam::toNumber() const {
    return count_ > 0 ? items_[0].number() : 0.0;
}

bool LuaParam::toBoolean() const {
    return count_ > 0 && items_[0].boolean();
}

const char* LuaParam::toString() const {
    return count_ > 0 ? items_[0].string() : nullptr;
}

void* LuaParam::toObject() const {
    return count_ > 0 ? items_[0].object() : nullptr;
}

int LuaParam::push(lua_State* L) const {
    for (int i = 0; i < count_; ++i) items_[i].push(L);  // +1 each
    return count_;
}

bool LuaParam::readResults(int n, lua_State* L) {
    bool all = true;
    if (n > lua_gettop(L)) {
        n = lua_gettop(L);
        all = false;
    }
    for (int i = n; i >= 1; --i) {
        LuaParamItem* item = append();
        if (!item) {
            all = false;
            break;
        }
        item->read(L, -i);
    }
    return all;
}

}  // namespace qel
