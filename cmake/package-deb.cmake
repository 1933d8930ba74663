# The Linux package of mz6 (cpack -G DEB in the linux build): the program and its manual page.
install(TARGETS mz6 RUNTIME DESTINATION bin)
set(MAN_PAGE ${CMAKE_BINARY_DIR}/mz6.1.gz)
add_custom_command(OUTPUT ${MAN_PAGE}
                   COMMAND pandoc --standalone --to man ${CMAKE_SOURCE_DIR}/cli/mz6.1.md -o ${CMAKE_BINARY_DIR}/mz6.1
                   COMMAND gzip -9 -n -f ${CMAKE_BINARY_DIR}/mz6.1
                   DEPENDS ${CMAKE_SOURCE_DIR}/cli/mz6.1.md)
add_custom_target(man_page ALL DEPENDS ${MAN_PAGE})
install(FILES ${MAN_PAGE} DESTINATION share/man/man1)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME mz6)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "MivorZentak-6 maintainers <support@example.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Reads and writes the settings of Zentak-6 card readers from the command line")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_STRIP_FILES ON)
include(CPack)
