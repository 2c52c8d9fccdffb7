# zarnel_resources(<target> LIST <resource list> FUNCTION <accessor name>)
# Builds an object library <target> whose one function returns the compiled-in resources.
# The resource list names its inputs; every input is a dependency of the generated file.
function(zarnel_resources target)
    cmake_parse_arguments(ARG "" "LIST;FUNCTION" "" ${ARGN})
    get_filename_component(listPath ${ARG_LIST} ABSOLUTE)
    get_filename_component(listDir ${listPath} DIRECTORY)
    file(STRINGS ${listPath} listLines)
    set(inputs ${listPath})
    foreach(line IN LISTS listLines)
        string(REGEX MATCH "^[ \t]*(STRINGS|BITMAP|DATA)[ \t].*[ \t]([^ \t]+)[ \t]*$" matched "${line}")
        if(matched)
            set(input ${listDir}/${CMAKE_MATCH_2})
            if(IS_DIRECTORY ${input})
                file(GLOB folderInputs CONFIGURE_DEPENDS ${input}/*.txt)
                list(APPEND inputs ${folderInputs})
            else()
                list(APPEND inputs ${input})
            endif()
        endif()
    endforeach()
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${listPath})
    set(output ${CMAKE_CURRENT_BINARY_DIR}/${target}.cpp)
    add_custom_command(
        OUTPUT ${output}
        COMMAND zarnel_resgen ${listPath} ${output} ${ARG_FUNCTION}
        DEPENDS zarnel_resgen ${inputs}
        COMMENT "Compiling resources ${ARG_LIST}")
    add_library(${target} OBJECT ${output})
    target_link_libraries(${target} PUBLIC support)
endfunction()
