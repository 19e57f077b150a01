# Windows tree: Kestrovar.exe, Kestrovar.dll, and the tests that run under Wine.
option(KV_BUILD_TESTS "Build the tests that run under Wine" ON)

add_compile_definitions(_WIN32_WINNT=0x0501 WINVER=0x0501 _WIN32_IE=0x0600 NOMINMAX STRICT)
set(CMAKE_RC_FLAGS "${CMAKE_RC_FLAGS} -c 65001")
enable_language(RC)

set(KV_WIN_LIBS comctl32 shell32 shlwapi ole32 uuid psapi version gdi32 winmm comdlg32 user32 kernel32)
set(KV_STATIC_LINK -static -static-libgcc -static-libstdc++)

set(KV_ENTRY ${CMAKE_SOURCE_DIR}/src/launcher/main_win.cpp)
list(REMOVE_ITEM KV_WIN_SOURCES ${KV_ENTRY})

add_library(kvwin STATIC ${KV_WIN_SOURCES})
target_link_libraries(kvwin PUBLIC kvcore ${KV_WIN_LIBS})

# The version is written once, by CMake, into a header and the manifest that both images' resources read.
set(KV_GENERATED ${CMAKE_BINARY_DIR}/generated)
configure_file(${CMAKE_SOURCE_DIR}/cmake/version.h.in ${KV_GENERATED}/kv_version.h @ONLY)
configure_file(${CMAKE_SOURCE_DIR}/src/res/kestrovar.manifest.in ${KV_GENERATED}/kestrovar.manifest @ONLY)
set(CMAKE_RC_FLAGS "${CMAKE_RC_FLAGS} -I ${KV_GENERATED} -I ${CMAKE_SOURCE_DIR}")

set(KV_RESOURCES ${CMAKE_SOURCE_DIR}/src/res/kestrovar.rc)
set_source_files_properties(${KV_RESOURCES} PROPERTIES
    OBJECT_DEPENDS "${CMAKE_SOURCE_DIR}/src/res/resource.h;${KV_GENERATED}/kestrovar.manifest;${KV_GENERATED}/kv_version.h")

# Sections aligned in the file as in memory let Wine map the images from the file instead of
# copying them into private memory (about 0.8 MB for the launcher).
set(KV_IMAGE_LINK_OPTIONS -Wl,--file-alignment,0x1000)
include(cmake/delay-imports.cmake)

add_executable(Kestrovar WIN32 ${KV_ENTRY} ${KV_RESOURCES})
# The delay-load import libraries come before the ordinary ones, so they take the symbols.
target_link_libraries(Kestrovar PRIVATE kvwin ${KV_DELAY_IMPORT_LIBS} ${KV_STATIC_LINK})
target_link_options(Kestrovar PRIVATE ${KV_IMAGE_LINK_OPTIONS})

if(KV_BUILD_TESTS)
    include(cmake/wine-tests.cmake)
endif()
include(cmake/hook.cmake)

# The shipped images call no ANSI text function of the system.
add_test(NAME text_imports COMMAND bash ${CMAKE_SOURCE_DIR}/tests/imports/text_imports_test.sh ${KV_TRIPLE}
    $<TARGET_FILE:Kestrovar> $<TARGET_FILE:KestrovarHook>)
