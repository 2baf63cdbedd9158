# One static library per folder, its files listed in the folder's
# CMakeLists.txt (sub-folders allowed). Every folder that holds a listed
# header is on the include path, so headers are included by their base name.
#
# LAYER places the library in the one-way stack: a library may link only
# libraries of a lower or equal layer. scripts/check-layers.py checks the
# includes against the same numbers.
set_property(GLOBAL PROPERTY PELLORA_LAYERS "")

function(pellora_add_library name)
    cmake_parse_arguments(ARG "" "LAYER" "SOURCES;PUBLIC_LIBS;PRIVATE_LIBS" ${ARGN})
    if(NOT DEFINED ARG_LAYER)
        message(FATAL_ERROR "${name}: LAYER is missing")
    endif()
    foreach(lib ${ARG_PUBLIC_LIBS} ${ARG_PRIVATE_LIBS})
        if(lib MATCHES "::")
            continue()
        endif()
        get_property(lib_layer GLOBAL PROPERTY PELLORA_LAYER_${lib})
        if(lib_layer STREQUAL "")
            message(FATAL_ERROR "${name} links ${lib}, which is not a library below it")
        endif()
        if(lib_layer GREATER ARG_LAYER)
            message(FATAL_ERROR "${name} (layer ${ARG_LAYER}) links ${lib} (layer ${lib_layer}), which is above it")
        endif()
    endforeach()
    set_property(GLOBAL PROPERTY PELLORA_LAYER_${name} ${ARG_LAYER})

    set(include_dirs ${CMAKE_CURRENT_SOURCE_DIR})
    set(has_cpp FALSE)
    foreach(source ${ARG_SOURCES})
        if(source MATCHES "\\.cpp$")
            set(has_cpp TRUE)
        elseif(source MATCHES "\\.h$")
            get_filename_component(dir ${CMAKE_CURRENT_SOURCE_DIR}/${source} DIRECTORY)
            list(APPEND include_dirs ${dir})
        endif()
    endforeach()
    list(REMOVE_DUPLICATES include_dirs)

    if(has_cpp)
        add_library(${name} STATIC)
        target_sources(${name} PRIVATE ${ARG_SOURCES})
        target_include_directories(${name} PUBLIC ${include_dirs})
        target_link_libraries(${name} PUBLIC ${ARG_PUBLIC_LIBS} PRIVATE ${ARG_PRIVATE_LIBS})
    else()
        add_library(${name} INTERFACE)
        target_sources(${name} INTERFACE ${ARG_SOURCES})
        target_include_directories(${name} INTERFACE ${include_dirs})
        target_link_libraries(${name} INTERFACE ${ARG_PUBLIC_LIBS} ${ARG_PRIVATE_LIBS})
    endif()
endfunction()
