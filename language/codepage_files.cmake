# The manifest of the code-page files and the checks on a folder of them, shared by the configure
# step and the build step that embeds them.
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
            "${problems}\nRestore them from git or give the adapter maker's files with "
            "-DLUMISK_CODEPAGE_DIR (see tools/README.md).")
    endif()
endfunction()

# Sets `result` to whether `directory` holds the stand-in files of `stand_in_directory`. The
# maker's files must differ from every stand-in except the four 8-byte tables, which are the bare
# header in both sets; a folder that mixes the two is refused outright.
function(lumisk_codepage_files_are_stand_ins directory stand_in_directory result)
    file(REAL_PATH "${directory}" directory)
    file(REAL_PATH "${stand_in_directory}" stand_in_directory)
    if(directory STREQUAL stand_in_directory)
        set(${result} TRUE PARENT_SCOPE)
        return()
    endif()
    set(stand_ins "")
    set(rows ${LUMISK_CODEPAGE_MANIFEST})
    while(rows)
        list(POP_FRONT rows id name size)
        if(size GREATER 8)
            file(SHA256 "${directory}/${name}" given)
            file(SHA256 "${stand_in_directory}/${name}" stand_in)
            if(given STREQUAL stand_in)
                list(APPEND stand_ins ${name})
            endif()
        endif()
    endwhile()
    if(stand_ins)
        list(JOIN stand_ins ", " stand_ins)
        message(FATAL_ERROR "${directory} holds stand-in code-page files (${stand_ins}), the same "
            "as in ${stand_in_directory}: give the adapter maker's files (see tools/README.md).")
    endif()
    set(${result} FALSE PARENT_SCOPE)
endfunction()
