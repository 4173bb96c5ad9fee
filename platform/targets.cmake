# Graphics, fonts and images: FreeType for glyphs; stb for pictures, its
# decoder compiled once in platform/image and its PNG encoder once in
# platform/gfx, both with static linkage; SDL2 for the window layer. The
# font file's path is built in for FontFace::create.
qel_link(platform qel::freetype qel::stb qel::sdl2)
get_target_property(_qel_platform_kind platform TYPE)
if(NOT _qel_platform_kind STREQUAL "INTERFACE_LIBRARY")
  target_compile_definitions(platform PRIVATE QEL_FONT_FILE="${QEL_FONT_FILE}")
endif()
# stb's PNG decoder copies a zero-length first data chunk to a null buffer
# (memcpy of nothing from a null pointer): harmless, and in the system's
# header, so that one check is off for the file that compiles the decoder.
if(QEL_SANITIZE OR QEL_FUZZ)
  set_source_files_properties(${CMAKE_SOURCE_DIR}/platform/image/image_loader.cpp
                              TARGET_DIRECTORY platform
                              PROPERTIES COMPILE_OPTIONS -fno-sanitize=nonnull-attribute)
endif()
