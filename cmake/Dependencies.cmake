# System libraries, all from Debian packages that tools/setup.sh installs.
# Each is an imported target a folder links through its targets.cmake or
# the DEPS of qel_add_library.

# Lua 5.1, the C++ build: a Lua error unwinds C++ destructors.
pkg_check_modules(LUA REQUIRED IMPORTED_TARGET lua5.1-c++)
add_library(qel::lua ALIAS PkgConfig::LUA)

# tolua++ run-time (static) and its generator.
find_path(TOLUA_INCLUDE_DIR tolua++.h REQUIRED)
find_library(TOLUA_LIBRARY NAMES libtolua++5.1.a tolua++5.1 REQUIRED)
find_program(TOLUA_GENERATOR tolua++5.1 REQUIRED)
add_library(qel_tolua INTERFACE)
target_include_directories(qel_tolua SYSTEM INTERFACE ${TOLUA_INCLUDE_DIR})
target_link_libraries(qel_tolua INTERFACE ${TOLUA_LIBRARY} qel::lua)
add_library(qel::tolua ALIAS qel_tolua)

pkg_check_modules(SDL2 REQUIRED IMPORTED_TARGET sdl2)
add_library(qel::sdl2 ALIAS PkgConfig::SDL2)

pkg_check_modules(FREETYPE REQUIRED IMPORTED_TARGET freetype2)
add_library(qel::freetype ALIAS PkgConfig::FREETYPE)

pkg_check_modules(STB REQUIRED IMPORTED_TARGET stb)
add_library(qel::stb ALIAS PkgConfig::STB)

pkg_check_modules(VORBISFILE REQUIRED IMPORTED_TARGET vorbisfile)
add_library(qel::vorbisfile ALIAS PkgConfig::VORBISFILE)
# Tests encode their sound fixtures themselves.
pkg_check_modules(VORBISENC REQUIRED IMPORTED_TARGET vorbisenc vorbis ogg)
add_library(qel::vorbisenc ALIAS PkgConfig::VORBISENC)

# The Japanese Gothic font every face name maps to.
set(QEL_FONT_FILE /usr/share/fonts/opentype/ipafont-gothic/ipag.ttf CACHE FILEPATH "Font file")
