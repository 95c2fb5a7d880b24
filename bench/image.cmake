# The image pipeline's benchmark: built with everything, run by hand, never as a test.
#   cmake --build build --target zyr_image_bench && build/bench/zyr_image_bench
add_executable(zyr_image_bench ${CMAKE_SOURCE_DIR}/bench/image_bench.cpp)
target_link_libraries(zyr_image_bench PRIVATE zyrpan_sim)
zyr_warnings(zyr_image_bench)
