# Tests of the Windows tree. Every test runs under Wine (scripts/wine-run is the emulator).
#  - tests/win/*_test.cpp: one GoogleTest program each, linked with the program's code and resources.
#  - tests/win/tools/*.cpp: helper programs the tests use (each becomes <name>.exe, or <name>.dll
#    when it exports a function).
#  - tests/e2e/*_test.sh and tests/robustness/*_test.sh: scripts that start the real program
#    in a Wine desktop on a private Xvfb; those marked so run again under code page 1252.
#  - the native unit tests and the include-layer check, when KV_NATIVE_UNIT_TESTS names the
#    unit tests' binary, so that one ctest run covers every layer.
# The x86_64 and the i686 trees register the same tests. Where this machine's Wine cannot run
# the tree's programs, they exit with 77 and ctest counts them as skipped (scripts/wine-arch).

set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(KV_GOOGLETEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources, built for the Windows tests")
add_subdirectory(${KV_GOOGLETEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

set(KV_WINE_RUN ${CMAKE_SOURCE_DIR}/scripts/wine-run)
set(KV_SKIPPED 77)
set(KV_TEST_ENV
    "KV_BIN=${CMAKE_BINARY_DIR}/bin"
    "KV_BUILD=${CMAKE_BINARY_DIR}/.."
    "KV_SOURCE=${CMAKE_SOURCE_DIR}"
    "KV_TEST_STATE=${CMAKE_BINARY_DIR}/test-env")

# One Xvfb and one persistent wineserver serve all in-process Wine tests.
add_test(NAME wine_env_start COMMAND bash ${CMAKE_SOURCE_DIR}/scripts/test-env start)
add_test(NAME wine_env_stop COMMAND bash ${CMAKE_SOURCE_DIR}/scripts/test-env stop)
set_tests_properties(wine_env_start PROPERTIES FIXTURES_SETUP wine_env ENVIRONMENT "${KV_TEST_ENV}")
set_tests_properties(wine_env_stop PROPERTIES FIXTURES_CLEANUP wine_env ENVIRONMENT "${KV_TEST_ENV}")

file(GLOB KV_TEST_TOOLS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/win/tools/*.cpp)
foreach(src ${KV_TEST_TOOLS})
    get_filename_component(name ${src} NAME_WE)
    # A tool that exports a function is a library (<name>.dll) that the probe loads into a process.
    file(STRINGS ${src} exports REGEX "__declspec\\(dllexport\\)")
    if(exports)
        add_library(${name} SHARED ${src})
        set_target_properties(${name} PROPERTIES PREFIX "")
        target_link_libraries(${name} PRIVATE user32 ${KV_STATIC_LINK})
        # Exported under their plain names, also where the i686 compiler decorates a stdcall name.
        target_link_options(${name} PRIVATE -Wl,--kill-at)
        continue()
    endif()
    file(GLOB extra_rc ${CMAKE_SOURCE_DIR}/tests/win/tools/${name}.rc)
    add_executable(${name} ${src} ${extra_rc})
    target_link_libraries(${name} PRIVATE kvwin ${KV_STATIC_LINK})
    # The tools that stand in for a user's window programs are window programs: as console
    # programs, each start would open a console window over the desktop and take the keyboard.
    file(STRINGS ${src} window_entry REGEX "WinMain\\(")
    if(window_entry)
        set_target_properties(${name} PROPERTIES WIN32_EXECUTABLE TRUE)
    endif()
endforeach()

# tests/bench/*.cpp: benchmark programs with the program's resources, run by scripts/bench
# (make bench), never by ctest.
file(GLOB KV_BENCHES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/bench/*.cpp)
foreach(src ${KV_BENCHES})
    get_filename_component(name ${src} NAME_WE)
    add_executable(${name} ${src} ${KV_RESOURCES})
    target_link_libraries(${name} PRIVATE kvwintestsupport ${KV_STATIC_LINK})
endforeach()

file(GLOB KV_WIN_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/win/*_test.cpp)
file(GLOB KV_WIN_TEST_SUPPORT CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/win/support/*.cpp)
add_library(kvwintestsupport STATIC ${KV_WIN_TEST_SUPPORT} ${CMAKE_SOURCE_DIR}/tests/win/support/empty.c)
target_include_directories(kvwintestsupport PUBLIC ${CMAKE_SOURCE_DIR}/tests/win)
target_link_libraries(kvwintestsupport PUBLIC kvwin gtest)
foreach(src ${KV_WIN_TESTS})
    get_filename_component(name ${src} NAME_WE)
    add_executable(${name} ${src} ${KV_RESOURCES})
    target_link_libraries(${name} PRIVATE kvwintestsupport gtest_main ${KV_STATIC_LINK})
    add_test(NAME win_${name} COMMAND ${name})
    set_tests_properties(win_${name} PROPERTIES FIXTURES_REQUIRED wine_env
        ENVIRONMENT "${KV_TEST_ENV};KV_EXPECT_ACP=932" TIMEOUT 300 SKIP_RETURN_CODE ${KV_SKIPPED}
        RESOURCE_LOCK wine_desktop)
    # Again under code page 1252: Wine takes the ANSI code page from the Unix locale, and LC_ALL
    # outranks the LANG that the Wine scripts set. The programs share one desktop, whose focus
    # the dialog tests need, and the prefix's registry keys and files: they run one at a time.
    add_test(NAME win_${name}_cp1252 COMMAND ${name})
    set_tests_properties(win_${name}_cp1252 PROPERTIES FIXTURES_REQUIRED wine_env
        ENVIRONMENT "${KV_TEST_ENV};LANG=en_US.UTF-8;LC_ALL=en_US.UTF-8;KV_EXPECT_ACP=1252" TIMEOUT 300
        SKIP_RETURN_CODE ${KV_SKIPPED} RESOURCE_LOCK wine_desktop)
endforeach()

foreach(layer e2e robustness)
    file(GLOB scripts CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/${layer}/*_test.sh)
    foreach(script ${scripts})
        get_filename_component(name ${script} NAME_WE)
        # A scenario that says so runs a second time with the ANSI code page of a Western system.
        file(STRINGS ${script} western REGEX "^# Also runs under code page 1252")
        set(code_pages 932)
        if(western)
            list(APPEND code_pages 1252)
        endif()
        foreach(code_page ${code_pages})
            set(test ${layer}_${name})
            if(NOT code_page EQUAL 932)
                set(test ${test}_cp${code_page})
            endif()
            add_test(NAME ${test}
                COMMAND bash ${CMAKE_SOURCE_DIR}/scripts/wine-arch gate $<TARGET_FILE:Kestrovar> bash ${script})
            set_tests_properties(${test} PROPERTIES ENVIRONMENT "${KV_TEST_ENV};KV_CODE_PAGE=${code_page}"
                TIMEOUT 600 LABELS ${layer} RESOURCE_LOCK cpu_heavy_${layer} SKIP_RETURN_CODE ${KV_SKIPPED})
        endforeach()
    endforeach()
endforeach()

if(KV_NATIVE_UNIT_TESTS)
    add_test(NAME unit_tests COMMAND ${KV_NATIVE_UNIT_TESTS})
    # Needs no build, so it runs once too: no include of src/ runs up the folder layers.
    add_test(NAME include_layers COMMAND bash ${CMAKE_SOURCE_DIR}/tests/layers/include_layers_test.sh ${CMAKE_SOURCE_DIR})
endif()
