# The test program binds a probe package through the same generator and
# rewrite as the game's bindings.
qel_tolua_package(${exe} probe ${CMAKE_CURRENT_LIST_DIR}/probe.pkg)
