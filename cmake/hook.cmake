# Kestrovar.dll, the pointer-hook library, and (with the tests) its test build.
#  - bin/Kestrovar.dll ships. It exports exactly the five operations of hook/Kestrovar.def.
#  - bin/hooktest/Kestrovar.dll is the same source with KV_HOOK_TEST_BUILD: its hidden window also
#    takes requests to drop its hook and shows its counters. Tests stage it over the shipped one;
#    scripts/stage-app and scripts/dist take bin/Kestrovar.dll only.
set(KV_HOOK_SOURCES ${CMAKE_SOURCE_DIR}/hook/hook.cpp ${CMAKE_SOURCE_DIR}/hook/hook.rc
                    ${CMAKE_SOURCE_DIR}/hook/Kestrovar.def ${CMAKE_SOURCE_DIR}/src/framework/system_library.cpp)

function(kv_hook_library target)
    add_library(${target} SHARED ${KV_HOOK_SOURCES})
    set_target_properties(${target} PROPERTIES OUTPUT_NAME Kestrovar PREFIX "")
    target_include_directories(${target} PRIVATE ${CMAKE_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/src)
    target_link_libraries(${target} PRIVATE user32 kernel32 ${KV_STATIC_LINK})
    target_link_options(${target} PRIVATE ${KV_IMAGE_LINK_OPTIONS})
endfunction()

kv_hook_library(KestrovarHook)

if(KV_BUILD_TESTS)
    kv_hook_library(KestrovarHookTest)
    target_compile_definitions(KestrovarHookTest PRIVATE KV_HOOK_TEST_BUILD)
    set_target_properties(KestrovarHookTest PROPERTIES
        RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin/hooktest
        LIBRARY_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin/hooktest
        ARCHIVE_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/hooktest)

    # The export tables of the shipped library of this tree, of the i686 tree when it is built,
    # and of the test build.
    add_test(NAME hook_exports COMMAND bash ${CMAKE_SOURCE_DIR}/tests/hook/exports_test.sh
        ${CMAKE_BINARY_DIR}/bin/Kestrovar.dll ${CMAKE_BINARY_DIR}/../win32/bin/Kestrovar.dll
        ${CMAKE_BINARY_DIR}/bin/hooktest/Kestrovar.dll)

    if(TARGET hook_notices_test)
        add_dependencies(hook_notices_test KestrovarHookTest)
    endif()
    if(TARGET hook_watch_bench)
        target_include_directories(hook_watch_bench PRIVATE ${CMAKE_SOURCE_DIR})
    endif()
endif()
