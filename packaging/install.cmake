# Installation and the Debian package. The program reads its fallback file url_bak from its own
# folder, so both live in lib/velandri and bin/velandri is a link to the program.
include(GNUInstallDirs)
set(velandri_libdir ${CMAKE_INSTALL_LIBDIR}/velandri)

if(TARGET velandri)
  install(TARGETS velandri RUNTIME DESTINATION ${velandri_libdir})
  install(FILES ${CMAKE_BINARY_DIR}/bin/url_bak DESTINATION ${velandri_libdir})
  install(CODE "
    set(bindir \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}\")
    file(MAKE_DIRECTORY \"\${bindir}\")
    file(CREATE_LINK ../${velandri_libdir}/velandri \"\${bindir}/velandri\" SYMBOLIC)
  ")
endif()
if(TARGET velandri-store)
  install(TARGETS velandri-store RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()
install(FILES ${CMAKE_SOURCE_DIR}/packaging/velandri.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_SOURCE_DIR}/app/velandri.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

set(CPACK_PACKAGE_NAME velandri)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Bookmark launcher with ten named tabs")
set(CPACK_PACKAGE_CONTACT "Velandri developers <velandri@localhost>")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION web)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, libqt6svg6, xdg-utils")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-ipafont-gothic | fonts-noto-cjk")
include(CPack)
