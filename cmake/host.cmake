# Host builds: the launcher's logic against the simulated Windows machine, with unit tests.
find_package(GTest REQUIRED)
include(GoogleTest)

add_library(launcher STATIC ${LAUNCHER_SOURCES})
target_include_directories(launcher PUBLIC launcher platform)
target_compile_options(launcher PRIVATE ${LAUNCHER_WARNINGS} ${LAUNCHER_LANGUAGE})

add_library(simulated_windows STATIC
    platform/simulated/machine.cpp
    platform/simulated/registry.cpp
    platform/simulated/file_system.cpp
    platform/simulated/environment.cpp
    platform/simulated/code_page.cpp
    platform/simulated/starts_and_boxes.cpp)
target_include_directories(simulated_windows PUBLIC platform platform/simulated)
target_compile_options(simulated_windows PRIVATE ${TEST_WARNINGS})

option(LAUNCH_FUZZ "Build the fuzz targets with libFuzzer (clang) instead of the unit tests" OFF)
set(LAUNCH_FUZZ_SECONDS 60 CACHE STRING "How long each bounded fuzz run lasts")

# Fuzz targets: with libFuzzer in the fuzz preset, a bounded run of each from the committed seed
# corpus; elsewhere linked with a replay main that runs the corpus, so that they never rot.
foreach(target tail launch)
    set(corpus ${CMAKE_SOURCE_DIR}/fuzz/corpus/${target})
    if(LAUNCH_FUZZ)
        add_executable(${target}_fuzz fuzz/${target}_fuzz.cpp)
        target_link_options(${target}_fuzz PRIVATE -fsanitize=fuzzer)
        # New inputs go to the build tree; the committed corpus is only read.
        file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/corpus/${target})
        add_test(NAME fuzz.${target}
            COMMAND ${target}_fuzz -max_total_time=${LAUNCH_FUZZ_SECONDS} -print_final_stats=1
                    -timeout=10 ${CMAKE_BINARY_DIR}/corpus/${target} ${corpus})
        set_tests_properties(fuzz.${target} PROPERTIES TIMEOUT 900 LABELS fuzz)
    else()
        add_executable(${target}_fuzz fuzz/${target}_fuzz.cpp fuzz/replay_main.cpp)
        add_test(NAME fuzz_replay.${target} COMMAND ${target}_fuzz ${corpus})
    endif()
    target_include_directories(${target}_fuzz PRIVATE fuzz)
    target_link_libraries(${target}_fuzz PRIVATE launcher simulated_windows)
    target_compile_options(${target}_fuzz PRIVATE ${TEST_WARNINGS})
endforeach()

if(LAUNCH_FUZZ)
    return()
endif()

add_executable(unit_tests
    tests/unit/launch_decision_test.cpp
    tests/unit/install_path_test.cpp
    tests/unit/change_directory_test.cpp
    tests/unit/argument_tail_test.cpp
    tests/unit/entry_test.cpp
    tests/unit/fault_walk_test.cpp
    tests/unit/simulated_windows_test.cpp)
target_link_libraries(unit_tests PRIVATE launcher simulated_windows GTest::gtest_main)
target_compile_options(unit_tests PRIVATE ${TEST_WARNINGS})
gtest_discover_tests(unit_tests DISCOVERY_TIMEOUT 30)
