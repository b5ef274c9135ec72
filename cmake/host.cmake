# Host builds: the launcher's logic against the simulated Windows machine, with unit tests.
find_package(GTest REQUIRED)
include(GoogleTest)

add_library(launcher STATIC ${LAUNCHER_SOURCES})
target_include_directories(launcher PUBLIC launcher platform)
target_compile_options(launcher PRIVATE ${LAUNCHER_WARNINGS})

add_library(simulated_windows STATIC platform/simulated/simulated_windows.cpp)
target_include_directories(simulated_windows PUBLIC platform platform/simulated)
target_compile_options(simulated_windows PRIVATE ${TEST_WARNINGS})

add_executable(unit_tests
    tests/unit/launch_decision_test.cpp
    tests/unit/install_path_test.cpp
    tests/unit/change_directory_test.cpp
    tests/unit/argument_tail_test.cpp
    tests/unit/entry_test.cpp
    tests/unit/simulated_windows_test.cpp)
target_link_libraries(unit_tests PRIVATE launcher simulated_windows GTest::gtest_main)
target_compile_options(unit_tests PRIVATE ${TEST_WARNINGS})
gtest_discover_tests(unit_tests DISCOVERY_TIMEOUT 30)
