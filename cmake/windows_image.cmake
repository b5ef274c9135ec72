# Windows builds: LAUNCH.EXE itself, with no C runtime, and the checks of the built image.

if(CMAKE_SYSTEM_PROCESSOR STREQUAL "i686")
    # __stdcall decorates the entry's name on i686. The product is for Windows 4.0 and later.
    set(LAUNCH_ENTRY _LauncherEntry@0)
    set(LAUNCH_SUBSYSTEM -Wl,--subsystem,windows:4.0 -Wl,--major-os-version,4
        -Wl,--minor-os-version,0)
    set(LAUNCH_ARCH i386)
else()
    set(LAUNCH_ENTRY LauncherEntry)
    set(LAUNCH_SUBSYSTEM -Wl,--subsystem,windows -Wl,--high-entropy-va)
    set(LAUNCH_ARCH x86-64)
endif()

add_executable(launch_exe WIN32 ${LAUNCHER_SOURCES})
set_target_properties(launch_exe PROPERTIES OUTPUT_NAME LAUNCH SUFFIX .EXE
    RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
target_include_directories(launch_exe PRIVATE launcher platform)
# No runtime: nothing may call memset, memcpy or a stack probe behind the code's back, and no
# unwind tables, stack protector, timestamps or build paths go into the image.
target_compile_options(launch_exe PRIVATE ${LAUNCHER_WARNINGS} -Os -ffreestanding -fno-builtin
    -fno-tree-loop-distribute-patterns -fno-asynchronous-unwind-tables -fno-unwind-tables
    -fno-stack-protector -fno-stack-check -mno-stack-arg-probe -fno-ident
    -ffile-prefix-map=${CMAKE_SOURCE_DIR}=.)
# An entry symbol that is not found is only a warning to ld: --fatal-warnings makes it an error.
target_link_options(launch_exe PRIVATE -nostdlib -nostartfiles -s -Wl,--fatal-warnings
    -Wl,--entry,${LAUNCH_ENTRY} ${LAUNCH_SUBSYSTEM} -Wl,--nxcompat -Wl,--dynamicbase
    -Wl,--no-insert-timestamp -Wl,--build-id=none)
target_link_libraries(launch_exe PRIVATE kernel32 advapi32 user32)

# The image's rules, as llvm-readobj reads them.
find_program(LLVM_READOBJ NAMES llvm-readobj-14 llvm-readobj REQUIRED)
add_test(NAME image_rules
    COMMAND ${CMAKE_SOURCE_DIR}/tests/image/check_image.sh ${LLVM_READOBJ} $<TARGET_FILE:launch_exe>
            ${LAUNCH_ARCH})
# Built again in a fresh tree, the image is the same to the byte.
add_test(NAME image_reproducible
    COMMAND ${CMAKE_SOURCE_DIR}/tests/image/check_reproducible.sh ${CMAKE_SOURCE_DIR}
            ${CMAKE_TOOLCHAIN_FILE} $<TARGET_FILE:launch_exe>)
