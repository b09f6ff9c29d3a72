# Helpers that give every folder the same shape: one static library made of the folder's
# sources, and one test binary made of its *_tests.cpp files, linking only that library.
#
# Sources are globbed with CONFIGURE_DEPENDS so that adding a file to a folder needs no edit here.

include_guard(GLOBAL)

# mes_library(<name> [RECURSE] [DEPS <targets...>])
#   Builds library mes_<name> from <name>/*.cpp (or all subfolders with RECURSE), leaving out
#   *_tests.cpp, *_fuzz.cpp and *_bench.cpp, and links it PUBLIC to DEPS.
function(mes_library name)
    cmake_parse_arguments(ARG "RECURSE" "" "DEPS" ${ARGN})
    if(ARG_RECURSE)
        file(GLOB_RECURSE srcs CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
    else()
        file(GLOB srcs CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
    endif()
    list(FILTER srcs EXCLUDE REGEX "(_tests|_fuzz|_bench|/main|/cli/.*)\\.cpp$")
    if(NOT srcs)
        # A folder whose code has not been written yet still takes part in the levels.
        add_library(mes_${name} INTERFACE)
        target_include_directories(mes_${name} INTERFACE ${PROJECT_SOURCE_DIR})
        target_link_libraries(mes_${name} INTERFACE ${ARG_DEPS})
        return()
    endif()
    add_library(mes_${name} STATIC ${srcs})
    target_include_directories(mes_${name} PUBLIC ${PROJECT_SOURCE_DIR})
    target_link_libraries(mes_${name} PUBLIC ${ARG_DEPS})
    mes_warnings(mes_${name})
endfunction()

# mes_tests(<name> [RECURSE] [LIBS <extra test-only libs...>])
#   Builds <name>_tests from the folder's *_tests.cpp and registers each test with CTest.
function(mes_tests name)
    cmake_parse_arguments(ARG "RECURSE" "" "LIBS" ${ARGN})
    if(NOT MES_BUILD_TESTS)
        return()
    endif()
    if(ARG_RECURSE)
        file(GLOB_RECURSE tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*_tests.cpp)
    else()
        file(GLOB tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*_tests.cpp)
    endif()
    if(NOT tests)
        return()
    endif()
    add_executable(${name}_tests ${tests})
    target_link_libraries(${name}_tests PRIVATE mes_${name} ${ARG_LIBS} GTest::gtest GTest::gtest_main)
    target_compile_definitions(${name}_tests PRIVATE
        MES_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
        MES_CORPUS_DIR="${MES_CORPUS_DIR}")
    mes_warnings(${name}_tests)
    # Tests run headless: SDL's dummy video driver, no audio.
    gtest_discover_tests(${name}_tests
        WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}
        PROPERTIES ENVIRONMENT "SDL_VIDEODRIVER=dummy;SDL_AUDIODRIVER=dummy"
        DISCOVERY_TIMEOUT 60)
endfunction()

# mes_fuzz(<name> <source> LIBS <libs...>)
#   A libFuzzer target when MES_FUZZ is on (clang); otherwise a replay binary that feeds every
#   file of the given corpus folders to the same entry point, registered as a test.
function(mes_fuzz name source)
    cmake_parse_arguments(ARG "" "" "LIBS;CORPUS" ${ARGN})
    if(MES_FUZZ)
        add_executable(${name} ${source})
        target_compile_options(${name} PRIVATE -fsanitize=fuzzer)
        target_link_options(${name} PRIVATE -fsanitize=fuzzer)
        target_link_libraries(${name} PRIVATE ${ARG_LIBS})
    elseif(MES_BUILD_TESTS)
        add_executable(${name}_replay ${source} ${PROJECT_SOURCE_DIR}/cmake/fuzz_replay_main.cpp)
        target_link_libraries(${name}_replay PRIVATE ${ARG_LIBS})
        mes_warnings(${name}_replay)
        add_test(NAME ${name}_replay COMMAND ${name}_replay ${ARG_CORPUS})
    endif()
endfunction()

function(mes_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wno-unused-parameter)
    if(MES_WERROR)
        target_compile_options(${target} PRIVATE -Werror)
    endif()
endfunction()
