# An X display of its own (Xvfb, probed with xdotool) for the end-to-end
# tests and the idle CPU bench.
add_library(zyrpan_xvfb STATIC ${CMAKE_SOURCE_DIR}/tools/xvfb_display.cpp ${CMAKE_SOURCE_DIR}/tools/xvfb_display.h)
target_include_directories(zyrpan_xvfb PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(zyrpan_xvfb PUBLIC Qt6::Core)
zyr_warnings(zyrpan_xvfb)
