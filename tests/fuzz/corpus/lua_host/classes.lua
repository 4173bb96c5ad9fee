local p = C.Point(1, 2) local v = C.Vector2(3, 4) + C.Vector2.ONE
local c = C.Color(1, 2, 3)
function main(a, b, c) return p._x, v:length(), a, b, c, p end
