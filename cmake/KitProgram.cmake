# kit_add_program(<name> SOURCES ... CORE <library>)
# A Windows desktop program of the kit: wWinMain entry, static runtime, icon 200 and the
# common-controls manifest for this build's processor, placed in dist/<arch>/.
set(KIT_DIST_DIR ${PROJECT_SOURCE_DIR}/dist/${KIT_ARCH})
set(KIT_ICON ${PROJECT_SOURCE_DIR}/shared/icon/kit.ico)

function(kit_add_program name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBRARIES" ${ARGN})
    set(KIT_PROGRAM_NAME ${name})
    configure_file(${PROJECT_SOURCE_DIR}/shared/program.manifest.in
                   ${CMAKE_CURRENT_BINARY_DIR}/${name}.manifest @ONLY)
    configure_file(${PROJECT_SOURCE_DIR}/shared/program.rc.in
                   ${CMAKE_CURRENT_BINARY_DIR}/${name}.rc @ONLY)
    add_executable(${name} WIN32 ${ARG_SOURCES} ${CMAKE_CURRENT_BINARY_DIR}/${name}.rc)
    target_link_libraries(${name} PRIVATE ${ARG_LIBRARIES} kit_options)
    target_link_options(${name} PRIVATE -municode $<$<CONFIG:Release>:-s>)
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${KIT_DIST_DIR})
    set_property(SOURCE ${CMAKE_CURRENT_BINARY_DIR}/${name}.rc APPEND PROPERTY OBJECT_DEPENDS
                 ${KIT_ICON} ${CMAKE_CURRENT_BINARY_DIR}/${name}.manifest)
endfunction()
