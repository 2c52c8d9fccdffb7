# Warnings shared by every target of the project.
function(zarnel_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Werror=switch
                           -Werror=return-type -Wno-unused-parameter)
endfunction()
