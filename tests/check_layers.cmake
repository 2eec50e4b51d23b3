# Fails when an include in src/ or sim/ runs against the layer order.
#
#     cmake -DSOURCE_DIR=<source tree> -P tests/check_layers.cmake
#
# The folders of src/ are layers, highest first. A file may include files of
# its own folder and of any layer below its own, never of one above: the
# includes then run one way and no two folders depend on each other.
# Placing a new folder in this list is part of adding it.
set(layers app provision journal sheet keys config_file settings exchange editor translate system serial sound core)
# The simulator stands beside the tool and builds on these layers only.
set(sim_layers serial core)

if(NOT SOURCE_DIR)
    message(FATAL_ERROR "check_layers: SOURCE_DIR is not set")
endif()

set(faults)
file(GLOB_RECURSE files RELATIVE ${SOURCE_DIR}
    ${SOURCE_DIR}/src/*.h ${SOURCE_DIR}/src/*.cpp
    ${SOURCE_DIR}/sim/*.h ${SOURCE_DIR}/sim/*.cpp)
foreach(file IN LISTS files)
    string(REGEX MATCH "^src/([^/]+)/" top ${file})
    set(folder ${CMAKE_MATCH_1})
    if(file MATCHES "^sim/")
        set(allowed ${sim_layers})
    elseif(NOT top)
        list(APPEND faults "${file}: lies outside the layer folders")
        continue()
    else()
        list(FIND layers ${folder} rank)
        if(rank EQUAL -1)
            list(APPEND faults "${file}: folder src/${folder} has no place in the layer order")
            continue()
        endif()
        list(SUBLIST layers ${rank} -1 allowed)
    endif()
    file(STRINGS ${SOURCE_DIR}/${file} includes REGEX "^[ \t]*#[ \t]*include[ \t]*[\"<][^/\">]+/")
    foreach(line IN LISTS includes)
        string(REGEX MATCH "include[ \t]*[\"<](([^/\">]+)/[^\">]*)" found "${line}")
        set(target ${CMAKE_MATCH_1})
        set(target_folder ${CMAKE_MATCH_2})
        if(target_folder STREQUAL "..")
            list(APPEND faults "${file}: includes ${target}: name it from src/, not by a relative path")
            continue()
        endif()
        list(FIND layers ${target_folder} known)
        if(known EQUAL -1)
            continue() # a system or Qt header such as <sys/ioctl.h>
        endif()
        list(FIND allowed ${target_folder} ok)
        if(ok EQUAL -1)
            list(APPEND faults "${file}: includes ${target}, which its layer may not use")
        endif()
    endforeach()
endforeach()

if(faults)
    list(JOIN faults "\n" text)
    list(JOIN layers " > " order)
    list(JOIN sim_layers ", " sim_order)
    message(FATAL_ERROR "Includes against the layer order ${order} "
        "(the simulator: ${sim_order}):\n${text}")
endif()
list(LENGTH files count)
message(STATUS "Layer order holds in ${count} files")
