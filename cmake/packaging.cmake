# Installation and packages. `cmake --install build --prefix DIR` puts the program in DIR/bin,
# its manual page in DIR/share/man/man1 and the shell completions where each shell looks for
# them; `cd build && cpack -G DEB` wraps the same files in a Debian package that lintian
# passes. On Windows, `cd build-windows && cpack` makes a zip of fexpr.exe, the manual as
# text, the README and the licence, side by side.

set(FEXPR_PACKAGE_MAINTAINER "The fexpr developers <fexpr@example.org>" CACHE STRING
    "The Maintainer of the Debian package, as Name <address>")

# Copies `source` into the build folder as `name` compressed with gzip -9n (reproducible, as
# Debian expects) and installs it into `destination`; without gzip the plain file is installed.
function(fexpr_install_gzipped source name destination)
    find_program(FEXPR_GZIP gzip)
    if(NOT FEXPR_GZIP)
        install(FILES ${source} DESTINATION ${destination} RENAME ${name})
        return()
    endif()
    set(copy ${CMAKE_CURRENT_BINARY_DIR}/gzipped/${name})
    add_custom_command(OUTPUT ${copy}.gz
        COMMAND ${CMAKE_COMMAND} -E copy ${source} ${copy}
        COMMAND ${FEXPR_GZIP} -9 -n -f ${copy}
        DEPENDS ${source}
        COMMENT "Compressing ${name}"
        VERBATIM)
    string(MAKE_C_IDENTIFIER ${name} target)
    add_custom_target(fexpr_gzip_${target} ALL DEPENDS ${copy}.gz)
    install(FILES ${copy}.gz DESTINATION ${destination})
endfunction()

if(WIN32)
    install(TARGETS fexpr RUNTIME DESTINATION .)
    install(FILES README.md LICENSE DESTINATION .)
    # The manual page as plain text, for there is no man on Windows; `fexpr --help` names it.
    find_program(FEXPR_GROFF groff)
    if(FEXPR_GROFF)
        set(FEXPR_MANUAL_TEXT ${CMAKE_CURRENT_BINARY_DIR}/fexpr-manual.txt)
        add_custom_command(OUTPUT ${FEXPR_MANUAL_TEXT}
            COMMAND ${CMAKE_COMMAND} -DGROFF=${FEXPR_GROFF}
                -DPAGE=${CMAKE_CURRENT_SOURCE_DIR}/doc/fexpr.1 -DOUTPUT=${FEXPR_MANUAL_TEXT}
                -P ${CMAKE_CURRENT_SOURCE_DIR}/cmake/render_manual.cmake
            DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/doc/fexpr.1
                ${CMAKE_CURRENT_SOURCE_DIR}/cmake/render_manual.cmake
            COMMENT "Rendering the manual page as text"
            VERBATIM)
        add_custom_target(fexpr_manual_text ALL DEPENDS ${FEXPR_MANUAL_TEXT})
        install(FILES ${FEXPR_MANUAL_TEXT} DESTINATION .)
    else()
        message(STATUS "Manual as text: not made; groff (Debian package groff) was not found")
    endif()
    set(CPACK_GENERATOR ZIP)
    set(CPACK_SYSTEM_NAME windows-x86_64)
    set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
else()
    include(GNUInstallDirs)
    install(TARGETS fexpr RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
    fexpr_install_gzipped(${CMAKE_CURRENT_SOURCE_DIR}/doc/fexpr.1 fexpr.1
        ${CMAKE_INSTALL_MANDIR}/man1)
    # Shell completion, where each shell looks for the completions of installed packages.
    install(FILES completions/fexpr.bash
        DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions RENAME fexpr)
    install(FILES completions/_fexpr DESTINATION ${CMAKE_INSTALL_DATADIR}/zsh/vendor-completions)
    install(FILES completions/fexpr.fish
        DESTINATION ${CMAKE_INSTALL_DATADIR}/fish/vendor_completions.d)
    install(FILES LICENSE DESTINATION ${CMAKE_INSTALL_DOCDIR} RENAME copyright)
    # The changelog of a native package is changelog.gz; its newest entry names this version.
    file(STRINGS packaging/changelog.in newest_entry LIMIT_COUNT 1)
    if(NOT newest_entry MATCHES "^fexpr \\(${PROJECT_VERSION}\\) ")
        message(FATAL_ERROR "packaging/changelog.in: the newest entry is not version "
            "${PROJECT_VERSION}: ${newest_entry}")
    endif()
    configure_file(packaging/changelog.in ${CMAKE_CURRENT_BINARY_DIR}/packaging/changelog @ONLY)
    fexpr_install_gzipped(${CMAKE_CURRENT_BINARY_DIR}/packaging/changelog changelog
        ${CMAKE_INSTALL_DOCDIR})
    # What lintian would say of the static program, with the figures that keep it static.
    if(FEXPR_STATIC)
        install(FILES packaging/lintian-overrides
            DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides RENAME fexpr)
    endif()
endif()

set(CPACK_PACKAGE_NAME fexpr)
set(CPACK_PACKAGE_VENDOR "The fexpr developers")
set(CPACK_PACKAGE_CONTACT "${FEXPR_PACKAGE_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "console calculator for function expressions")
# The extended description, in lines of at most 80 characters (lintian counts the leading
# blank that each line gets in the package).
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "fexpr evaluates one line of arithmetic (decimal, hexadecimal, binary and\n"
    "octal literals, Pi, unit letters, twelve operators, seventeen functions and\n"
    "a bit-field shift) in double precision and prints one result line in the\n"
    "layout a suffix selects: fixed, significant or scientific digits, grouped\n"
    "hexadecimal, binary or octal, or a duration. Every malformed expression ends\n"
    "with its own exit status.")
set(CPACK_RESOURCE_FILE_LICENSE ${CMAKE_CURRENT_SOURCE_DIR}/LICENSE)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${FEXPR_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION "math")
set(CPACK_DEBIAN_PACKAGE_PRIORITY "optional")
# No CPACK_DEBIAN_PACKAGE_DEPENDS when the program is linked statically; a dynamic program's
# libraries are found by dpkg-shlibdeps.
if(NOT FEXPR_STATIC)
    set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
endif()
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
include(CPack)
