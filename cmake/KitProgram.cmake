# kit_add_program(<name> SOURCES ... LIBRARIES ... [DESCRIPTION "..."])
# A Windows desktop program of the kit: wWinMain entry, static runtime, icon 200, the
# common-controls manifest for this build's processor and a version resource with the kit's
# version and the program's description (shown in the file's properties), placed in
# dist/<arch>/.
set(KIT_DIST_DIR ${PROJECT_SOURCE_DIR}/dist/${KIT_ARCH})
set(KIT_ICON ${PROJECT_SOURCE_DIR}/shared/icon/kit.ico)

function(kit_add_program name)
    cmake_parse_arguments(ARG "" "DESCRIPTION" "SOURCES;LIBRARIES" ${ARGN})
    set(KIT_PROGRAM_NAME ${name})
    set(KIT_PROGRAM_DESCRIPTION "${ARG_DESCRIPTION}")
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
