# SPDX-FileCopyrightText: 2026 The Face Morvelin developers
# SPDX-License-Identifier: MIT
# The manual page and the shell completions, made from the built program's own help at build time
# (scripts/help-pages.py), so they name exactly the verbs and options the program takes. The page is
# gzipped here because man reads it so and a package must ship it so.
find_package(Python3 REQUIRED COMPONENTS Interpreter)
find_program(GZIP gzip REQUIRED)

set(MORVELIN_HELP_PAGES ${CMAKE_BINARY_DIR}/help-pages)
set(help_pages
    ${MORVELIN_HELP_PAGES}/face-morvelin.1
    ${MORVELIN_HELP_PAGES}/face-morvelin.bash
    ${MORVELIN_HELP_PAGES}/_face-morvelin
    ${MORVELIN_HELP_PAGES}/face-morvelin.fish)
add_custom_command(
    OUTPUT ${help_pages} ${MORVELIN_HELP_PAGES}/face-morvelin.1.gz
    COMMAND Python3::Interpreter ${CMAKE_SOURCE_DIR}/scripts/help-pages.py
            --program $<TARGET_FILE:face-morvelin> --matchers-from $<TARGET_FILE:matcher_names>
            --template ${CMAKE_SOURCE_DIR}/data/face-morvelin.1.in
            --version ${PROJECT_VERSION} --date ${MORVELIN_RELEASE_DATE} --out ${MORVELIN_HELP_PAGES}
    COMMAND ${GZIP} -9nkf ${MORVELIN_HELP_PAGES}/face-morvelin.1
    DEPENDS face-morvelin matcher_names ${CMAKE_SOURCE_DIR}/scripts/help-pages.py
            ${CMAKE_SOURCE_DIR}/data/face-morvelin.1.in
    COMMENT "Writing the manual page and the shell completions from the program's help"
    VERBATIM)
add_custom_target(help_pages ALL DEPENDS ${help_pages} ${MORVELIN_HELP_PAGES}/face-morvelin.1.gz)
