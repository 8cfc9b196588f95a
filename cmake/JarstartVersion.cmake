# The project's version from the VERSION file at the root ("0.9.0"), written
# into <build>/generated/jarstart/Version.h for the C++ and resource sources
# that include "jarstart/Version.h" (JARSTART_GENERATED_DIR on their include
# path). Usage: include(.../JarstartVersion.cmake) with JARSTART_ROOT set.
file(STRINGS ${JARSTART_ROOT}/VERSION JARSTART_VERSION LIMIT_COUNT 1)
string(STRIP "${JARSTART_VERSION}" JARSTART_VERSION)
if(NOT JARSTART_VERSION MATCHES "^[0-9]+(\\.[0-9]+)?(\\.[0-9]+)?(\\.[0-9]+)?$")
  message(FATAL_ERROR "VERSION holds \"${JARSTART_VERSION}\": one to four numbers such as 1.2.3")
endif()
string(REPLACE "." ";" _parts "${JARSTART_VERSION}")
list(LENGTH _parts _count)
while(_count LESS 4)
  list(APPEND _parts 0)
  math(EXPR _count "${_count} + 1")
endwhile()
string(REPLACE ";" "," JARSTART_VERSION_NUMBERS "${_parts}")
configure_file(${JARSTART_ROOT}/cmake/Version.h.in ${CMAKE_BINARY_DIR}/generated/jarstart/Version.h @ONLY)
set(JARSTART_GENERATED_DIR ${CMAKE_BINARY_DIR}/generated)
