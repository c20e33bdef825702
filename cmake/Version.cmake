# The version, written once in CMakeLists.txt, into everything that carries it:
# a header every target can include, and the Windows resource script and
# manifest (generated beside a copy of the icon, so the script finds its files
# as rc.exe and windres expect, next to itself).

# Windows takes exactly four numbers, each below 65536.
foreach(_version IN ITEMS PROJECT_VERSION BRINDELOR_PRODUCT_VERSION)
  if(NOT ${_version} MATCHES "^[0-9]+\\.[0-9]+\\.[0-9]+\\.[0-9]+$")
    message(FATAL_ERROR "${_version} is '${${_version}}': Windows needs four numbers, a.b.c.d")
  endif()
  string(REPLACE "." ";" _parts "${${_version}}")
  foreach(_part IN LISTS _parts)
    if(_part GREATER 65535)
      message(FATAL_ERROR "${_version} is '${${_version}}': each number must be below 65536")
    endif()
  endforeach()
endforeach()

set(BRINDELOR_GENERATED_DIR ${CMAKE_BINARY_DIR}/generated)

configure_file(${CMAKE_CURRENT_LIST_DIR}/version.h.in
               ${BRINDELOR_GENERATED_DIR}/brindelor/version.h @ONLY)
add_library(brindelor_version INTERFACE)
add_library(Brindelor::version ALIAS brindelor_version)
target_include_directories(brindelor_version INTERFACE ${BRINDELOR_GENERATED_DIR})

# The binary version records spell the numbers with commas.
string(REPLACE "." "," BRINDELOR_RC_FILE_VERSION "${PROJECT_VERSION}")
string(REPLACE "." "," BRINDELOR_RC_PRODUCT_VERSION "${BRINDELOR_PRODUCT_VERSION}")
set(BRINDELOR_WINDOWS_DIR ${BRINDELOR_GENERATED_DIR}/windows)
set(BRINDELOR_WINDOWS_RC ${BRINDELOR_WINDOWS_DIR}/brindelor.rc)
configure_file(${PROJECT_SOURCE_DIR}/packaging/windows/brindelor.rc.in
               ${BRINDELOR_WINDOWS_RC} @ONLY)
configure_file(${PROJECT_SOURCE_DIR}/packaging/windows/brindelor.manifest.in
               ${BRINDELOR_WINDOWS_DIR}/brindelor.manifest @ONLY)
configure_file(${PROJECT_SOURCE_DIR}/packaging/windows/brindelor.ico
               ${BRINDELOR_WINDOWS_DIR}/brindelor.ico COPYONLY)
