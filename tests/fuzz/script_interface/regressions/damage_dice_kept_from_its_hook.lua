-- A program over the script interface; replay it with tests/fuzz/script_interface/run.sh.
-- The dice GetDamageDice is handed, kept and used after the hook returned.
T{seed = 1, ticks = 80}
S("InputPlayer", 1, "R.opening()")
D("InputOpening", 1, "adventure", 0, 0, 0)
D("InputPlayer", 2, "wait")
D("InputPlayer", 3, "wait")
D("InputPlayer", 4, "wait")
S("GetDamageDice", 1, "v[1] = a[2]")
S("InputPlayer", 5, "R.m(2, \"Dice\", \"getMin\", v[1])")
S("InputPlayer", 6, "R.m(3, \"Dice\", \"clear\", v[1])")
S("InputPlayer", 10, "R.m(4, \"Dice\", \"getMin\", v[1])")
S("InputPlayer", 31, "R.m(5, \"Dice\", \"clear\", v[1])")
