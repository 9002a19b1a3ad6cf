# Release packages, made with CPack from the optimised trees:
#   cmake --build --preset program-windows --target package
#       Orbelin-<version>-win64.zip (portable) and Orbelin-<version>-win64.exe (NSIS installer)
#   cmake --build build/program-native --target package
#       orbelin-service_<version>_amd64.deb
# The test trees carry the same rules, so an install from them is alike.
set(CPACK_PACKAGE_VENDOR "Orbelin")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Orbelin support <support@example.com>")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://orbelin.example.com/")
set(CPACK_STRIP_FILES ON)
set(packaging ${CMAKE_SOURCE_DIR}/packaging)

if(WIN32)
  if(NOT TARGET orbelin)
    return()
  endif()
  # Everything sits beside the program: it finds help.txt and orbelin.ini there.
  install(TARGETS orbelin RUNTIME DESTINATION .)
  install(FILES ${CMAKE_BINARY_DIR}/help.txt ${CMAKE_BINARY_DIR}/orbelin.skin ${packaging}/windows/orbelin.ini
          DESTINATION .)
  set(CPACK_PACKAGE_NAME Orbelin)
  set(CPACK_GENERATOR ZIP NSIS)
  set(CPACK_PACKAGE_FILE_NAME Orbelin-${PROJECT_VERSION}-win64)
  set(CPACK_PACKAGE_INSTALL_DIRECTORY Orbelin)
  set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY Orbelin)
  set(CPACK_NSIS_DISPLAY_NAME "Orbelin多国语言在线翻译系统")
  set(CPACK_NSIS_PACKAGE_NAME "${CPACK_NSIS_DISPLAY_NAME}")
  set(CPACK_NSIS_INSTALLED_ICON_NAME orbelin.exe)
  set(CPACK_NSIS_MUI_ICON ${CMAKE_SOURCE_DIR}/resources/orbelin.ico)
  set(CPACK_NSIS_URL_INFO_ABOUT ${CPACK_PACKAGE_HOMEPAGE_URL})
  set(CPACK_NSIS_CONTACT "support@example.com")
  # Our own installer script (NSIS.template.in) in place of CPack's.
  list(PREPEND CMAKE_MODULE_PATH ${packaging}/windows)
else()
  if(NOT TARGET orbelin-service)
    return()
  endif()
  install(TARGETS orbelin-service RUNTIME DESTINATION bin)
  install(FILES ${packaging}/debian/orbelin-service.service DESTINATION /lib/systemd/system)
  install(FILES ${packaging}/debian/orbelin-service.default DESTINATION /etc/default RENAME orbelin-service)
  set(CPACK_PACKAGE_NAME orbelin-service)
  set(CPACK_GENERATOR DEB)
  set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SECTION net)
  set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Local translation service for the Orbelin client")
  set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "${CPACK_PACKAGE_DESCRIPTION_SUMMARY}
 Answers the Orbelin translation client's requests with Apertium (English,
 Spanish, French, Portuguese, Italian) and OpenCC (Simplified and Traditional
 Chinese), and optionally a self-hosted translation server for other pairs.
 It keeps no state between requests, so several can run behind a load
 balancer. Runs as a systemd service; options in /etc/default/orbelin-service.")
  # The libraries come from dpkg-shlibdeps; the engines it runs and the
  # data it reads are named here.
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  set(CPACK_DEBIAN_PACKAGE_DEPENDS
      "apertium, apertium-eng-spa, apertium-fr-es, apertium-es-pt, apertium-spa-ita, libopencc-data")
  set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA
      ${packaging}/debian/conffiles ${packaging}/debian/postinst ${packaging}/debian/prerm ${packaging}/debian/postrm)
  set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
endif()
include(CPack)
