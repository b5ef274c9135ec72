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

# The launcher's objects, built on their own so that they can be checked before the link.
add_library(launcher_objects OBJECT ${LAUNCHER_SOURCES})
target_include_directories(launcher_objects PRIVATE launcher platform)
# No runtime: nothing may call memset, memcpy or a stack probe behind the code's back, and no
# unwind tables, stack protector, timestamps or build paths go into the image. Data is aligned
# as the ABI needs, not to cache lines, so that the constant texts and InstallPath pack tightly.
target_compile_options(launcher_objects PRIVATE ${LAUNCHER_WARNINGS} ${LAUNCHER_LANGUAGE} -Os
    -malign-data=abi -ffreestanding -fno-builtin -fno-tree-loop-distribute-patterns
    -fno-asynchronous-unwind-tables -fno-unwind-tables -fno-stack-protector -fno-stack-check
    -mno-stack-arg-probe -fno-ident -ffile-prefix-map=${CMAKE_SOURCE_DIR}=.)

add_executable(launch_exe WIN32 $<TARGET_OBJECTS:launcher_objects>)
# The link does not happen when an object needs a static constructor (with no C runtime nothing
# runs before the entry) or anything from outside but the Windows operations' address table.
add_custom_command(TARGET launch_exe PRE_LINK
    COMMAND ${CMAKE_SOURCE_DIR}/tests/image/check_objects.sh ${CMAKE_OBJDUMP} ${CMAKE_NM}
            $<TARGET_OBJECTS:launcher_objects>
    COMMAND_EXPAND_LISTS VERBATIM)
set_target_properties(launch_exe PROPERTIES OUTPUT_NAME LAUNCH SUFFIX .EXE
    RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
# An entry symbol that is not found is only a warning to ld: --fatal-warnings makes it an error.
target_link_options(launch_exe PRIVATE -nostdlib -nostartfiles -s -Wl,--fatal-warnings
    -Wl,--entry,${LAUNCH_ENTRY} ${LAUNCH_SUBSYSTEM} -Wl,--nxcompat -Wl,--dynamicbase
    -Wl,--no-insert-timestamp -Wl,--build-id=none -Wl,-T,${CMAKE_SOURCE_DIR}/cmake/launch_image.ld)
set_property(TARGET launch_exe APPEND PROPERTY
    LINK_DEPENDS ${CMAKE_SOURCE_DIR}/cmake/launch_image.ld)
target_link_libraries(launch_exe PRIVATE kernel32 advapi32 user32)

# For people who put LAUNCH.EXE into their own packaging: cmake --install puts it into bin/.
install(TARGETS launch_exe RUNTIME DESTINATION bin)

# The image's rules, as llvm-readobj reads them.
find_program(LLVM_READOBJ NAMES llvm-readobj-14 llvm-readobj REQUIRED)
add_test(NAME image_rules
    COMMAND ${CMAKE_SOURCE_DIR}/tests/image/check_image.sh ${LLVM_READOBJ} $<TARGET_FILE:launch_exe>
            ${LAUNCH_ARCH})
# The check of the objects refuses what it must: a static constructor, a call through a stub.
add_test(NAME image_objects_refused
    COMMAND ${CMAKE_SOURCE_DIR}/tests/image/check_objects_refuses.sh ${CMAKE_CXX_COMPILER}
            ${CMAKE_OBJDUMP} ${CMAKE_NM} $<TARGET_OBJECTS:launcher_objects>
    COMMAND_EXPAND_LISTS)
# Built again in a fresh tree, the image is the same to the byte.
add_test(NAME image_reproducible
    COMMAND ${CMAKE_SOURCE_DIR}/tests/image/check_reproducible.sh ${CMAKE_SOURCE_DIR}
            ${CMAKE_TOOLCHAIN_FILE} $<TARGET_FILE:launch_exe>)

# End to end under Wine, in a private prefix of this build: the image of this build with stand-ins
# and a driver built for the same architecture, so that they see the registry view it sees.
add_executable(standin tests/wine/standin.c)
add_executable(scenarios tests/wine/scenarios.c tests/wine/wine_helpers.c)
add_executable(demo tests/wine/demo.c tests/wine/wine_helpers.c)
foreach(helper standin scenarios demo)
    set_target_properties(${helper} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
    target_compile_options(${helper} PRIVATE ${TEST_WARNINGS} -O2)
    target_link_options(${helper} PRIVATE -static-libgcc)
endforeach()
foreach(helper scenarios demo)
    target_link_libraries(${helper} PRIVATE advapi32 user32 gdi32)
endforeach()
# A scenario that leaves out its trailing fields has them zero: any code page.
target_compile_options(scenarios PRIVATE -Wno-missing-field-initializers)

set(WINE_WORK ${CMAKE_BINARY_DIR}/wine)
add_test(NAME wine.setup COMMAND ${CMAKE_SOURCE_DIR}/tests/wine/prefix.sh setup ${WINE_WORK})
add_test(NAME wine.teardown COMMAND ${CMAKE_SOURCE_DIR}/tests/wine/prefix.sh teardown ${WINE_WORK})
set_tests_properties(wine.setup PROPERTIES FIXTURES_SETUP wine TIMEOUT 300 LABELS wine)
set_tests_properties(wine.teardown PROPERTIES FIXTURES_CLEANUP wine LABELS wine)
# Each group in the code page of the prefix's locale; the tail group and the double-byte group
# again under code page 932 (Japanese).
foreach(run decision:C.UTF-8 tail:C.UTF-8 registry:C.UTF-8 folders:C.UTF-8 tail:ja_JP.UTF-8
    codepage:ja_JP.UTF-8)
    string(REPLACE ":" ";" run ${run})
    list(GET run 0 group)
    list(GET run 1 locale)
    set(name wine.${group})
    if(NOT locale STREQUAL "C.UTF-8")
        set(name wine.${group}.cp932)
    endif()
    add_test(NAME ${name}
        COMMAND env -u LC_ALL LANG=${locale} ${CMAKE_SOURCE_DIR}/tests/wine/run.sh ${WINE_WORK}
                ${CMAKE_BINARY_DIR} scenarios ${group})
    set_tests_properties(${name} PROPERTIES FIXTURES_REQUIRED wine RESOURCE_LOCK wine_prefix
        TIMEOUT 600 LABELS wine)
endforeach()
# Every call the launcher makes in one launch, from Wine's relay trace: in code page 1252, where
# the launcher asks GetCPInfo about the code page.
add_test(NAME wine.calls
    COMMAND env -u LC_ALL LANG=C.UTF-8 ${CMAKE_SOURCE_DIR}/tests/wine/calls.sh ${WINE_WORK}
            ${CMAKE_BINARY_DIR})
set_tests_properties(wine.calls PROPERTIES FIXTURES_REQUIRED wine RESOURCE_LOCK wine_prefix
    TIMEOUT 300 LABELS wine)

# The release step, on the product: dist/ unsigned and signed with throwaway certificates, what
# it refuses, and the signed product run end to end.
if(CMAKE_SYSTEM_PROCESSOR STREQUAL "i686")
    set(RELEASE_WORK ${CMAKE_BINARY_DIR}/release)
    add_test(NAME release.certificates
        COMMAND ${CMAKE_SOURCE_DIR}/tests/release/make_certificates.sh ${RELEASE_WORK}/certificates)
    set_tests_properties(release.certificates PROPERTIES FIXTURES_SETUP certificates)
    add_test(NAME release.unsigned
        COMMAND ${CMAKE_SOURCE_DIR}/tests/release/check_release.sh unsigned ${CMAKE_SOURCE_DIR}
                ${RELEASE_WORK}/unsigned $<TARGET_FILE:launch_exe> ${LLVM_READOBJ})
    add_test(NAME release.signed
        COMMAND ${CMAKE_SOURCE_DIR}/tests/release/check_release.sh signed ${CMAKE_SOURCE_DIR}
                ${RELEASE_WORK}/signing ${RELEASE_WORK}/certificates ${LLVM_READOBJ})
    add_test(NAME release.refused
        COMMAND ${CMAKE_SOURCE_DIR}/tests/release/check_release.sh refused ${CMAKE_SOURCE_DIR}
                ${RELEASE_WORK}/refusing ${RELEASE_WORK}/certificates)
    set_tests_properties(release.signed release.refused PROPERTIES FIXTURES_REQUIRED certificates)
    set_tests_properties(release.signed PROPERTIES FIXTURES_SETUP signed_release)
    set_tests_properties(release.unsigned release.signed release.refused PROPERTIES
        TIMEOUT 300 LABELS release)
    # The signed product beside this build's stand-ins and driver, through the main-program
    # scenario.
    set(SIGNED_RUN ${RELEASE_WORK}/signed-run)
    add_test(NAME wine.signed
        COMMAND sh -c "mkdir -p '${SIGNED_RUN}' && cp '${RELEASE_WORK}/signing/signed/LAUNCH.EXE' \
                '${CMAKE_BINARY_DIR}/standin.exe' '${CMAKE_BINARY_DIR}/scenarios.exe' '${SIGNED_RUN}' && \
                exec env -u LC_ALL LANG=C.UTF-8 '${CMAKE_SOURCE_DIR}/tests/wine/run.sh' '${WINE_WORK}' \
                '${SIGNED_RUN}' scenarios 'decision/main program'")
    set_tests_properties(wine.signed PROPERTIES FIXTURES_REQUIRED "wine;signed_release"
        RESOURCE_LOCK wine_prefix TIMEOUT 300 LABELS "wine;release")
endif()
