# install_program_desktop_files(PROGRAM <name> COMPONENT <component> APP_ID <id>
#                               MAN_PAGES <page>... SUMMARY <text>)
# Installs what a program ships besides its binaries, from <program>/desktop/:
# the desktop entry, the AppStream metainfo, the hicolor icons (SVG and the
# committed PNG sizes), the man pages compressed, and the Debian copyright and
# changelog files of its package.
function(install_program_desktop_files)
    cmake_parse_arguments(ARG "" "PROGRAM;COMPONENT;APP_ID;SUMMARY" "MAN_PAGES" ${ARGN})
    set(source ${PROJECT_SOURCE_DIR}/${ARG_PROGRAM}/desktop)
    set(staged ${CMAKE_CURRENT_BINARY_DIR}/desktop)
    file(MAKE_DIRECTORY ${staged})

    install(FILES ${source}/${ARG_APP_ID}.desktop
            DESTINATION ${CMAKE_INSTALL_DATADIR}/applications COMPONENT ${ARG_COMPONENT})
    configure_file(${source}/${ARG_APP_ID}.metainfo.xml.in
                   ${staged}/${ARG_APP_ID}.metainfo.xml @ONLY)
    install(FILES ${staged}/${ARG_APP_ID}.metainfo.xml
            DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo COMPONENT ${ARG_COMPONENT})

    install(FILES ${source}/${ARG_PROGRAM}.svg
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
            COMPONENT ${ARG_COMPONENT})
    foreach(size 16 32 48 64 128 256)
        install(FILES ${source}/icons/${size}/${ARG_PROGRAM}.png
                DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
                COMPONENT ${ARG_COMPONENT})
    endforeach()

    # Man pages and the changelog are compressed as Debian wants them
    # (gzip -n: no name or time stamp, so builds are reproducible).
    set(compressed)
    foreach(page ${ARG_MAN_PAGES})
        configure_file(${source}/man/${page}.1 ${staged}/${page}.1 @ONLY)
        add_custom_command(OUTPUT ${staged}/${page}.1.gz
                           COMMAND gzip -9nf -k ${staged}/${page}.1
                           DEPENDS ${staged}/${page}.1 VERBATIM)
        list(APPEND compressed ${staged}/${page}.1.gz)
        install(FILES ${staged}/${page}.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1
                COMPONENT ${ARG_COMPONENT})
    endforeach()

    set(PACKAGE_NAME ${ARG_PROGRAM})
    set(PACKAGE_SUMMARY "${ARG_SUMMARY}")
    configure_file(${PROJECT_SOURCE_DIR}/cmake/changelog.in ${staged}/changelog @ONLY)
    add_custom_command(OUTPUT ${staged}/changelog.gz
                       COMMAND gzip -9nf -k ${staged}/changelog
                       DEPENDS ${staged}/changelog VERBATIM)
    list(APPEND compressed ${staged}/changelog.gz)
    add_custom_target(${ARG_PROGRAM}_desktop_files ALL DEPENDS ${compressed})
    configure_file(${PROJECT_SOURCE_DIR}/cmake/copyright.in ${staged}/copyright @ONLY)
    install(FILES ${staged}/copyright ${staged}/changelog.gz
            DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/${ARG_PROGRAM} COMPONENT ${ARG_COMPONENT})
endfunction()
