# The Lua host runs scripts on Lua 5.1's C++ build (a Lua error unwinds C++
# destructors) and pushes program objects through the tolua++ run-time.
qel_link(engine_script qel::lua qel::tolua)
