# The Linux package of mz6 (cpack -G DEB in the linux build): the program, its manual page, its bash
# completion, and the copyright file, changelog and description that Debian asks of a package
# (tests/resources/check-deb runs lintian on it).
install(TARGETS mz6 RUNTIME DESTINATION bin)
set(MAN_PAGE ${CMAKE_BINARY_DIR}/mz6.1.gz)
add_custom_command(OUTPUT ${MAN_PAGE}
                   COMMAND pandoc --standalone --to man ${CMAKE_SOURCE_DIR}/cli/mz6.1.md -o ${CMAKE_BINARY_DIR}/mz6.1
                   COMMAND gzip -9 -n -f ${CMAKE_BINARY_DIR}/mz6.1
                   DEPENDS ${CMAKE_SOURCE_DIR}/cli/mz6.1.md)
add_custom_target(man_page ALL DEPENDS ${MAN_PAGE})
install(FILES ${MAN_PAGE} DESTINATION share/man/man1)
install(FILES ${CMAKE_SOURCE_DIR}/cli/mz6.bash-completion DESTINATION share/bash-completion/completions RENAME mz6)

# The maintainer is the maker, as configured once in the top CMakeLists.txt. Without an e-mail the field
# holds the name alone: no invented address ships, and the package check says what a release must set.
if(PRODUCT_MAKER_EMAIL)
    set(DEB_MAINTAINER "${PRODUCT_MAKER} <${PRODUCT_MAKER_EMAIL}>")
else()
    set(DEB_MAINTAINER "${PRODUCT_MAKER}")
endif()
set(DOC_FOLDER ${CMAKE_BINARY_DIR}/deb-doc)
configure_file(${CMAKE_SOURCE_DIR}/cmake/deb-changelog.in ${DOC_FOLDER}/changelog @ONLY)
execute_process(COMMAND gzip -9 -n -f ${DOC_FOLDER}/changelog)
# The maker's addresses that are set (maker_contacts, the top CMakeLists.txt), a line each.
list(TRANSFORM maker_contacts APPEND "\n" OUTPUT_VARIABLE contact_lines)
string(JOIN "" MAKER_CONTACT_LINES ${contact_lines})
configure_file(${CMAKE_SOURCE_DIR}/cmake/deb-copyright.in ${DOC_FOLDER}/copyright @ONLY)
foreach(library libcli11-dev nlohmann-json3-dev)
    file(READ /usr/share/doc/${library}/copyright licence)
    file(APPEND ${DOC_FOLDER}/copyright "\n${library}:\n\n${licence}")
endforeach()
install(FILES ${DOC_FOLDER}/copyright ${DOC_FOLDER}/changelog.gz DESTINATION share/doc/mz6)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME mz6)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "${DEB_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "settings of Zentak-6 card readers from the command line")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "mz6 reads and writes the settings of the Zentak-6 contactless card readers\n"
    "(the serial-output pair Zentak-6KRT/6KRN and the Zentak-6-USB reader) on\n"
    "serial ports. It is the command-line companion of the ${PRODUCT_NAME}\n"
    "configurator, for scripts and for fleets of readers: find asks every port\n"
    "at once, read, write and save work on one reader, and apply writes one\n"
    "profile onto many readers at once. Every write is read back to verify.\n"
    "\n"
    "Output is text or JSON, with a stable result code for every port, and\n"
    "messages in English or Russian.")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_STRIP_FILES ON)
include(CPack)
