for i = 1, 1000 do local p = C.Point:new(i, i) if i % 2 == 0 then p:delete() end end collectgarbage()
