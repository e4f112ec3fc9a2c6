# Finds Squirrel 3.1 with its standard library.
#
# Prefers a standalone installation (squirrel.h, sqstdio.h, sqstdaux.h with the
# libraries squirrel/squirrel3 and sqstdlib/sqstdlib3) and falls back to the copy
# that Debian's Code::Blocks SDK ships (headers under codeblocks/scripting/include,
# everything exported by libcodeblocks).
#
# Defines the imported target Squirrel::Squirrel and Squirrel_FOUND, and
# Squirrel_RUNTIME_LIBRARY when the library is to be loaded at run time.

find_path(Squirrel_INCLUDE_DIR NAMES squirrel.h sqstdio.h sqstdaux.h
          PATH_SUFFIXES squirrel squirrel3 NO_CMAKE_SYSTEM_PATH)
find_path(Squirrel_INCLUDE_DIR NAMES squirrel.h sqstdio.h sqstdaux.h
          PATH_SUFFIXES squirrel squirrel3)
find_library(Squirrel_LIBRARY NAMES squirrel squirrel3)
find_library(Squirrel_STDLIB NAMES sqstdlib sqstdlib3)

set(Squirrel_FLAVOUR "standalone")
if(NOT Squirrel_INCLUDE_DIR OR NOT Squirrel_LIBRARY OR NOT Squirrel_STDLIB)
    unset(Squirrel_INCLUDE_DIR CACHE)
    find_path(Squirrel_INCLUDE_DIR NAMES squirrel.h
              PATHS /usr/include /usr/local/include
              PATH_SUFFIXES codeblocks/scripting/include NO_DEFAULT_PATH)
    find_library(Squirrel_LIBRARY NAMES codeblocks PATHS /usr/lib /usr/local/lib
                 PATH_SUFFIXES ${CMAKE_LIBRARY_ARCHITECTURE})
    set(Squirrel_STDLIB "")
    set(Squirrel_FLAVOUR "Code::Blocks SDK")
    # That library also carries wxWidgets and GTK, and loading it takes some
    # 60 ms: the program loads it by its soname when a script first runs
    # (Squirrel_RUNTIME_LIBRARY) instead of linking it.
    if(Squirrel_LIBRARY AND CMAKE_OBJDUMP)
        execute_process(COMMAND ${CMAKE_OBJDUMP} -p ${Squirrel_LIBRARY}
                        OUTPUT_VARIABLE _sq_dump ERROR_QUIET)
        if(_sq_dump MATCHES "SONAME +([^ \n]+)")
            set(Squirrel_RUNTIME_LIBRARY ${CMAKE_MATCH_1})
        endif()
    endif()
endif()

if(Squirrel_INCLUDE_DIR AND EXISTS "${Squirrel_INCLUDE_DIR}/squirrel.h")
    file(STRINGS "${Squirrel_INCLUDE_DIR}/squirrel.h" _sq_version_line
         REGEX "#define[ \t]+SQUIRREL_VERSION_NUMBER[ \t]+[0-9]+")
    string(REGEX REPLACE ".*SQUIRREL_VERSION_NUMBER[ \t]+([0-9]+).*" "\\1"
           Squirrel_VERSION_NUMBER "${_sq_version_line}")
endif()

include(FindPackageHandleStandardArgs)
find_package_handle_standard_args(Squirrel
    REQUIRED_VARS Squirrel_INCLUDE_DIR Squirrel_LIBRARY Squirrel_VERSION_NUMBER)

if(Squirrel_FOUND AND NOT Squirrel_VERSION_NUMBER EQUAL 310)
    message(FATAL_ERROR "Squirrel 3.1 is required, but ${Squirrel_INCLUDE_DIR}/squirrel.h "
                        "reports version ${Squirrel_VERSION_NUMBER}.")
endif()

if(Squirrel_FOUND AND NOT TARGET Squirrel::Squirrel)
    message(STATUS "Squirrel 3.1 (${Squirrel_FLAVOUR}): ${Squirrel_INCLUDE_DIR}")
    add_library(Squirrel::Squirrel INTERFACE IMPORTED)
    set_target_properties(Squirrel::Squirrel PROPERTIES
        INTERFACE_INCLUDE_DIRECTORIES "${Squirrel_INCLUDE_DIR}")
    if(Squirrel_RUNTIME_LIBRARY)
        message(STATUS "Squirrel 3.1 is loaded at run time from ${Squirrel_RUNTIME_LIBRARY}")
        set_target_properties(Squirrel::Squirrel PROPERTIES
            INTERFACE_LINK_LIBRARIES "${CMAKE_DL_LIBS}")
    else()
        set_target_properties(Squirrel::Squirrel PROPERTIES
            INTERFACE_LINK_LIBRARIES "${Squirrel_LIBRARY};${Squirrel_STDLIB}")
    endif()
endif()
mark_as_advanced(Squirrel_INCLUDE_DIR Squirrel_LIBRARY Squirrel_STDLIB)
