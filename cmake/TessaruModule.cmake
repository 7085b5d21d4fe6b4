# tessaru_library(NAME SOURCES... DEPS ...) builds one subsystem folder as a static library.
function(tessaru_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS;SYSTEM_DEPS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${ARG_DEPS} PRIVATE tessaru_warnings ${ARG_SYSTEM_DEPS})
endfunction()

# tessaru_tests(NAME SOURCES... DEPS ...) builds one GoogleTest executable registered with CTest.
# Tests run with the fixture folder in TESSARU_FIXTURES and a scratch folder per test binary.
function(tessaru_tests name)
  if(NOT TESSARU_BUILD_TESTS)
    return()
  endif()
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES} ${PROJECT_SOURCE_DIR}/cmake/testing/test_main.cpp)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  target_link_libraries(${name} PRIVATE ${ARG_DEPS} tessaru_warnings GTest::gtest GTest::gmock)
  target_compile_definitions(${name} PRIVATE
    TESSARU_FIXTURES="${CMAKE_CURRENT_SOURCE_DIR}/tests/fixtures"
    TESSARU_SCRATCH="${CMAKE_BINARY_DIR}/scratch/${name}")
  file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/scratch/${name})
  # Tests of one binary share its scratch folder, so they run one at a time; different
  # binaries still run in parallel.
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60
    PROPERTIES RESOURCE_LOCK ${name})
endfunction()

# tessaru_tests_use_data(NAME): the test binary plays on the generated data folder, so it
# is built after it (the generator's target is made later in the tree; the dependency is
# resolved when the build is generated).
function(tessaru_tests_use_data name)
  if(NOT TARGET ${name})
    return()
  endif()
  target_compile_definitions(${name} PRIVATE TESSARU_DATA_DIR="${CMAKE_BINARY_DIR}/bin")
  if(TESSARU_GENERATE_DATA)
    add_dependencies(${name} tessaru_data)
  endif()
endfunction()
