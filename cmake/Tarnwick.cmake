# Project-wide compiler settings and the helpers every folder uses to declare its targets.

add_library(tarnwick_options INTERFACE)
target_compile_options(tarnwick_options INTERFACE
  -Wall -Wextra -Wshadow -Woverloaded-virtual -Wnon-virtual-dtor)
target_include_directories(tarnwick_options INTERFACE ${PROJECT_SOURCE_DIR})
if(TARNWICK_WERROR)
  target_compile_options(tarnwick_options INTERFACE -Werror)
endif()
if(TARNWICK_SANITIZE)
  target_compile_options(tarnwick_options INTERFACE
    -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
  target_link_options(tarnwick_options INTERFACE -fsanitize=address,undefined)
endif()
if(TARNWICK_TSAN)
  target_compile_options(tarnwick_options INTERFACE -fsanitize=thread -fno-omit-frame-pointer)
  target_link_options(tarnwick_options INTERFACE -fsanitize=thread)
endif()
if(TARNWICK_FUZZ)
  # Every object is instrumented for coverage; only the fuzz targets link the fuzzer's main.
  target_compile_options(tarnwick_options INTERFACE -fsanitize=fuzzer-no-link,address,undefined)
  target_link_options(tarnwick_options INTERFACE -fsanitize=address,undefined)
endif()

# tw_library(<target> SOURCES ... [DEPENDS ...]): one static library per folder.
function(tw_library target)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPENDS" ${ARGN})
  add_library(${target} STATIC ${ARG_SOURCES})
  target_link_libraries(${target} PUBLIC tarnwick_options ${ARG_DEPENDS})
endfunction()

# tw_test(<library> <label> SOURCES ... [DEPENDS ...] [THREADS <regex>...]
#         [THREADS_EXCEPT <regex>...]): a GoogleTest binary whose CTest names start with
# "<library>." and carry <label> (unit, interop or gui). The tests whose "Suite.Test" matches a
# THREADS expression, and no THREADS_EXCEPT one, carry the label "threads" as well: they start
# threads, and the ThreadSanitizer run (preset tsan) takes them.
function(tw_test library label)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPENDS;THREADS;THREADS_EXCEPT" ${ARGN})
  set(target ${library}_${label}_tests)
  add_executable(${target} ${ARG_SOURCES})
  target_link_libraries(${target} PRIVATE ${library} ${ARG_DEPENDS} GTest::gtest GTest::gmock
                                          test_support)
  target_compile_definitions(${target} PRIVATE
    TARNWICK_FIXTURES="${PROJECT_SOURCE_DIR}/tests/fixtures")
  # One target per label builds every binary of that label (the clang build takes only the
  # unit tests).
  if(NOT TARGET all_${label}_tests)
    add_custom_target(all_${label}_tests)
  endif()
  add_dependencies(all_${label}_tests ${target})
  gtest_discover_tests(${target}
    TEST_PREFIX "${library}."
    TEST_LIST ${target}_list
    PROPERTIES LABELS ${label} ENVIRONMENT TARNWICK_BACKEND=headless
    DISCOVERY_MODE PRE_TEST)
  if(ARG_THREADS)
    # The names are known only once CTest has run the discovery, so the label is added then, by
    # a script that CTest includes after the discovery's own.
    list(JOIN ARG_THREADS "|" threads)
    set(condition "test MATCHES [==[^${library}\\.(${threads})$]==]")
    if(ARG_THREADS_EXCEPT)
      list(JOIN ARG_THREADS_EXCEPT "|" except)
      string(APPEND condition " AND NOT test MATCHES [==[^${library}\\.(${except})$]==]")
    endif()
    set(script "${CMAKE_CURRENT_BINARY_DIR}/${target}_threads.cmake")
    file(WRITE "${script}"
      "foreach(test IN LISTS ${target}_list)\n"
      "  if(${condition})\n"
      "    set_tests_properties(\"\${test}\" PROPERTIES LABELS \"${label};threads\")\n"
      "  endif()\n"
      "endforeach()\n")
    set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES "${script}")
  endif()
endfunction()

# tw_fuzz(<library> <name> <source>): a fuzz target. With TARNWICK_FUZZ it links libFuzzer;
# otherwise it links a replay driver and CTest runs it over fuzz/corpus/<name>.
function(tw_fuzz library name source)
  set(target fuzz_${name})
  add_executable(${target} ${source})
  target_link_libraries(${target} PRIVATE ${library})
  if(TARNWICK_FUZZ)
    target_link_options(${target} PRIVATE -fsanitize=fuzzer)
  else()
    target_sources(${target} PRIVATE ${PROJECT_SOURCE_DIR}/fuzz/replay_main.cpp)
    add_test(NAME ${library}.fuzz_replay.${name}
             COMMAND ${target} ${PROJECT_SOURCE_DIR}/fuzz/corpus/${name})
    set_tests_properties(${library}.fuzz_replay.${name} PROPERTIES LABELS fuzz)
  endif()
endfunction()
