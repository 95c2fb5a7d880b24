# The animation clips: drawn and run-length coded by our own writer at build
# time, staged in the program's Animation folder.
add_library(zyrpan_clipwriter STATIC
  ${CMAKE_SOURCE_DIR}/tools/make_clips_rle8.cpp ${CMAKE_SOURCE_DIR}/tools/make_clips_rle8.h
  ${CMAKE_SOURCE_DIR}/tools/make_clips_avi.cpp ${CMAKE_SOURCE_DIR}/tools/make_clips_avi.h)
target_include_directories(zyrpan_clipwriter PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(zyrpan_clipwriter PUBLIC Qt6::Gui)
zyr_warnings(zyrpan_clipwriter)

add_executable(zyr_make_clips
  ${CMAKE_SOURCE_DIR}/tools/make_clips.cpp
  ${CMAKE_SOURCE_DIR}/tools/make_clips_scenes.cpp ${CMAKE_SOURCE_DIR}/tools/make_clips_scenes.h)
target_link_libraries(zyr_make_clips PRIVATE zyrpan_clipwriter Qt6::Gui)
zyr_warnings(zyr_make_clips)

set(ZYR_CLIP_DIR ${ZYR_STAGE_DIR}/Animation)
set(_zyr_clips)
foreach(_clip START STARTIMG TAKEIMG GETIMG PROIMG)
  list(APPEND _zyr_clips ${ZYR_CLIP_DIR}/${_clip}.avi)
endforeach()
add_custom_command(
  OUTPUT ${_zyr_clips}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${ZYR_CLIP_DIR}
  COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0
          $<TARGET_FILE:zyr_make_clips> ${ZYR_CLIP_DIR}
  DEPENDS zyr_make_clips
  COMMENT "Drawing the animation clips"
  VERBATIM)
add_custom_target(zyr_clips ALL DEPENDS ${_zyr_clips})
