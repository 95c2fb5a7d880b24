# Soak and fault runs: built with everything, run by hand, never as tests.
# Each prints its figures and a PASS or FAIL line (exit 0 / 1; 2 when it
# could not run). See the comment at the top of each program.
add_library(zyr_soak_unit STATIC ${CMAKE_SOURCE_DIR}/bench/soak_proc.cpp ${CMAKE_SOURCE_DIR}/bench/unit_client.cpp)
target_link_libraries(zyr_soak_unit PUBLIC zyrpan_sim)
set_target_properties(zyr_soak_unit PROPERTIES AUTOMOC OFF)
zyr_warnings(zyr_soak_unit)

foreach(_run unit_churn unit_garbage)
  add_executable(zyr_${_run} ${CMAKE_SOURCE_DIR}/bench/${_run}.cpp)
  target_link_libraries(zyr_${_run} PRIVATE zyr_soak_unit)
  target_compile_definitions(zyr_${_run} PRIVATE ZYR_STAGE_DIR="${ZYR_STAGE_DIR}")
  set_target_properties(zyr_${_run} PROPERTIES AUTOMOC OFF)
  zyr_warnings(zyr_${_run})
endforeach()

# The runs that drive the staged console on an Xvfb display of their own.
add_library(zyr_soak_console STATIC ${CMAKE_SOURCE_DIR}/bench/soak_console.cpp)
target_link_libraries(zyr_soak_console PUBLIC zyr_soak_unit zyrpan_xvfb)
zyr_warnings(zyr_soak_console)

foreach(_run idle_rss kill_write link_drop)
  add_executable(zyr_${_run} ${CMAKE_SOURCE_DIR}/bench/console_${_run}.cpp)
  target_link_libraries(zyr_${_run} PRIVATE zyr_soak_console)
  target_compile_definitions(zyr_${_run} PRIVATE ZYR_STAGE_DIR="${ZYR_STAGE_DIR}")
  zyr_warnings(zyr_${_run})
endforeach()

# All five at once (the stage they drive comes from the default target):
#   cmake --build build --target zyr_soak
add_custom_target(zyr_soak)
add_dependencies(zyr_soak zyr_unit_churn zyr_unit_garbage zyr_idle_rss zyr_kill_write zyr_link_drop)
