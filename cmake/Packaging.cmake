# One Debian package per program, built by `cpack -G DEB` (or the target
# `packages`): vervia (vervia, vervia-cli) and telvora (telvora, telvora-cli,
# telvora-phonesim). dpkg-shlibdeps declares the libraries they need.
set(CPACK_PACKAGE_NAME vervia-telvora)
set(CPACK_PACKAGE_VENDOR "the vervia and telvora developers")
set(CPACK_PACKAGE_CONTACT "Seed 11f9955f maintainers <maintainers@users.noreply.c-seed-11f9955f.example>")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR DEB)
set(CPACK_COMPONENTS_ALL vervia telvora)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${CPACK_PACKAGE_CONTACT}")

set(CPACK_DEBIAN_VERVIA_PACKAGE_NAME vervia)
set(CPACK_DEBIAN_VERVIA_PACKAGE_SECTION education)
set(CPACK_COMPONENT_VERVIA_DESCRIPTION
    "Spanish verb conjugation trainer with a Czech interface
Vervia conjugates any Spanish verb, reflexive ones included, marks the forms
that differ from the regular ones and lists the irregular verbs it knows. Its
practice page asks for forms, judges the answers and brings mistakes back.
vervia-cli does the same in a terminal.")

set(CPACK_DEBIAN_TELVORA_PACKAGE_NAME telvora)
set(CPACK_DEBIAN_TELVORA_PACKAGE_SECTION comm)
set(CPACK_COMPONENT_TELVORA_DESCRIPTION
    "manager for a GSM phone or modem on a serial port
Telvora talks to a GSM phone or USB modem with AT commands: it downloads,
lists and sends short messages, reads, edits and uploads the phone book,
dials and hangs up, shows the operator and the signal and uploads ring
tones, in Czech or English. telvora-cli does the same from scripts, and
telvora-phonesim simulates a phone on a pseudo-terminal for trying the
programs and for one's own tests.")

include(CPack)

add_custom_target(packages
    COMMAND ${CMAKE_CPACK_COMMAND} -G DEB --config ${CMAKE_BINARY_DIR}/CPackConfig.cmake
    WORKING_DIRECTORY ${CMAKE_BINARY_DIR}
    COMMENT "Building the Debian packages"
    USES_TERMINAL)
add_dependencies(packages vervia vervia-cli telvora telvora-cli telvora-phonesim
                 vervia_desktop_files telvora_desktop_files)
