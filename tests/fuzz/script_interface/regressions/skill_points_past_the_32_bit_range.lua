-- A program over the script interface; replay it with tests/fuzz/script_interface/run.sh.
-- The player's skill points, faith and dark ill added past the 32-bit range.
T{seed = 1, ticks = 20}
S("InputPlayer", 1, "R.opening()")
D("InputOpening", 1, "adventure", 0, 0, 0)
S("InputPlayer", 2, "R.g(1, \"C_GetPlayer\")")
S("InputPlayer", 2, "R.m(2, \"ObjectPlayer\", \"addSkillPoint\", v[1], 2147483647)")
S("InputPlayer", 2, "R.m(3, \"ObjectPlayer\", \"addSkillPoint\", v[1], 2147483647)")
S("InputPlayer", 3, "R.m(4, \"ObjectPlayer\", \"addFaith\", v[1], -2147483648)")
S("InputPlayer", 3, "R.m(5, \"ObjectPlayer\", \"addFaith\", v[1], -2147483648)")
S("InputPlayer", 3, "R.m(6, \"ObjectPlayer\", \"addDarkIll\", v[1], 2147483647)")
S("InputPlayer", 3, "R.m(7, \"ObjectPlayer\", \"addDarkIll\", v[1], 2147483647)")
