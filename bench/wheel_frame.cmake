# One full wheel frame at device pixel ratio 1 and 2, beside the floor of blitting a
# prerendered wheel image with a rotation, and beside the wheel drawn the plain way.
add_executable(bench_wheel_frame ${CMAKE_CURRENT_LIST_DIR}/bench_wheel_frame.cpp)
target_link_libraries(bench_wheel_frame PRIVATE zorvik_wheel benchmark::benchmark)
