# Tests of the build run as Windows programs under Wine. CTest starts every
# target executable through tests/wine-run.sh (the cross-compiling emulator),
# each program in a private Wine prefix under ${CMAKE_BINARY_DIR}/wine.
set(WINE_TEST_ROOT ${CMAKE_BINARY_DIR}/wine)
set(CMAKE_CROSSCOMPILING_EMULATOR ${PROJECT_SOURCE_DIR}/tests/wine-run.sh --root ${WINE_TEST_ROOT})

# add_wine_test(NAME name TARGET exe [ARGS ...] [PREFIX prefix] [HOOKS "hook; hook"]
#               [GUI] [LABELS ...] [TIMEOUT seconds])
#   GUI     the test drives windows and the mouse: it takes the desktop alone.
#   PREFIX  the Wine prefix's name (default: the target's name); tests that map
#           drives with HOOKS should have a prefix of their own.
#   HOOKS   host-side preparation, see tests/host-hooks.sh; exit code 77 skips.
function(add_wine_test)
  cmake_parse_arguments(T "GUI" "NAME;TARGET;PREFIX;HOOKS;TIMEOUT" "ARGS;LABELS" ${ARGN})
  if(T_HOOKS AND NOT T_PREFIX)
    message(FATAL_ERROR "add_wine_test(${T_NAME}): HOOKS need a PREFIX of the test's own")
  endif()
  add_test(NAME ${T_NAME} COMMAND ${T_TARGET} ${T_ARGS})
  set(env "")
  if(T_PREFIX)
    list(APPEND env "WINE_TEST_PREFIX=${T_PREFIX}")
  endif()
  if(T_HOOKS)
    list(APPEND env "WINE_TEST_HOOKS=${T_HOOKS}")
  endif()
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 300)
  endif()
  set_tests_properties(${T_NAME} PROPERTIES
    ENVIRONMENT "${env}" SKIP_RETURN_CODE 77 TIMEOUT ${T_TIMEOUT} LABELS "${T_LABELS}")
  set(locks "")
  if(T_GUI)
    list(APPEND locks desktop)
  endif()
  if(T_PREFIX)
    # Runs that share a prefix must not change its drives under each other.
    list(APPEND locks "prefix-${T_PREFIX}")
  endif()
  if(locks)
    set_tests_properties(${T_NAME} PROPERTIES RESOURCE_LOCK "${locks}")
  endif()
endfunction()
