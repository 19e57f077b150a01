# Delay-loaded system libraries for Kestrovar.exe.
#
# The launcher starts hidden and spends most of its life idle; libraries it needs only for a
# rare command (the file dialog, COM for the data file and shortcuts, version resources of
# themes, the multimedia timer) are loaded at their first call instead of at process start.
# Each loaded library costs start time and private memory (its written data pages, and under
# Wine the Unix libraries behind it: the print spooler pulled in by the file dialog library
# loads the printing, Kerberos and TLS libraries).
#
# For each library an import library in delay-load form is made from the toolchain's own
# import library (its export names) with dlltool; linked before the ordinary import library,
# it takes every symbol the program uses. The helper that loads a library at the first call
# (__delayLoadHelper2) comes with the MinGW-w64 runtime.
#
# Sets KV_DELAY_IMPORT_LIBS (empty where this cannot be done: then the libraries load at start
# as before). 64-bit only: the 32-bit export names carry stdcall decorations that the plain
# export list below does not reproduce.

set(KV_DELAY_IMPORT_LIBS "")
set(KV_DELAY_LOADED comdlg32 ole32 version winmm)

if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    get_filename_component(kv_compiler_dir ${CMAKE_CXX_COMPILER} DIRECTORY)
    if(CMAKE_DLLTOOL)
        set(kv_dlltool ${CMAKE_DLLTOOL})
    else()
        find_program(kv_dlltool NAMES ${KV_TRIPLE}-dlltool dlltool HINTS ${kv_compiler_dir})
    endif()
    find_program(kv_nm NAMES ${KV_TRIPLE}-nm nm HINTS ${kv_compiler_dir})
    if(CMAKE_NM)
        set(kv_nm ${CMAKE_NM})
    endif()

    set(kv_delay_dir ${CMAKE_BINARY_DIR}/delay-imports)
    file(MAKE_DIRECTORY ${kv_delay_dir})
    foreach(kv_lib ${KV_DELAY_LOADED})
        if(NOT kv_dlltool OR NOT kv_nm)
            break()
        endif()
        execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=lib${kv_lib}.a
                        OUTPUT_VARIABLE kv_import OUTPUT_STRIP_TRAILING_WHITESPACE)
        if(NOT EXISTS "${kv_import}")
            continue()
        endif()
        execute_process(COMMAND ${kv_dlltool} --identify ${kv_import}
                        OUTPUT_VARIABLE kv_dll OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE kv_identified)
        execute_process(COMMAND ${kv_nm} ${kv_import} OUTPUT_VARIABLE kv_symbols ERROR_QUIET)
        string(REGEX MATCHALL "__imp_[A-Za-z0-9_]+" kv_exports "${kv_symbols}")
        list(TRANSFORM kv_exports REPLACE "^__imp_" "")
        list(REMOVE_DUPLICATES kv_exports)
        if(NOT kv_identified EQUAL 0 OR NOT kv_dll OR NOT kv_exports)
            continue()
        endif()
        string(REGEX REPLACE "[\r\n].*" "" kv_dll "${kv_dll}")  # the first of several names
        list(JOIN kv_exports "\n" kv_export_lines)
        set(kv_def ${kv_delay_dir}/${kv_lib}.def)
        set(kv_out ${kv_delay_dir}/libkv_delay_${kv_lib}.a)
        file(WRITE ${kv_def} "LIBRARY ${kv_dll}\nEXPORTS\n${kv_export_lines}\n")
        execute_process(COMMAND ${kv_dlltool} --input-def ${kv_def} --output-delaylib ${kv_out}
                        RESULT_VARIABLE kv_made OUTPUT_QUIET ERROR_QUIET)
        if(kv_made EQUAL 0 AND EXISTS ${kv_out})
            list(APPEND KV_DELAY_IMPORT_LIBS ${kv_out})
        endif()
    endforeach()
endif()
