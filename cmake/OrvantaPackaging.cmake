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
install(TARGETS orvanta-makedb orvanta-pgcreate orvanta-pgcopy orvanta-backup orvanta-reminders
        RUNTIME DESTINATION "${CMAKE_INSTALL_BINDIR}")

file(GLOB ORVANTA_LAYOUT_FILES CONFIGURE_DEPENDS "${PROJECT_SOURCE_DIR}/layouts/*.RAV")
install(FILES ${ORVANTA_LAYOUT_FILES} DESTINATION "${ORVANTA_DATA_DIR}/layouts")
# Every layout version the program ever shipped: the launcher replaces those, and only those.
install(FILES "${PROJECT_SOURCE_DIR}/packaging/layouts-shipped.sha256"
        DESTINATION "${ORVANTA_DATA_DIR}")

# The tax authority's schema, which every document is checked against before it is sent.
file(GLOB ORVANTA_XSD_FILES CONFIGURE_DEPENDS "${PROJECT_SOURCE_DIR}/src/mydata/xsd/*.xsd")
install(FILES ${ORVANTA_XSD_FILES} "${PROJECT_SOURCE_DIR}/src/mydata/xsd/SHA256SUMS"
        DESTINATION "${ORVANTA_DATA_DIR}/mydata-xsd")

install(FILES "${PROJECT_SOURCE_DIR}/packaging/copyright" DESTINATION "${ORVANTA_DOC_DIR}")

# Desktop entry, icon and AppStream metadata.
set(ORVANTA_APPSTREAM_ID "example.daskel.orvanta")
configure_file("${PROJECT_SOURCE_DIR}/packaging/${ORVANTA_APPSTREAM_ID}.metainfo.xml"
               "${PROJECT_BINARY_DIR}/packaging/${ORVANTA_APPSTREAM_ID}.metainfo.xml" @ONLY)
install(FILES "${PROJECT_SOURCE_DIR}/packaging/orvanta.desktop"
        DESTINATION "${CMAKE_INSTALL_DATADIR}/applications")
install(FILES "${PROJECT_BINARY_DIR}/packaging/${ORVANTA_APPSTREAM_ID}.metainfo.xml"
        DESTINATION "${CMAKE_INSTALL_DATADIR}/metainfo")
install(FILES "${PROJECT_SOURCE_DIR}/packaging/orvanta.svg"
        DESTINATION "${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps")

# Files made at build time: gzipped manual pages and changelog, and the icon at fixed sizes
# when rsvg-convert is at hand (librsvg2-bin); without it, the scalable icon only.
set(ORVANTA_PACKAGING_OUTPUTS)
foreach(page orvanta orvanta-makedb orvanta-pgcreate orvanta-pgcopy orvanta-backup orvanta-reminders)
    configure_file("${PROJECT_SOURCE_DIR}/packaging/man/${page}.1"
                   "${PROJECT_BINARY_DIR}/packaging/man/${page}.1" @ONLY)
    add_custom_command(OUTPUT "${PROJECT_BINARY_DIR}/packaging/man/${page}.1.gz"
        COMMAND gzip -9nf -k "${PROJECT_BINARY_DIR}/packaging/man/${page}.1"
        DEPENDS "${PROJECT_BINARY_DIR}/packaging/man/${page}.1" VERBATIM)
    list(APPEND ORVANTA_PACKAGING_OUTPUTS "${PROJECT_BINARY_DIR}/packaging/man/${page}.1.gz")
    install(FILES "${PROJECT_BINARY_DIR}/packaging/man/${page}.1.gz"
            DESTINATION "${CMAKE_INSTALL_MANDIR}/man1")
endforeach()
add_custom_command(OUTPUT "${PROJECT_BINARY_DIR}/packaging/changelog.gz"
    COMMAND gzip -9n -c "${PROJECT_SOURCE_DIR}/packaging/changelog" > "${PROJECT_BINARY_DIR}/packaging/changelog.gz"
    DEPENDS "${PROJECT_SOURCE_DIR}/packaging/changelog")
list(APPEND ORVANTA_PACKAGING_OUTPUTS "${PROJECT_BINARY_DIR}/packaging/changelog.gz")
install(FILES "${PROJECT_BINARY_DIR}/packaging/changelog.gz" DESTINATION "${ORVANTA_DOC_DIR}")

find_program(ORVANTA_RSVG_CONVERT rsvg-convert)
if(ORVANTA_RSVG_CONVERT)
    foreach(size 16 32 48 64 128 256)
        set(png "${PROJECT_BINARY_DIR}/packaging/icons/${size}x${size}/orvanta.png")
        add_custom_command(OUTPUT "${png}"
            COMMAND ${CMAKE_COMMAND} -E make_directory "${PROJECT_BINARY_DIR}/packaging/icons/${size}x${size}"
            COMMAND "${ORVANTA_RSVG_CONVERT}" -w ${size} -h ${size} -o "${png}"
                    "${PROJECT_SOURCE_DIR}/packaging/orvanta.svg"
            DEPENDS "${PROJECT_SOURCE_DIR}/packaging/orvanta.svg" VERBATIM)
        list(APPEND ORVANTA_PACKAGING_OUTPUTS "${png}")
        install(FILES "${png}" DESTINATION "${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps")
    endforeach()
else()
    message(STATUS "rsvg-convert not found: the package gets the scalable icon only")
endif()
add_custom_target(orvanta_packaging_files ALL DEPENDS ${ORVANTA_PACKAGING_OUTPUTS})

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
# Mail for the appointment reminders (libcurl's SMTP), named besides what dpkg-shlibdeps finds.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libcurl4")
# CPack puts CPACK_PACKAGE_DESCRIPTION_SUMMARY first, as the synopsis.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
"Orvanta keeps the patients of a single-physiotherapist practice with their
health record and visits, a monthly appointment book of half-hour slots,
numbered receipts with VAT, operating expenses, office utilities and
printouts. The interface is in Greek.
.
The data live in an SQLite file in the practice folder (~/Orvanta unless
told otherwise), or in a PostgreSQL database for several workstations.")

include(CPack)
