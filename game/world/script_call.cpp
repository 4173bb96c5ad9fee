#include "game/world/script_call.h"

#include <cmath>
#include <stdexcept>

#include "engine/script/sys_lua.h"
#include "game/world/object_base.h"

ScriptCall::ScriptCall(const ScriptCallback& callback) : callback_(callback) {}

ScriptCall::~ScriptCall() = default;

ScriptCall& ScriptCall::object(const ObjectBase* object) {
    return this->object(object, object ? object->getClassName() : nullptr);
}

ScriptCall& ScriptCall::object(const void* object, const char* typeName) {
    if (object && typeName) {
        args_.addUserType(const_cast<void*>(object), typeName);
    } else {
        args_.addNil();
    }
    return *this;
}

ScriptCall& ScriptCall::temporary(void* record, const char* typeName) {
    if (temporaryCount_ == kTemporaries) throw std::logic_error("too many temporaries in one call");
    if (record) temporaries_[temporaryCount_++].emplace(record);
    return object(record, typeName);
}

ScriptCall& ScriptCall::number(double value) {
    args_.addNumber(value);
    return *this;
}

ScriptCall& ScriptCall::text(const char* text) {
    if (text) {
        args_.addString(text);
    } else {
        args_.addNil();
    }
    return *this;
}

ScriptCall& ScriptCall::boolean(bool value) {
    args_.addBoolean(value);
    return *this;
}

bool ScriptCall::call(int resultCount) {
    ran_ = qel::SysLua::instance().call(callback_.name, resultCount, &args_,
                                        resultCount ? &results_ : nullptr);
    return ran_;
}

bool ScriptCall::run() {
    return call(0);
}

bool ScriptCall::askBoolean() {
    call(1);
    return results_.toBoolean();
}

std::int32_t ScriptCall::askNumber() {
    call(1);
    return toInt32(results_.toNumber());
}

std::optional<std::string> ScriptCall::askText() {
    if (!call(1)) return std::nullopt;
    const char* text = results_.toString();
    if (!text) return std::nullopt;
    return std::string(text);
}

std::int32_t ScriptCall::toInt32(double value) {
    const double t = std::trunc(value);
    if (!std::isfinite(t)) return 0;
    // Reduced modulo 2^64 first, so every finite value has a defined cast.
    const double reduced = std::fmod(t, 18446744073709551616.0);
    const std::uint64_t word = reduced < 0 ? 0 - static_cast<std::uint64_t>(-reduced)
                                           : static_cast<std::uint64_t>(reduced);
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(word));
}
