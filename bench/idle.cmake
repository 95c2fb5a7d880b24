# Idle CPU of the running console: the staged program in its idle state,
# polling the unit every 10 ms, measured for 30 s on a display of its own,
# against a bare Qt window running the same timer (bench/startup.cmake).
# Built with everything, run by hand, never as a test:
#   cmake --build build --target zyr_idle_bench && build/bench/zyr_idle_bench
add_executable(zyr_idle_bench ${CMAKE_SOURCE_DIR}/bench/idle_cpu.cpp)
target_link_libraries(zyr_idle_bench PRIVATE zyrpan_xvfb)
target_compile_definitions(zyr_idle_bench PRIVATE ZYR_STAGE_DIR="${ZYR_STAGE_DIR}")
zyr_warnings(zyr_idle_bench)
add_dependencies(zyr_idle_bench zyr_bare_window)
