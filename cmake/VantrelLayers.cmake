# Each layer of the program is one library target. Its headers are reachable only
# through an include root of its own, populated here with links to the layer's
# header files, so a target sees exactly the headers of the layers it links.
# A file that includes a header of a layer above it therefore fails to compile.

# vantrel_layer_headers(TARGET <target> DIRS <dir>...)
# Exposes the headers directly inside each DIR (not its subfolders) to the
# target and everything that links it, as "<dir relative to src/ or tools/>/<file>":
# src/platform/sim/Device.h is included as "platform/sim/Device.h".
function(vantrel_layer_headers)
    cmake_parse_arguments(ARG "" "TARGET" "DIRS" ${ARGN})
    set(root "${CMAKE_BINARY_DIR}/include/${ARG_TARGET}")
    file(GLOB_RECURSE stale LIST_DIRECTORIES false "${root}/*")
    foreach(link IN LISTS stale)
        if(IS_SYMLINK "${link}")
            file(REMOVE "${link}")
        endif()
    endforeach()
    foreach(dir IN LISTS ARG_DIRS)
        get_filename_component(dir "${dir}" ABSOLUTE)
        file(RELATIVE_PATH prefix "${PROJECT_SOURCE_DIR}/src" "${dir}")
        if(prefix MATCHES "^\\.\\.")
            file(RELATIVE_PATH prefix "${PROJECT_SOURCE_DIR}/tools" "${dir}")
        endif()
        file(MAKE_DIRECTORY "${root}/${prefix}")
        file(GLOB headers CONFIGURE_DEPENDS "${dir}/*.h")
        foreach(header IN LISTS headers)
            get_filename_component(name "${header}" NAME)
            file(CREATE_LINK "${header}" "${root}/${prefix}/${name}" SYMBOLIC)
        endforeach()
    endforeach()
    get_target_property(kind ${ARG_TARGET} TYPE)
    if(kind STREQUAL "INTERFACE_LIBRARY")
        target_include_directories(${ARG_TARGET} INTERFACE "${root}")
    else()
        target_include_directories(${ARG_TARGET} PUBLIC "${root}")
    endif()
endfunction()

# vantrel_layer_sources(<var> <dir>...): the .cpp files directly inside each dir.
function(vantrel_layer_sources var)
    set(all "")
    foreach(dir IN LISTS ARGN)
        file(GLOB sources CONFIGURE_DEPENDS "${dir}/*.cpp")
        list(APPEND all ${sources})
    endforeach()
    set(${var} ${all} PARENT_SCOPE)
endfunction()

# vantrel_embed_file(<var> TARGET <target> FILE <path> SYMBOL <name> NAMESPACE <ns>
#                    HEADER <prefix/name.h> [DEPENDS <target>])
# Turns a file into a source file holding it as a byte array (its path is
# stored in <var>, to be compiled into TARGET), reachable through a generated
# header in TARGET's include root that declares
# "std::span<const std::byte> <ns>::<name>()".
function(vantrel_embed_file var)
    cmake_parse_arguments(ARG "" "TARGET;FILE;SYMBOL;NAMESPACE;HEADER" "DEPENDS" ${ARGN})
    set(out_cpp "${CMAKE_CURRENT_BINARY_DIR}/embedded/${ARG_SYMBOL}.cpp")
    set(out_header "${CMAKE_BINARY_DIR}/include/${ARG_TARGET}/${ARG_HEADER}")
    add_custom_command(
        OUTPUT "${out_cpp}"
        COMMAND ${CMAKE_COMMAND} -DINPUT=${ARG_FILE} -DOUTPUT=${out_cpp}
                -DSYMBOL=${ARG_SYMBOL} -DNAMESPACE=${ARG_NAMESPACE}
                -P "${PROJECT_SOURCE_DIR}/cmake/EmbedFile.cmake"
        DEPENDS "${ARG_FILE}" "${PROJECT_SOURCE_DIR}/cmake/EmbedFile.cmake" ${ARG_DEPENDS}
        COMMENT "Embedding ${ARG_FILE}"
        VERBATIM)
    get_filename_component(header_dir "${out_header}" DIRECTORY)
    file(MAKE_DIRECTORY "${header_dir}")
    file(WRITE "${out_header}.new"
        "#pragma once\n#include <cstddef>\n#include <span>\n\n"
        "namespace ${ARG_NAMESPACE} {\n"
        "// The bytes of ${ARG_FILE}, compiled into the program.\n"
        "std::span<const std::byte> ${ARG_SYMBOL}();\n}\n")
    file(COPY_FILE "${out_header}.new" "${out_header}" ONLY_IF_DIFFERENT)
    file(REMOVE "${out_header}.new")
    set(${var} "${out_cpp}" PARENT_SCOPE)
endfunction()

# vantrel_add_layer(<target> DIRS <dir>... [SOURCES <file>...]
#                   [PUBLIC <target>...] [PRIVATE <target>...])
# One layer: a static library of the .cpp files directly inside DIRS (and any
# further SOURCES), or an interface library while the layer has headers only. PUBLIC names the layers
# below it (their headers become visible to it and to its dependants); PRIVATE
# names outside libraries it uses.
function(vantrel_add_layer target)
    cmake_parse_arguments(ARG "" "" "DIRS;SOURCES;PUBLIC;PRIVATE" ${ARGN})
    vantrel_layer_sources(sources ${ARG_DIRS})
    list(APPEND sources ${ARG_SOURCES})
    if(sources)
        add_library(${target} STATIC ${sources})
        target_link_libraries(${target} PUBLIC ${ARG_PUBLIC} PRIVATE ${ARG_PRIVATE})
    else()
        add_library(${target} INTERFACE)
        target_link_libraries(${target} INTERFACE ${ARG_PUBLIC} ${ARG_PRIVATE})
    endif()
    vantrel_layer_headers(TARGET ${target} DIRS ${ARG_DIRS})
endfunction()
