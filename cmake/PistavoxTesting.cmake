# GoogleTest: Debian's packaged library natively, its sources for the cross build.
if(CMAKE_CROSSCOMPILING)
  set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  set(PISTAVOX_GTEST_MAIN GTest::gtest_main)
  if(NOT TARGET GTest::gtest_main)
    add_library(GTest::gtest_main ALIAS gtest_main)
    add_library(GTest::gtest ALIAS gtest)
  endif()
else()
  find_package(GTest REQUIRED)
  include(GoogleTest)
endif()

# pistavox_add_test(NAME SOURCES ... LIBS ... [LOCK resource]): one test program; tests
# sharing a LOCK never run at the same time. Natively every
# test case becomes its own CTest test; under wine each program is one test,
# because listing the cases would start wine once more per program at build time.
function(pistavox_add_test name)
  cmake_parse_arguments(ARG "" "LOCK" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  pistavox_include_surface(${name})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} pistavox_test_support GTest::gtest_main pistavox_options)
  if(CMAKE_CROSSCOMPILING)
    add_test(NAME ${name} COMMAND ${name} WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
    if(ARG_LOCK)
      set_tests_properties(${name} PROPERTIES RESOURCE_LOCK ${ARG_LOCK})
    endif()
  elseif(ARG_LOCK)
    gtest_discover_tests(${name} WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR} DISCOVERY_TIMEOUT 30
                         PROPERTIES RESOURCE_LOCK ${ARG_LOCK})
  else()
    gtest_discover_tests(${name} WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR} DISCOVERY_TIMEOUT 30)
  endif()
endfunction()
