-- A program over the script interface; replay it with tests/fuzz/script_interface/run.sh.
-- A list node the script made, put into the object manager's list; its object deleted.
T{seed = 1, ticks = 20}
S("InputPlayer", 1, "R.opening()")
D("InputOpening", 1, "adventure", 0, 0, 0)
S("InputPlayer", 2, "v[1] = C.ObjectBase:new()")
S("InputPlayer", 2, "v[2] = C.LinkList_ObjectBase_:new(v[1])")
S("InputPlayer", 2, "v[3] = C_GetObjectManager():getLinkAll()")
S("InputPlayer", 2, "v[3]:insert(v[2])")
S("InputPlayer", 2, "v[1]:delete()")
