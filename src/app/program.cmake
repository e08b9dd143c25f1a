# The main window and its wiring go into tamrel_gui; the entry is the program.
target_sources(tamrel_gui PRIVATE
    main_actions.cpp
    main_timers.cpp
    main_window.cpp
    ui_helpers.cpp
    wiring_links.cpp
    wiring_ports.cpp
    wiring_table.cpp
    wiring_run.cpp
)

add_executable(UtilityForTamrel main.cpp application.cpp single_instance.cpp)
target_link_libraries(UtilityForTamrel PRIVATE tamrel_gui)

# The window tests start the real program (single-instance checks). The test
# target is defined after this folder, so its hook runs at the end of the
# top-level directory.
function(tamrel_link_program_to_gui_tests)
  if(TARGET gui_tests)
    target_compile_definitions(gui_tests PRIVATE
        TAMREL_PROGRAM_PATH="$<TARGET_FILE:UtilityForTamrel>")
    add_dependencies(gui_tests UtilityForTamrel)
  endif()
endfunction()
cmake_language(DEFER DIRECTORY ${CMAKE_SOURCE_DIR} CALL tamrel_link_program_to_gui_tests)
