# Tests of the build run as Windows programs under Wine. CTest starts every
# target executable through tests/wine-run.sh (the cross-compiling emulator),
# each program in a private Wine prefix under ${CMAKE_BINARY_DIR}/wine.
set(WINE_TEST_ROOT ${CMAKE_BINARY_DIR}/wine)
set(CMAKE_CROSSCOMPILING_EMULATOR ${PROJECT_SOURCE_DIR}/tests/wine-run.sh --root ${WINE_TEST_ROOT})

# add_wine_test(NAME name TARGET exe [ARGS ...] [PREFIX prefix] [HOOKS "hook; hook"]
#               [GUI] [LABELS ...] [TIMEOUT seconds])
#   GUI     the test drives windows and the mouse: it takes the desktop alone.
#           Every test that shows a window must say GUI, or its windows may
#           cover another test's.
#   PREFIX  the Wine prefix's name (default: the target's name). Tests of one
#           prefix run one after another; tests that map drives with HOOKS
#           need a PREFIX of their own.
#   HOOKS   host-side preparation, see tests/host-hooks.sh; exit code 77 skips.
# The test's screenshots and other output go to build/test-output/<name>.
function(add_wine_test)
  # PARSE_ARGV keeps the ";" between hooks inside the one HOOKS value.
  cmake_parse_arguments(PARSE_ARGV 0 T "GUI" "NAME;TARGET;PREFIX;HOOKS;TIMEOUT" "ARGS;LABELS")
  if(T_HOOKS AND NOT T_PREFIX)
    message(FATAL_ERROR "add_wine_test(${T_NAME}): HOOKS need a PREFIX of the test's own")
  endif()
  if(NOT T_PREFIX)
    set(T_PREFIX ${T_TARGET})
  endif()
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 300)
  endif()
  add_test(NAME ${T_NAME} COMMAND ${T_TARGET} ${T_ARGS})
  set(env
    "WINE_TEST_PREFIX=${T_PREFIX}"
    "WINE_TEST_ARTIFACTS=${CMAKE_BINARY_DIR}/test-output/${T_NAME}"
    "WINE_TEST_END_ALL=1")
  if(T_HOOKS)
    string(REPLACE ";" "\\;" hooks "${T_HOOKS}")  # one element of the ENVIRONMENT list
    list(APPEND env "WINE_TEST_HOOKS=${hooks}")
  endif()
  # Runs in one prefix share its Wine server: one ending all its processes
  # must not end another's.
  set(locks "prefix-${T_PREFIX}")
  if(T_GUI)
    list(APPEND locks desktop)
  endif()
  set_tests_properties(${T_NAME} PROPERTIES
    ENVIRONMENT "${env}" SKIP_RETURN_CODE 77 TIMEOUT ${T_TIMEOUT} LABELS "${T_LABELS}"
    RESOURCE_LOCK "${locks}")
endfunction()
