-- The sample game's scripts. Top-level code only sets settings and defines
-- functions: the package runs on the loader thread during the boot.
function ActAttack(self, target)
end

function ActFire(self, target)
end
