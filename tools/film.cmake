# The film speed data files of the three exposure modes, made at build time
# and staged in the program's FILM folder; the library needs them for every
# exposure, so building it builds them.
add_executable(zyr_make_film ${CMAKE_SOURCE_DIR}/tools/make_film.cpp)
target_link_libraries(zyr_make_film PRIVATE zyrpan_sim)
zyr_warnings(zyr_make_film)

set(ZYR_FILM_DIR ${ZYR_STAGE_DIR}/FILM)
set(_zyr_films ${ZYR_FILM_DIR}/NP_P1_A.dat ${ZYR_FILM_DIR}/NP_P1_C.dat ${ZYR_FILM_DIR}/NP_T4.dat)
add_custom_command(
  OUTPUT ${_zyr_films}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${ZYR_FILM_DIR}
  COMMAND ${CMAKE_COMMAND} -E env ASAN_OPTIONS=detect_leaks=0 $<TARGET_FILE:zyr_make_film> ${ZYR_FILM_DIR}
  DEPENDS zyr_make_film
  COMMENT "Writing the film speed data"
  VERBATIM)
add_custom_target(zyr_film ALL DEPENDS ${_zyr_films})
if(TARGET ZyrPan2)
  add_dependencies(ZyrPan2 zyr_film)
endif()
