local eq = getmetatable(C.Point(1, 2)).__eq local p = newproxy(true) getmetatable(p).__eq = eq return p == newproxy(p)
