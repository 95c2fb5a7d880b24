# The picture generator: draws every numbered picture of the console as a
# PNG and writes the resource file that compiles them in (resources/).
file(GLOB _mp_src CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/make_pictures*.cpp ${CMAKE_CURRENT_LIST_DIR}/make_pictures*.h)
add_executable(zyr_make_pictures ${_mp_src})
target_include_directories(zyr_make_pictures PRIVATE ${CMAKE_SOURCE_DIR})
target_link_libraries(zyr_make_pictures PRIVATE Qt6::Gui)
zyr_warnings(zyr_make_pictures)
# The font files the pictures' texts are drawn with (Debian: fonts-dejavu-core).
set(ZYR_PICTURE_FONT_DIR /usr/share/fonts/truetype/dejavu CACHE PATH "Folder of DejaVuSans.ttf and DejaVuSans-Bold.ttf")
target_compile_definitions(zyr_make_pictures PRIVATE ZYR_PICTURE_FONT_DIR="${ZYR_PICTURE_FONT_DIR}")
