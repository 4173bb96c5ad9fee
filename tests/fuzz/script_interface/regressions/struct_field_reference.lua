-- A program over the script interface; replay it with tests/fuzz/script_interface/run.sh.
-- A class-typed field read from an object, written after the object is deleted.
T{seed = 5, ticks = 20}
S("InputPlayer", 1, "R.opening()")
D("InputOpening", 1, "adventure", 0, 0, 0)
S("InputPlayer", 2, "R.m(1, \"AITarget\", \"new\", R.class(\"AITarget\"))")
S("InputPlayer", 2, "R.get(2, v[1], \"_memoryDir\")")
S("InputPlayer", 3, "R.m(3, \"AITarget\", \"delete\", v[1])")
S("InputPlayer", 4, "R.set(v[2], \"_x\", 10)")
