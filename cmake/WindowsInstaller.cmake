# The Windows installer: build-windows/brindelor-<version>-x64.msi, by wixl.
# wixl wants the files beside the .wxs, under relative names: stage them.
find_program(BRINDELOR_WIXL wixl)
if(NOT BRINDELOR_WIXL OR NOT TARGET brindelor OR NOT TARGET brindelor-calc)
  return()
endif()

set(_stage ${CMAKE_BINARY_DIR}/msi)
set(_msi ${CMAKE_BINARY_DIR}/brindelor-${PROJECT_VERSION}-x64.msi)
configure_file(${PROJECT_SOURCE_DIR}/packaging/windows/brindelor.wxs.in ${_stage}/brindelor.wxs @ONLY)
add_custom_command(OUTPUT ${_msi}
  COMMAND ${CMAKE_COMMAND} -E copy_if_different $<TARGET_FILE:brindelor> $<TARGET_FILE:brindelor-calc>
          ${PROJECT_SOURCE_DIR}/packaging/windows/brindelor.ico ${_stage}
  COMMAND ${BRINDELOR_WIXL} -a x64 -o ${_msi} brindelor.wxs
  WORKING_DIRECTORY ${_stage}
  DEPENDS brindelor brindelor-calc ${_stage}/brindelor.wxs ${PROJECT_SOURCE_DIR}/packaging/windows/brindelor.ico
  COMMENT "Windows installer ${_msi}"
  VERBATIM)
add_custom_target(msi ALL DEPENDS ${_msi})

# Installed, run and removed under Wine (inside scripts/wine-run.sh).
if(BRINDELOR_BUILD_TESTS)
  add_test(NAME msi_install
    COMMAND bash ${PROJECT_SOURCE_DIR}/tests/msi_test.sh ${_msi} ${_stage}/brindelor.wxs)
  set_tests_properties(msi_install PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 300 RUN_SERIAL TRUE)
endif()
