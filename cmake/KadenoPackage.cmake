# The Debian package, made by `cpack -G DEB` in a build configured for /usr with the
# program in /usr/games (scripts/build-deb.sh). The version is the project's.

set(KADENO_PACKAGE_MAINTAINER "Kadeno maintainers <maintainers@users.noreply.c-seed-d854a718.example>"
    CACHE STRING "The Maintainer field of the Debian package")

# What Debian wants of every package: a copyright file and, for a package that is its own
# upstream, a changelog compressed without a name or time stamp in its header.
execute_process(COMMAND date -u -R -d "${KADENO_RELEASE_DATE}"
                OUTPUT_VARIABLE KADENO_RELEASE_DATE_RFC2822 OUTPUT_STRIP_TRAILING_WHITESPACE
                COMMAND_ERROR_IS_FATAL ANY)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${KADENO_PACKAGE_MAINTAINER}")
configure_file(packaging/changelog.in ${CMAKE_BINARY_DIR}/packaging/changelog @ONLY)
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/packaging/changelog.gz
                   COMMAND gzip -9nkf changelog
                   DEPENDS ${CMAKE_BINARY_DIR}/packaging/changelog
                   WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/packaging VERBATIM)
add_custom_target(kadeno_changelog ALL DEPENDS ${CMAKE_BINARY_DIR}/packaging/changelog.gz)
install(FILES packaging/copyright ${CMAKE_BINARY_DIR}/packaging/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/kadeno)

set(CPACK_PACKAGE_NAME kadeno)
set(CPACK_PACKAGE_VENDOR Quenloft)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "musical falling-notes game played entirely by ear")
set(CPACK_PACKAGE_DESCRIPTION
    "Kadeno is a musical game of tumbla with nothing to see, made for players who
use a screen reader. Seven columns are swept left to right in stereo, and a
falling note sounds in the step of its own column: steer it with the arrow keys
by ear and stack chords and scales to score. Every word the game says is a
message box that Orca reads, and it brings its own synthesiser.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The shared libraries the program links give most of Depends; the soundfont it plays by
# default is read at run time, so it is named by hand.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS timgm6mb-soundfont)
# The game's own voice, heard when no screen reader runs, goes through the speech service;
# Qt's translations name the input field's own menu in the player's language.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "speech-dispatcher, qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS orca)
set(CPACK_STRIP_FILES ON)
set(CPACK_SOURCE_GENERATOR "")
include(CPack)
