# SANE's virtual devices for tests: the test and pnm backends ship with libsane1
# but the system's dll.conf leaves them out. morvex_use_sane_test_devices names
# them in a dll.conf of the calling folder's own and points SANE_CONFIG_DIR at
# it for the discovered tests of the given test programs; the trailing colon
# keeps the system folder after it (the backends' own .conf files). The
# system's /etc/sane.d is never changed.
#
#   morvex_use_sane_test_devices(TARGETS <test programs> [ENVIRONMENT <VAR=value>...])
#
# Call it after gtest_discover_tests of those programs. The environment goes
# onto the discovered tests once ctest has read their names (an ENVIRONMENT of
# more than one variable does not pass through gtest_discover_tests'
# PROPERTIES intact).
function(morvex_use_sane_test_devices)
  cmake_parse_arguments(ARG "" "" "TARGETS;ENVIRONMENT" ${ARGN})
  set(folder ${CMAKE_CURRENT_BINARY_DIR}/sane-config)
  file(WRITE ${folder}/dll.conf "test\npnm\n")
  set(environment "SANE_CONFIG_DIR=${folder}:" ${ARG_ENVIRONMENT})
  # libsane and its backends leak (see sane/lsan.supp); the sanitizer build is
  # told so, for these tests only.
  if(MORVEX_SANITIZE)
    list(APPEND environment
      "LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/tests/sane/lsan.supp:print_suppressions=0")
  endif()
  set(tests "")
  foreach(target ${ARG_TARGETS})
    string(APPEND tests " \${${target}_TESTS}")
  endforeach()
  file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/sane_test_environment.cmake
    "set_tests_properties(${tests}\n  PROPERTIES ENVIRONMENT \"${environment}\" TIMEOUT 120)\n")
  set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${CMAKE_CURRENT_BINARY_DIR}/sane_test_environment.cmake)
endfunction()
