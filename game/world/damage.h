// One hit that a character sends or receives: its amount, hit value, kind
// word, a script-given added type and an optional effect to attach to the
// receiver.
//
// The effect is a character decorator (held through its Core base so this
// record needs no decorator header). The Damage keeps it until deleteEffect
// destroys it; destroying the Damage leaves it alone, because by then the
// receiver may have taken it onto its decorator chain. Damage records come
// from the general pool and are not copyable (a copy would share the effect).
#pragma once

#include <cstdint>

#include "engine/core/core.h"
#include "engine/core/script_object.h"
#include "game/world/damage_type.h"

class Damage : public qel::ScriptObject {
public:
    std::int32_t damage = 0;
    std::int32_t hit = 0;
    DAMAGE_TYPE type;
    std::int32_t addtype = 0;
    qel::Core* effect = nullptr;

    Damage() = default;
    explicit Damage(std::int32_t damage_, std::int32_t hit_ = 0, DAMAGE_TYPE type_ = DAMAGE_TYPE(),
                    std::int32_t addtype_ = 0, qel::Core* effect_ = nullptr)
        : damage(damage_), hit(hit_), type(type_), addtype(addtype_), effect(effect_) {}
    Damage(std::int32_t damage_, std::int32_t hit_, std::uint32_t typeWord,
           std::int32_t addtype_ = 0, qel::Core* effect_ = nullptr)
        : Damage(damage_, hit_, DAMAGE_TYPE(typeWord), addtype_, effect_) {}
    Damage(const Damage&) = delete;
    Damage& operator=(const Damage&) = delete;

    QEL_CLASS(Damage, qel::ScriptObject, qel::Pool::General);

    // Destroys the attached effect, if any, exactly once; an effect a
    // character has taken onto its chain is only let go (the chain owns it).
    void deleteEffect();
};
