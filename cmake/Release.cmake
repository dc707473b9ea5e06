# SPDX-FileCopyrightText: 2026 The Face Morvelin developers
# SPDX-License-Identifier: MIT
# The release as data/changelog (Debian's format) states it: its newest entry must be the project's
# version, so a version raised in one place and not the other stops the configure step. Its date
# goes into the AppStream release and the manual page, its signer becomes the package's maintainer.
file(STRINGS ${CMAKE_SOURCE_DIR}/data/changelog changelog_first LIMIT_COUNT 1)
if(NOT changelog_first MATCHES "^face-morvelin \\(([^-)]+)-([^)]+)\\)")
    message(FATAL_ERROR "data/changelog: the first line names no version")
endif()
if(NOT CMAKE_MATCH_1 VERSION_EQUAL PROJECT_VERSION)
    message(FATAL_ERROR "data/changelog starts with ${CMAKE_MATCH_1}, the project is ${PROJECT_VERSION}: add the release's entry")
endif()
set(MORVELIN_DEBIAN_REVISION ${CMAKE_MATCH_2})

file(STRINGS ${CMAKE_SOURCE_DIR}/data/changelog changelog_signer REGEX "^ -- " LIMIT_COUNT 1)
if(NOT changelog_signer MATCHES "^ -- (.+>)  [A-Z][a-z][a-z], ([0-9]+) ([A-Z][a-z][a-z]) ([0-9]+) ")
    message(FATAL_ERROR "data/changelog: the newest entry has no signature line")
endif()
set(MORVELIN_MAINTAINER "${CMAKE_MATCH_1}")
set(day ${CMAKE_MATCH_2})
set(year ${CMAKE_MATCH_4})
set(months Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
list(FIND months ${CMAKE_MATCH_3} month)
math(EXPR month "${month} + 1")
string(LENGTH "${month}" digits)
if(digits EQUAL 1)
    set(month "0${month}")
endif()
string(LENGTH "${day}" digits)
if(digits EQUAL 1)
    set(day "0${day}")
endif()
set(MORVELIN_RELEASE_DATE "${year}-${month}-${day}")
