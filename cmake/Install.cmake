# cmake --install: the program into bin/, its data into share/face-morvelin/ (where DataFolder()
# finds it), the desktop file, the icons and the README. The translations are built into the program.
#   one user:   cmake --install build --prefix ~/.local
#   all users:  sudo cmake --install build
#   removal:    cmake --build build --target uninstall   (sudo for the system-wide install)
include(GNUInstallDirs)

set(MORVELIN_APP_ID io.github.facemorvelin.FaceMorvelin)
set(MORVELIN_DATA_DIR ${CMAKE_INSTALL_DATADIR}/face-morvelin)

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

install(FILES ${CMAKE_SOURCE_DIR}/README.md ${CMAKE_SOURCE_DIR}/LICENSE DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/face-morvelin)
install(FILES ${CMAKE_SOURCE_DIR}/data/${MORVELIN_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
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
