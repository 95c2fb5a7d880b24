# The Debian package (./build.sh package; configure with the "package"
# preset). The program folder goes to /usr/lib/zyr-pan-weq with the command
# /usr/bin/zyr-pan-weq linked to it; the settings file there links to
# /var/lib/zyr-pan-weq/ZYR_PAN_WEQ.ini, which the package scripts make for
# the operators' group from the default kept in /usr/share/zyr-pan-weq.
set(ZYR_PKG zyr-pan-weq)
set(ZYR_PKG_FOLDER lib/${ZYR_PKG})
set(ZYR_PKG_SETTINGS /var/lib/${ZYR_PKG}/ZYR_PAN_WEQ.ini)
set(ZYR_PKG_SRC ${CMAKE_SOURCE_DIR}/packaging)
set(ZYR_PKG_BIN ${CMAKE_BINARY_DIR}/packaging)
file(MAKE_DIRECTORY ${ZYR_PKG_BIN})

install(TARGETS ZYR_PAN_WEQ RUNTIME DESTINATION ${ZYR_PKG_FOLDER})
if(TARGET zyrpan-unit)
  install(TARGETS zyrpan-unit RUNTIME DESTINATION ${ZYR_PKG_FOLDER})
endif()
install(TARGETS ZyrPan2 zyrpan_sound LIBRARY DESTINATION ${ZYR_PKG_FOLDER})
# The DICOM sender beside the console, and its service (where Debian 12's
# systemd looks for packaged units).
install(TARGETS zyr-pan-weq-store RUNTIME DESTINATION ${ZYR_PKG_FOLDER})
install(FILES ${ZYR_PKG_SRC}/zyr-pan-weq-store.service DESTINATION /lib/systemd/system)
install(DIRECTORY ${ZYR_STAGE_DIR}/FILM ${ZYR_STAGE_DIR}/Animation DESTINATION ${ZYR_PKG_FOLDER})
# The default settings the package scripts install: the staged default
# without Link, with the bitmap in the operator's home and the package's spool.
set(ZYR_PKG_DEFAULT_INI ${ZYR_PKG_BIN}/default/ZYR_PAN_WEQ.ini)
add_custom_command(OUTPUT ${ZYR_PKG_DEFAULT_INI}
  COMMAND ${CMAKE_COMMAND} -DSRC=${CMAKE_SOURCE_DIR}/resources/ZYR_PAN_WEQ.ini -DDST=${ZYR_PKG_DEFAULT_INI}
          -DAPPEND=${ZYR_PKG_SRC}/dicom_spool.ini
          -P ${CMAKE_SOURCE_DIR}/cmake/package_settings.cmake
  DEPENDS ${CMAKE_SOURCE_DIR}/resources/ZYR_PAN_WEQ.ini ${CMAKE_SOURCE_DIR}/cmake/package_settings.cmake
          ${ZYR_PKG_SRC}/dicom_spool.ini VERBATIM)
add_custom_target(zyr_package_ini ALL DEPENDS ${ZYR_PKG_DEFAULT_INI})
install(FILES ${ZYR_PKG_DEFAULT_INI} DESTINATION share/${ZYR_PKG})

# The two links, made here and installed as links.
file(CREATE_LINK ${ZYR_PKG_SETTINGS} ${ZYR_PKG_BIN}/ZYR_PAN_WEQ.ini SYMBOLIC)
file(CREATE_LINK ../${ZYR_PKG_FOLDER}/ZYR_PAN_WEQ ${ZYR_PKG_BIN}/${ZYR_PKG} SYMBOLIC)
install(FILES ${ZYR_PKG_BIN}/ZYR_PAN_WEQ.ini DESTINATION ${ZYR_PKG_FOLDER})
install(FILES ${ZYR_PKG_BIN}/${ZYR_PKG} DESTINATION bin)

# Desktop entry and the program's icon in every size the picture generator
# drew it (resources/CMakeLists.txt).
install(FILES ${ZYR_PKG_SRC}/${ZYR_PKG}.desktop DESTINATION share/applications)
foreach(_size 16 24 32 48 64 128 256)
  install(FILES ${CMAKE_BINARY_DIR}/resources/pictures/program/${_size}.png
          DESTINATION share/icons/hicolor/${_size}x${_size}/apps RENAME ${ZYR_PKG}.png)
endforeach()

# Documentation as Debian wants it: compressed without a time stamp.
set(_gz)
foreach(_doc changelog ${ZYR_PKG}.1)
  add_custom_command(OUTPUT ${ZYR_PKG_BIN}/${_doc}.gz
    COMMAND sh -c "gzip -9nc '${ZYR_PKG_SRC}/${_doc}' > '${ZYR_PKG_BIN}/${_doc}.gz'"
    DEPENDS ${ZYR_PKG_SRC}/${_doc} VERBATIM)
  list(APPEND _gz ${ZYR_PKG_BIN}/${_doc}.gz)
endforeach()
add_custom_target(zyr_package_docs ALL DEPENDS ${_gz})
install(FILES ${ZYR_PKG_BIN}/changelog.gz DESTINATION share/doc/${ZYR_PKG} RENAME changelog.Debian.gz)
install(FILES ${ZYR_PKG_SRC}/copyright DESTINATION share/doc/${ZYR_PKG})
install(FILES ${ZYR_PKG_SRC}/99-zyr-pan-weq-serial.rules DESTINATION share/doc/${ZYR_PKG}/examples)
install(FILES ${ZYR_PKG_BIN}/${ZYR_PKG}.1.gz DESTINATION share/man/man1)

set(ZYR_PACKAGE_MAINTAINER "ZYR PAN console maintainers <maintainers@zyr-pan.example>"
    CACHE STRING "Maintainer field of the Debian package")
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ${ZYR_PKG})
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${ZYR_PACKAGE_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "operator console for a panoramic and TMJ X-ray unit")
# The extended description; CPack puts the summary line before it.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "The console serves one exposure per run: it connects to the X-ray unit and
its CCD sensor, lets the operator choose the exposure mode (panorama adult,
panorama child, TMJ), the tube voltage and current and a patient size, takes
the exposure and writes the image as a bitmap for the practice's imaging
program.
.
The package also holds the unit and sensor library, which simulates the unit
and the sensor or carries the link to a real unit over TCP or a serial line,
and the simulated unit as a TCP server (zyrpan-unit).
.
With DICOM enabled, each image is also written as a DICOM object into a
spool, from which zyr-pan-weq-store (a systemd service) delivers it to the
practice's archive.")
# Library dependencies come from the binaries (DCMTK's runtime libraries from
# the console and the sender; the X platform plugin comes
# with libqt6gui6); the package scripts need adduser, and the console loads
# Qt's translations of its standard buttons and menus at every start.
# Running in Japanese wants the CJK fonts.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "adduser, qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-noto-cjk")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${ZYR_PKG_SRC}/postinst ${ZYR_PKG_SRC}/prerm ${ZYR_PKG_SRC}/postrm)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
