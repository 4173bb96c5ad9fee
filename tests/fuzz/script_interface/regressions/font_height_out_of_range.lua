-- A program over the script interface; replay it with tests/fuzz/script_interface/run.sh.
-- A setting set far out of its range during play.
T{seed = 1, ticks = 20}
S("InputPlayer", 1, "R.opening()")
D("InputOpening", 1, "adventure", 0, 0, 0)
S("InputPlayer", 2, "R.cset(\"FONT_HEIGHT\", 2147483647)")
