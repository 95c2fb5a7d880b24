# The package's default settings, made from the staged default: no Link, so
# that the first start says where the settings are and what to write there
# instead of running the simulator unannounced; and the bitmap in each
# operator's own home, so that two operators of one computer never share it;
# APPEND, when given, is a file of further sections (the package's spool).
#   cmake -DSRC=resources/ZYR_PAN_WEQ.ini -DDST=... [-DAPPEND=...] -P package_settings.cmake
file(READ "${SRC}" _text)
string(REGEX REPLACE "(^|\n)Link=[^\n]*\n" "\\1" _text "${_text}")
string(REGEX REPLACE "(^|\n)SaveFileName=[^\n]*\n" "\\1SaveFileName=~/ZYR_PAN_WEQ.bmp\n" _text "${_text}")
if(APPEND)
  file(READ "${APPEND}" _more)
  string(APPEND _text "${_more}")
endif()
file(WRITE "${DST}.new" "${_text}")
file(COPY_FILE "${DST}.new" "${DST}" ONLY_IF_DIFFERENT)
file(REMOVE "${DST}.new")
