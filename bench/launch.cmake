# Launch, idle and frame-rate probes: the real program's launch (zorvik_probe) beside a bare
# Qt Widgets window (bare_window) measured the same way. Driven by run_all.sh under Xvfb.
add_executable(bare_window ${CMAKE_CURRENT_LIST_DIR}/bare_window.cpp)
target_link_libraries(bare_window PRIVATE Qt6::Widgets)

add_executable(zorvik_probe ${CMAKE_CURRENT_LIST_DIR}/zorvik_probe.cpp)
target_link_libraries(zorvik_probe PRIVATE zorvik_app)
