# Graphics, fonts and images: FreeType for glyphs; stb for pictures, its
# decoder compiled once in platform/image and its PNG encoder once in
# platform/gfx, both with static linkage; SDL2 for the window layer. The
# font file's path is built in for FontFace::create.
qel_link(platform qel::freetype qel::stb qel::sdl2)
get_target_property(_qel_platform_kind platform TYPE)
if(NOT _qel_platform_kind STREQUAL "INTERFACE_LIBRARY")
  target_compile_definitions(platform PRIVATE QEL_FONT_FILE="${QEL_FONT_FILE}")
endif()
