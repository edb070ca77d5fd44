# Installation and the Debian package.
#   cmake --install build --prefix /some/where     a tree like the package's
#   (cd build && cpack -G DEB)                      orvanta_<version>_<arch>.deb
#
# What users start is the launcher bin/orvanta: it prepares the practice folder and then
# starts the program itself, which is kept in libexec/orvanta (the program reads data.mdb
# and the report layouts from the folder it is started in).
include(GNUInstallDirs)

set(ORVANTA_PROGRAM_DIR "${CMAKE_INSTALL_LIBEXECDIR}/orvanta")
set(ORVANTA_DATA_DIR "${CMAKE_INSTALL_DATADIR}/orvanta")
set(ORVANTA_DOC_DIR "${CMAKE_INSTALL_DATADIR}/doc/orvanta")

# The launcher finds the program, orvanta-makedb and the layouts relative to where it is.
configure_file("${PROJECT_SOURCE_DIR}/packaging/orvanta.in" "${PROJECT_BINARY_DIR}/packaging/orvanta" @ONLY
               FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
                                WORLD_READ WORLD_EXECUTE)
# The launcher's error messages in a message box, when there is a display.
add_executable(orvanta-notice "${PROJECT_SOURCE_DIR}/packaging/notice.cpp")
target_link_libraries(orvanta-notice PRIVATE Qt6::Widgets)

install(PROGRAMS "${PROJECT_BINARY_DIR}/packaging/orvanta" DESTINATION "${CMAKE_INSTALL_BINDIR}")
install(TARGETS orvanta orvanta-notice RUNTIME DESTINATION "${ORVANTA_PROGRAM_DIR}")
install(TARGETS orvanta-makedb orvanta-pgcreate orvanta-pgcopy
        RUNTIME DESTINATION "${CMAKE_INSTALL_BINDIR}")

file(GLOB ORVANTA_LAYOUT_FILES CONFIGURE_DEPENDS "${PROJECT_SOURCE_DIR}/layouts/*.RAV")
install(FILES ${ORVANTA_LAYOUT_FILES} DESTINATION "${ORVANTA_DATA_DIR}/layouts")

install(FILES "${PROJECT_SOURCE_DIR}/packaging/copyright" DESTINATION "${ORVANTA_DOC_DIR}")

# ---- CPack --------------------------------------------------------------------------------
set(CPACK_PACKAGE_NAME "orvanta")
set(CPACK_PACKAGE_VENDOR "Daskel")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_CONTACT "Daskel <info@daskel.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "practice management for a physiotherapist")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://www.daskel.example")
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_PACKAGE_FILE_NAME "orvanta_${PROJECT_VERSION}")

set(CPACK_DEBIAN_PACKAGE_NAME "orvanta")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Daskel <info@daskel.example>")
set(CPACK_DEBIAN_PACKAGE_SECTION "misc")
set(CPACK_DEBIAN_PACKAGE_PRIORITY "optional")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
"practice management for a physiotherapist
Orvanta keeps the patients of a single-physiotherapist practice with their
health record and visits, a monthly appointment book of half-hour slots,
numbered receipts with VAT, operating expenses, office utilities and
printouts. The interface is in Greek.
.
The data live in an SQLite file in the practice folder (~/Orvanta unless
told otherwise), or in a PostgreSQL database for several workstations.")

include(CPack)
