# The manifest of the code-page files and the check that the files in a folder match it, shared
# by the configure step and the build step that embeds them.
include(${CMAKE_CURRENT_LIST_DIR}/codepages/manifest.cmake)

# Stops with one message naming every missing file and every file whose size is not the
# manifest's: the adapter expects exactly these files, so a wrong one must not reach the program.
function(lumisk_check_codepage_files directory)
    set(problems "")
    set(rows ${LUMISK_CODEPAGE_MANIFEST})
    while(rows)
        list(POP_FRONT rows id name size)
        set(path "${directory}/${name}")
        if(NOT EXISTS "${path}")
            string(APPEND problems "\n  ${name} (id ${id}) is missing")
        else()
            file(SIZE "${path}" actual)
            if(NOT actual EQUAL size)
                string(APPEND problems
                    "\n  ${name} (id ${id}) has ${actual} bytes; the manifest says ${size}")
            endif()
        endif()
    endwhile()
    if(problems)
        message(FATAL_ERROR "Code-page files in ${directory} do not match its manifest.cmake:"
            "${problems}\nRestore them from git or put the adapter maker's files in their place "
            "(see tools/README.md).")
    endif()
endfunction()
