# What `cmake --install` puts where, and the Debian package CPack builds from it
# (`cpack -G DEB` in the build folder; see the README).
#
#   bin/                          mes, mes-cli, mes-stick-sim, mes-file-dialog (when GTK is there)
#                                 and mes-gallery-server (once it exists)
#   share/mes/                    the data folder; the programs look for it at ../share/mes from
#                                 their own folder when no "data" folder lies beside them
#   share/applications/           the menu entry, opening .mpes and .pes files
#   share/mime/packages/          the project and PES file types (PES by its "#PES" magic)
#   share/thumbnailers/           file manager thumbnails through `mes-cli thumbnail`
#   share/icons/hicolor/NxN/apps/ the icon, drawn by tools/images
#   share/man/man1/               manual pages
#   share/doc/mes/                copyright (every licence of what is installed) and changelog
#   share/bash-completion/completions/mes-cli   app/cli/mes-cli.bash-completion

include_guard(GLOBAL)
include(GNUInstallDirs)

set(MES_PACKAGE_MAINTAINER "MES developers <mes@example.org>" CACHE STRING
    "Maintainer named in the Debian package and its changelog")

set(mes_packaging ${PROJECT_SOURCE_DIR}/packaging)
set(mes_generated ${PROJECT_BINARY_DIR}/packaging)

# ---- Programs and data

# The editor finds its desktop file dialog helper beside itself.
set(mes_programs mes mes-cli mes-stick-sim)
foreach(optional mes-file-dialog mes-gallery-server)
    if(TARGET ${optional})
        list(APPEND mes_programs ${optional})
    endif()
endforeach()
install(TARGETS ${mes_programs} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# The licence texts that accompany the fonts in data/ are gathered in the copyright file below;
# how the stitch fonts were built (their README and quality report) is for developers.
install(DIRECTORY ${PROJECT_SOURCE_DIR}/data/ DESTINATION ${CMAKE_INSTALL_DATADIR}/mes
    PATTERN "licences" EXCLUDE
    PATTERN "*-OFL.txt" EXCLUDE
    PATTERN "MIVO_FONTS/README.md" EXCLUDE
    PATTERN "MIVO_FONTS/QUALITY.txt" EXCLUDE)

# ---- Desktop integration

install(FILES ${mes_packaging}/mes.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${mes_packaging}/mes.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)
install(FILES ${mes_packaging}/mes.thumbnailer DESTINATION ${CMAKE_INSTALL_DATADIR}/thumbnailers)
install(DIRECTORY ${mes_packaging}/icons/hicolor DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)
install(FILES ${PROJECT_SOURCE_DIR}/app/cli/mes-cli.bash-completion
    DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions RENAME mes-cli)

# ---- Manual pages and package documents, compressed as Debian wants them

# Dated by the last commit, so that building the same commit again gives the same files.
if(NOT DEFINED ENV{SOURCE_DATE_EPOCH})
    find_package(Git QUIET)
    if(GIT_FOUND)
        execute_process(COMMAND ${GIT_EXECUTABLE} log -1 --format=%ct
            WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
            OUTPUT_VARIABLE mes_commit_time OUTPUT_STRIP_TRAILING_WHITESPACE
            RESULT_VARIABLE mes_git_status ERROR_QUIET)
        if(mes_git_status EQUAL 0 AND mes_commit_time)
            set(ENV{SOURCE_DATE_EPOCH} ${mes_commit_time})
        endif()
    endif()
endif()
string(TIMESTAMP MES_RELEASE_DATE "%Y-%m-%d" UTC)
string(TIMESTAMP MES_CHANGELOG_DATE "%a, %d %b %Y %H:%M:%S +0000" UTC)
set(MES_DEB_VERSION ${PROJECT_VERSION}-1)

set(mes_pages mes mes-cli mes-stick-sim)
if(TARGET mes-file-dialog)
    list(APPEND mes_pages mes-file-dialog)
endif()
set(mes_compressed)
set(mes_installed_pages)
foreach(page ${mes_pages})
    configure_file(${mes_packaging}/man/${page}.1.in ${mes_generated}/${page}.1 @ONLY)
    list(APPEND mes_compressed ${page}.1)
    list(APPEND mes_installed_pages ${mes_generated}/${page}.1.gz)
endforeach()
configure_file(${mes_packaging}/changelog.in ${mes_generated}/changelog.Debian @ONLY)
list(APPEND mes_compressed changelog.Debian)

set(mes_gz)
foreach(file ${mes_compressed})
    add_custom_command(
        OUTPUT ${mes_generated}/${file}.gz
        COMMAND gzip -9nc ${mes_generated}/${file} > ${mes_generated}/${file}.gz
        DEPENDS ${mes_generated}/${file}
        COMMENT "Compressing ${file}")
    list(APPEND mes_gz ${mes_generated}/${file}.gz)
endforeach()
add_custom_target(mes_package_docs ALL DEPENDS ${mes_gz})

install(FILES ${mes_installed_pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${mes_packaging}/copyright ${mes_generated}/changelog.Debian.gz
    DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/mes)

# The installed tree, run from a temporary DESTDIR (packaging/install_test.sh).
if(MES_BUILD_TESTS)
    add_test(NAME install_tree
        COMMAND bash ${mes_packaging}/install_test.sh ${PROJECT_BINARY_DIR} ${MES_CORPUS_DIR})
    set_tests_properties(install_tree PROPERTIES TIMEOUT 180)
    # The .deb of the README's instructions, checked by lintian (packaging/package_test.sh).
    add_test(NAME deb_package COMMAND bash ${mes_packaging}/package_test.sh ${PROJECT_BINARY_DIR})
    set_tests_properties(deb_package PROPERTIES TIMEOUT 600)
endif()

# ---- The Debian package

set(CPACK_PACKAGE_NAME mes)
set(CPACK_PACKAGE_VENDOR "The MES developers")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT ${MES_PACKAGE_MAINTAINER})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "embroidery design editor for Thai and Latin lettering")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_DEBIAN_PACKAGE_NAME mes)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${MES_PACKAGE_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# The summary above is the description's first line; this is the text below it.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "MES composes embroidery designs for home embroidery machines from up to 16
layers: lines of text set in stitch fonts (Thai and Latin script), designs
imported from PES files, and generated shapes and borders. Designs are saved
as .mpes projects and sent over Wi-Fi to the MivoStick in the machine.
.
The package holds the editor (mes), its command-line companion (mes-cli:
information, conversion, rendering, thumbnails and sending), a MivoStick
simulator (mes-stick-sim), fifteen stitch fonts, and the desktop entry, file
types and thumbnailer that let file managers show and open PES designs and
projects.")
include(CPack)
