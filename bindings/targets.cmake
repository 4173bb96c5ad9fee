# The script bindings are generated at build time from the package files in
# this folder; the generated code lives in the build tree only.
set(QEL_BINDINGS_DIR ${CMAKE_CURRENT_LIST_DIR})

# qel_tolua_package(<target> <name> <package> [DEPENDS <files>...])
# Runs the tolua++ generator on <package> (from the package's folder, so that
# $pfile paths are relative to it), rewrites its conversions through the
# binding helpers and adds the result to <target>. The open function is
# tolua_<name>_open.
function(qel_tolua_package target name package)
  cmake_parse_arguments(ARG "" "" "DEPENDS" ${ARGN})
  get_filename_component(package_dir ${package} DIRECTORY)
  set(dir ${CMAKE_BINARY_DIR}/generated)
  set(raw ${dir}/tolua_${name}.raw.cpp)
  set(out ${dir}/tolua_${name}.cpp)
  add_custom_command(
    OUTPUT ${out}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${dir}
    COMMAND ${TOLUA_GENERATOR} -L ${QEL_BINDINGS_DIR}/generator_hooks.lua -n ${name} -o ${raw} ${package}
    COMMAND ${CMAKE_COMMAND} -DIN=${raw} -DOUT=${out} -P ${QEL_BINDINGS_DIR}/rewrite_generated.cmake
    WORKING_DIRECTORY ${package_dir}
    DEPENDS ${package} ${ARG_DEPENDS} ${QEL_BINDINGS_DIR}/generator_hooks.lua
            ${QEL_BINDINGS_DIR}/rewrite_generated.cmake
    COMMENT "Generating script bindings ${name} from ${package}"
    VERBATIM)
  target_sources(${target} PRIVATE ${out})
endfunction()

file(GLOB QEL_BINDING_PACKAGES CONFIGURE_DEPENDS ${QEL_BINDINGS_DIR}/*.pkg)
qel_tolua_package(bindings script ${QEL_BINDINGS_DIR}/script.pkg DEPENDS ${QEL_BINDING_PACKAGES})
qel_link(bindings qel::tolua)
