# SPDX-FileCopyrightText: 2026 The Face Morvelin developers
# SPDX-License-Identifier: MIT
# cmake -DMANIFEST=<build>/install_manifest.txt -P Uninstall.cmake
if(NOT EXISTS "${MANIFEST}")
    message(FATAL_ERROR "Nothing to uninstall: ${MANIFEST} does not exist (install first)")
endif()
file(STRINGS "${MANIFEST}" installed)

set(folders)
foreach(path IN LISTS installed)
    if(IS_SYMLINK "${path}" OR EXISTS "${path}")
        message(STATUS "Removing ${path}")
        file(REMOVE "${path}")
    endif()
    get_filename_component(folder "${path}" DIRECTORY)
    list(APPEND folders "${folder}")
endforeach()

# Folders the install made and that hold nothing now; a prefix's bin/ and share/ are left alone
# even when empty, as are folders that still hold anything.
list(REMOVE_DUPLICATES folders)
foreach(folder IN LISTS folders)
    while(IS_DIRECTORY "${folder}")
        get_filename_component(name "${folder}" NAME)
        if(name STREQUAL "bin" OR name STREQUAL "share")
            break()
        endif()
        file(GLOB left "${folder}/*" "${folder}/.*")
        if(left)
            break()
        endif()
        file(REMOVE_RECURSE "${folder}")
        get_filename_component(folder "${folder}" DIRECTORY)
    endwhile()
endforeach()
