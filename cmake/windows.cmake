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

set(KV_RESOURCES ${CMAKE_SOURCE_DIR}/src/res/kestrovar.rc)
set_source_files_properties(${KV_RESOURCES} PROPERTIES
    OBJECT_DEPENDS "${CMAKE_SOURCE_DIR}/src/res/resource.h;${CMAKE_SOURCE_DIR}/src/res/kestrovar.manifest")

add_executable(Kestrovar WIN32 ${KV_ENTRY} ${KV_RESOURCES})
target_link_libraries(Kestrovar PRIVATE kvwin ${KV_STATIC_LINK})

add_library(KestrovarHook SHARED ${CMAKE_SOURCE_DIR}/hook/hook.cpp ${CMAKE_SOURCE_DIR}/hook/hook.rc
                                 ${CMAKE_SOURCE_DIR}/hook/Kestrovar.def)
set_target_properties(KestrovarHook PROPERTIES OUTPUT_NAME Kestrovar PREFIX "")
target_link_libraries(KestrovarHook PRIVATE user32 kernel32 ${KV_STATIC_LINK})

if(KV_BUILD_TESTS)
    include(cmake/wine-tests.cmake)
endif()
