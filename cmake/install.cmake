# What an installation holds besides the programs and the data set: the
# launchers, the MIME types of level and replay files, the AppStream metainfo,
# the icons (drawn by tools/icons), the manual pages and the licence; and the
# `uninstall` target, which removes what the last installation listed.
set(KELVANE_HOMEPAGE "https://kelvane.org" CACHE STRING "The project's home page, named in the metainfo")
set(KELVANE_SCREENSHOTS_URL "${KELVANE_HOMEPAGE}/screenshots" CACHE STRING
    "Where the pictures of docs/screenshots are published, for the metainfo")
# The date of the release PROJECT_VERSION names, for the metainfo and the manual pages.
set(KELVANE_RELEASE_DATE "2026-12-08")

set(KELVANE_DIST ${CMAKE_BINARY_DIR}/dist)
configure_file(${CMAKE_SOURCE_DIR}/dist/org.kelvane.Kelvane.metainfo.xml.in
               ${KELVANE_DIST}/org.kelvane.Kelvane.metainfo.xml @ONLY)
foreach(page kelvane kelvedit)
  configure_file(${CMAKE_SOURCE_DIR}/dist/${page}.6.in ${KELVANE_DIST}/${page}.6 @ONLY)
endforeach()

if(KELVANE_GUI)
  install(FILES ${CMAKE_SOURCE_DIR}/dist/org.kelvane.Kelvane.desktop
                ${CMAKE_SOURCE_DIR}/dist/org.kelvane.Kelvedit.desktop
          DESTINATION share/applications)
  install(FILES ${KELVANE_DIST}/org.kelvane.Kelvane.metainfo.xml DESTINATION share/metainfo)
  install(FILES ${CMAKE_SOURCE_DIR}/dist/kelvane-mime.xml DESTINATION share/mime/packages
          RENAME kelvane.xml)
  install(DIRECTORY ${CMAKE_BINARY_DIR}/icons/hicolor DESTINATION share/icons)
  install(FILES ${KELVANE_DIST}/kelvane.6 ${KELVANE_DIST}/kelvedit.6 DESTINATION share/man/man6)
  install(FILES ${CMAKE_SOURCE_DIR}/LICENSE DESTINATION share/doc/kelvane)
endif()

add_custom_target(uninstall
  COMMAND ${CMAKE_COMMAND} -DMANIFEST=${CMAKE_BINARY_DIR}/install_manifest.txt
          -P ${CMAKE_SOURCE_DIR}/cmake/uninstall.cmake
  COMMENT "Removing the files of the last installation")
