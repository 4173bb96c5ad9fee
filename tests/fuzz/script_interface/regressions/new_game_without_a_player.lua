-- A program over the script interface; replay it with tests/fuzz/script_interface/run.sh.
-- A new game begun from a fresh opening's parameters, without making a player.
T{seed = 1, ticks = 40}
S("InputPlayer", 1, "R.opening()")
D("InputOpening", 1, "adventure", 0, 0, 0)
S("InputPlayer", 2, "R.m(1, \"OpeningParam\", \"new_local\", R.class(\"OpeningParam\"))")
S("InputPlayer", 2, "R.m(2, \"OpeningParam\", \"beginNewGame\", v[1])")
