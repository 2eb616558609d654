# The shipped program carries no debug information; it goes into <exe>.debug beside it, which a
# debugger finds through the exe's .gnu_debuglink. The build type keeps -g so that file is useful.
function(platelog_release_binary target)
    if(NOT CMAKE_OBJCOPY)
        message(FATAL_ERROR "platelog_release_binary(${target}): no objcopy for this toolchain")
    endif()
    set(exe $<TARGET_FILE:${target}>)
    # A PE image needs neither its DWARF nor its COFF symbol table to run, so both go.
    add_custom_command(TARGET ${target} POST_BUILD
        COMMAND ${CMAKE_OBJCOPY} --only-keep-debug ${exe} ${exe}.debug
        COMMAND ${CMAKE_OBJCOPY} --strip-all ${exe}
        COMMAND ${CMAKE_OBJCOPY} --add-gnu-debuglink=${exe}.debug ${exe}
        VERBATIM)
endfunction()
