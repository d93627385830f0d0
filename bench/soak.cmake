# A long run of spins: RSS every 100 spins, timers, players and QObjects left behind.
# bench_soak [spins=1000] [real-timer spins=30]
add_executable(bench_soak ${CMAKE_CURRENT_LIST_DIR}/bench_soak.cpp)
target_include_directories(bench_soak PRIVATE ${PROJECT_SOURCE_DIR}/tests)
target_link_libraries(bench_soak PRIVATE zorvik_game)
