# Start-up of the console against a bare Qt window of the same size, on one
# Xvfb display. Built with everything, run by hand, never as a test:
#   cmake --build build --target zyr_startup_bench && build/bench/zyr_startup_bench [STAGE_DIR [ROUNDS]]
# The bare window is also the idle bench's yardstick.
add_executable(zyr_bare_window ${CMAKE_SOURCE_DIR}/bench/bare_window.cpp)
target_link_libraries(zyr_bare_window PRIVATE Qt6::Widgets)
zyr_warnings(zyr_bare_window)

find_package(PkgConfig QUIET)
if(PkgConfig_FOUND)
  pkg_check_modules(ZYR_XCB IMPORTED_TARGET xcb)
endif()
if(ZYR_XCB_FOUND)
  add_executable(zyr_startup_bench ${CMAKE_SOURCE_DIR}/bench/startup_bench.cpp)
  target_link_libraries(zyr_startup_bench PRIVATE zyrpan_xvfb PkgConfig::ZYR_XCB)
  target_compile_definitions(zyr_startup_bench PRIVATE ZYR_STAGE_DIR="${ZYR_STAGE_DIR}")
  add_dependencies(zyr_startup_bench zyr_bare_window)
  zyr_warnings(zyr_startup_bench)
else()
  message(STATUS "libxcb1-dev not found: zyr_startup_bench is not built")
endif()
