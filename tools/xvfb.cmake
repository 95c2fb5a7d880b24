# The staged console on an X display of its own (Xvfb, its windows worked
# with xdotool), for the end-to-end tests and the benches.
add_library(zyrpan_xvfb STATIC
  ${CMAKE_SOURCE_DIR}/tools/xvfb_display.cpp ${CMAKE_SOURCE_DIR}/tools/xvfb_display.h
  ${CMAKE_SOURCE_DIR}/tools/x_windows.cpp ${CMAKE_SOURCE_DIR}/tools/x_windows.h
  ${CMAKE_SOURCE_DIR}/tools/staged_console.cpp ${CMAKE_SOURCE_DIR}/tools/staged_console.h)
target_include_directories(zyrpan_xvfb PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(zyrpan_xvfb PUBLIC zyrpan_platform_base Qt6::Core)
zyr_warnings(zyrpan_xvfb)
