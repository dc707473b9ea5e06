# SPDX-FileCopyrightText: 2026 The Face Morvelin developers
# SPDX-License-Identifier: MIT
# The Debian package: cpack -G DEB --config build/CPackConfig.cmake (scripts/make-package.sh builds
# first and then calls it). It holds what cmake --install puts under /usr, the models included, with
# the binary stripped; dpkg-shlibdeps reads the binary for the libraries it depends on.
# CPack installs through the install rules, which would build every test first; the package needs
# only what scripts/make-package.sh builds.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME face-morvelin)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Face Morvelin developers")
set(CPACK_PACKAGE_CONTACT "${MORVELIN_MAINTAINER}")
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "find a person's face in photo folders")
# The lines as they appear in the package's description; Debian's tools want them under 80 columns.
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
    "Face Morvelin finds a person in your folders. Given a face, from a capture"
    "of the screen or from a photo, it scans every photo of a folder, cuts out"
    "every face, compares each with the person's by their facial features and"
    "lists every photo with a face that scores at least 70 %, best first."
    ""
    "It lives in the system tray, where F12 captures the screen; its command-line"
    "verbs run the same search without a display. A face index in the user's"
    "cache folder answers a repeated search at once. Photos are only read, and"
    "everything runs on the computer itself.")

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE ${MORVELIN_DEBIAN_REVISION})
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${MORVELIN_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${MORVELIN_HOMEPAGE}")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Loaded at run time, so no library dependency names them: Qt's WebP and TIFF readers, Qt's own
# dialog texts in the user's language, and the program that opens a found photo.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-image-formats-plugins, qt6-translations-l10n, xdg-utils")
include(CPack)
