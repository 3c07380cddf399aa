# Installation and the Debian package. The program reads its fallback file url_bak from its own
# folder, so both live in lib/velandri and bin/velandri is a link to the program.
include(GNUInstallDirs)
set(velandri_libdir ${CMAKE_INSTALL_LIBDIR}/velandri)

install(TARGETS velandri RUNTIME DESTINATION ${velandri_libdir})
# The program runs its HTTP helper and loads its zip and signature modules from its own folder.
install(TARGETS velandri-http RUNTIME DESTINATION ${velandri_libdir})
install(TARGETS velandri-zip velandri-signature LIBRARY DESTINATION ${velandri_libdir}/modules
        PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
install(FILES ${CMAKE_BINARY_DIR}/bin/url_bak DESTINATION ${velandri_libdir})
install(CODE "
  set(bindir \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}\")
  file(MAKE_DIRECTORY \"\${bindir}\")
  file(CREATE_LINK ../${velandri_libdir}/velandri \"\${bindir}/velandri\" SYMBOLIC)
")
install(TARGETS velandri-store RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${CMAKE_SOURCE_DIR}/packaging/velandri.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
# The desktop's own search asks the running program; no bus activation file, so a search never
# starts it.
install(FILES ${CMAKE_SOURCE_DIR}/packaging/velandri.search-provider.ini
        DESTINATION ${CMAKE_INSTALL_DATADIR}/gnome-shell/search-providers
        RENAME invalid.velandri.velandri.search-provider.ini)
configure_file(${CMAKE_SOURCE_DIR}/packaging/velandri.krunner.desktop.in
               ${CMAKE_BINARY_DIR}/packaging/velandri.krunner.desktop @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/packaging/velandri.krunner.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/krunner/dbusplugins RENAME velandri.desktop)
configure_file(${CMAKE_SOURCE_DIR}/packaging/velandri.metainfo.xml.in
               ${CMAKE_BINARY_DIR}/packaging/velandri.metainfo.xml @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/packaging/velandri.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${CMAKE_SOURCE_DIR}/app/velandri.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

set(VELANDRI_MAINTAINER "Velandri developers <velandri@velandri.invalid>" CACHE STRING
    "Maintainer of the Debian package, with a mail address")
set(velandri_docdir ${CMAKE_BINARY_DIR}/doc)

# Debian wants manual pages and the changelog compressed with gzip -9n (no time stamp).
function(velandri_gzip source)
  get_filename_component(name ${source} NAME)
  set(output ${velandri_docdir}/${name}.gz)
  add_custom_command(OUTPUT ${output} COMMAND gzip -9nc ${source} > ${output} DEPENDS ${source})
  set_property(GLOBAL APPEND PROPERTY velandri_gzipped ${output})
endfunction()

configure_file(${CMAKE_SOURCE_DIR}/packaging/changelog ${velandri_docdir}/changelog @ONLY)
velandri_gzip(${velandri_docdir}/changelog)
configure_file(${CMAKE_SOURCE_DIR}/packaging/velandri.1.in ${velandri_docdir}/velandri.1 @ONLY)
velandri_gzip(${velandri_docdir}/velandri.1)
install(FILES ${velandri_docdir}/changelog.gz ${CMAKE_SOURCE_DIR}/packaging/copyright
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/velandri)
install(FILES ${velandri_docdir}/velandri.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# The tool's manual page is made from its own --help, so it follows its commands.
find_program(HELP2MAN help2man)
if(HELP2MAN)
  set(store_page ${velandri_docdir}/velandri-store.1)
  add_custom_command(
    OUTPUT ${store_page}
    COMMAND ${HELP2MAN} --no-info --no-discard-stderr --version-string=${PROJECT_VERSION}
            "--name=read and write Velandri data files"
            --include=${CMAKE_SOURCE_DIR}/packaging/velandri-store.h2m
            --output=${store_page} $<TARGET_FILE:velandri-store>
    DEPENDS velandri-store ${CMAKE_SOURCE_DIR}/packaging/velandri-store.h2m
    VERBATIM)
  velandri_gzip(${store_page})
  install(FILES ${store_page}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
else()
  message(STATUS "help2man not found: the package leaves out velandri-store(1)")
endif()
get_property(gzipped GLOBAL PROPERTY velandri_gzipped)
add_custom_target(velandri_docs ALL DEPENDS ${gzipped})

set(CPACK_PACKAGE_NAME velandri)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "bookmark launcher with ten named tabs")
set(CPACK_PACKAGE_DESCRIPTION
    "Velandri keeps up to thirty web addresses in each of ten named tabs,
each with a title and a short description, and opens one with a
double-click in the browser chosen in its settings. Its user interface
is in Japanese.

It can ask for a password at start, log off after a set number of
minutes, stay above other windows and move into the notification area
when minimized. The command velandri-store reads and writes its data
file.")
set(CPACK_PACKAGE_CONTACT "${VELANDRI_MAINTAINER}")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION web)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, libqt6svg6, xdg-utils")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-ipafont-gothic | fonts-noto-cjk, qt6-translations-l10n")
# Only a Wayland session without XWayland needs Qt's Wayland platform.
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "qt6-wayland")
include(CPack)
