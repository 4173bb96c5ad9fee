-- The sample game's scripts. Top-level code only sets settings and defines
-- functions: the package runs on the loader thread during the boot.

-- The action table's functions, run when a character performs the action
-- on a target: the attack (a blow with what the right hand holds, or bare
-- hands) and fire (the spell a mage casts with Z: 2d6 and the caster's
-- level).
function ActAttack(self, target)
    Hurt(self, target, BlowDamage(target, self:getDamageDice():roll()))
end

function ActFire(self, target)
    Say(Text("log.fire_hit", target:getName()))
    Hurt(self, target, C_Dice(2, 6) + self:getLevel())
end
