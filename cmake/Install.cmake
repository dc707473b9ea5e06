# SPDX-FileCopyrightText: 2026 The Face Morvelin developers
# SPDX-License-Identifier: MIT
# cmake --install: the program into bin/, its data into share/face-morvelin/ (where DataFolder()
# finds it), the desktop file, the AppStream metainfo, the icons, the manual page, the shell
# completions, the README, the licences and the changelog. The translations are built into the program.
#   one user:   cmake --install build --prefix ~/.local
#   all users:  sudo cmake --install build
#   removal:    cmake --build build --target uninstall   (sudo for the system-wide install)
include(GNUInstallDirs)

set(MORVELIN_APP_ID io.github.facemorvelin.FaceMorvelin)
set(MORVELIN_DATA_DIR ${CMAKE_INSTALL_DATADIR}/face-morvelin)
set(MORVELIN_DOC_DIR ${CMAKE_INSTALL_DATAROOTDIR}/doc/face-morvelin)
set(MORVELIN_HOMEPAGE "https://github.com/facemorvelin/face-morvelin" CACHE STRING "The project's home page")
# The pictures under docs/ as the repository serves them raw; app stores show them by this address.
set(MORVELIN_SCREENSHOTS "https://raw.githubusercontent.com/facemorvelin/face-morvelin/main/docs"
    CACHE STRING "Where the screenshots in docs/ are served")
include(${CMAKE_CURRENT_LIST_DIR}/Release.cmake)
include(${CMAKE_CURRENT_LIST_DIR}/HelpPages.cmake)

install(TARGETS face-morvelin RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# The face model is fetched after configuring (scripts/setup.sh); a program without it finds no faces,
# so an install without it stops here rather than half-working.
install(CODE "
    file(GLOB models \"${CMAKE_BINARY_DIR}/models/*.onnx\")
    if(NOT models)
        message(FATAL_ERROR \"The face model is missing: run scripts/fetch-face-model.sh ${CMAKE_BINARY_DIR}/models\")
    endif()
")
install(FILES ${CMAKE_SOURCE_DIR}/data/data.xml DESTINATION ${MORVELIN_DATA_DIR})
install(DIRECTORY ${CMAKE_BINARY_DIR}/models/ DESTINATION ${MORVELIN_DATA_DIR}
    FILES_MATCHING PATTERN "*.onnx" PATTERN "LICENSE-*")

# Debian's names for the licence summary and the changelog, gzipped as Debian's policy wants it.
set(doc_build ${CMAKE_BINARY_DIR}/doc)
add_custom_command(
    OUTPUT ${doc_build}/changelog.Debian.gz
    COMMAND ${CMAKE_COMMAND} -E make_directory ${doc_build}
    COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_SOURCE_DIR}/data/changelog ${doc_build}/changelog.Debian
    COMMAND ${GZIP} -9nf ${doc_build}/changelog.Debian
    DEPENDS ${CMAKE_SOURCE_DIR}/data/changelog
    VERBATIM)
add_custom_target(changelog ALL DEPENDS ${doc_build}/changelog.Debian.gz)
install(FILES ${CMAKE_SOURCE_DIR}/README.md ${CMAKE_SOURCE_DIR}/LICENSE ${CMAKE_SOURCE_DIR}/data/copyright
              ${doc_build}/changelog.Debian.gz
        DESTINATION ${MORVELIN_DOC_DIR})
install(FILES ${CMAKE_SOURCE_DIR}/data/${MORVELIN_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
configure_file(${CMAKE_SOURCE_DIR}/data/${MORVELIN_APP_ID}.metainfo.xml.in
               ${doc_build}/${MORVELIN_APP_ID}.metainfo.xml @ONLY)
install(FILES ${doc_build}/${MORVELIN_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

install(FILES ${MORVELIN_HELP_PAGES}/face-morvelin.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${MORVELIN_HELP_PAGES}/face-morvelin.bash DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions
        RENAME face-morvelin)
install(FILES ${MORVELIN_HELP_PAGES}/_face-morvelin DESTINATION ${CMAKE_INSTALL_DATADIR}/zsh/vendor-completions)
install(FILES ${MORVELIN_HELP_PAGES}/face-morvelin.fish DESTINATION ${CMAKE_INSTALL_DATADIR}/fish/vendor_completions.d)
install(DIRECTORY ${CMAKE_SOURCE_DIR}/data/icons/hicolor DESTINATION ${CMAKE_INSTALL_DATADIR}/icons
    FILES_MATCHING PATTERN "*.png" PATTERN "*.svg")

# Where the icon theme keeps a cache (system folders do), a new icon shows only once the cache knows
# it. Packagers (DESTDIR) leave that to the package's own triggers.
install(CODE "
    set(theme \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_DATADIR}/icons/hicolor\")
    find_program(update_icon_cache gtk-update-icon-cache)
    if(NOT DEFINED ENV{DESTDIR} AND EXISTS \"\${theme}/icon-theme.cache\" AND update_icon_cache)
        execute_process(COMMAND \${update_icon_cache} --quiet --force --ignore-theme-index \"\${theme}\")
    endif()
")

# Removes every file the last install wrote (build/install_manifest.txt), then the folders that
# became empty, up to the prefix's own bin/ and share/.
add_custom_target(uninstall
    COMMAND ${CMAKE_COMMAND} -DMANIFEST=${CMAKE_BINARY_DIR}/install_manifest.txt
            -P ${CMAKE_CURRENT_LIST_DIR}/Uninstall.cmake
    COMMENT "Removing the installed Face Morvelin"
    VERBATIM)

include(${CMAKE_CURRENT_LIST_DIR}/Package.cmake)
