-- Items made by id.
local item = C_CreateItem(1)
check("C_CreateItem", item and item:getBaseId() or "nil", 1)
check("C_CreateItem unknown", C_CreateItem(99), nil)
