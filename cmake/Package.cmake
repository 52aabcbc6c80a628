# What a desktop installation needs besides the programs, and the Debian package of it all
# ("make package", or "cmake --build build --target package").

set(OBRENTA_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/obrenta)

if(OBRENTA_BUILD_UI)
  foreach(size 16 24 32 48 64 128 256)
    install(FILES ${PROJECT_SOURCE_DIR}/resources/icons/obrenta-${size}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps RENAME obrenta.png)
  endforeach()
  install(FILES ${PROJECT_SOURCE_DIR}/resources/org.example.Obrenta.metainfo.xml
          DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
endif()

# Man pages and the changelog are installed compressed, as Debian keeps them.
find_program(GZIP_PROGRAM gzip)
set(pages obrenta-report.1)
if(OBRENTA_BUILD_UI)
  list(APPEND pages obrenta.1)
endif()
set(compressed)
foreach(source IN LISTS pages ITEMS changelog)
  if(source STREQUAL "changelog")
    set(input ${PROJECT_SOURCE_DIR}/resources/changelog)
  else()
    set(input ${PROJECT_SOURCE_DIR}/resources/man/${source})
  endif()
  set(output ${CMAKE_BINARY_DIR}/doc/${source}.gz)
  add_custom_command(OUTPUT ${output}
                     COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/doc
                     COMMAND ${GZIP_PROGRAM} -9nc ${input} > ${output}
                     DEPENDS ${input} VERBATIM)
  list(APPEND compressed ${output})
endforeach()
add_custom_target(obrenta_docs ALL DEPENDS ${compressed})
foreach(page IN LISTS pages)
  install(FILES ${CMAKE_BINARY_DIR}/doc/${page}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endforeach()
install(FILES ${CMAKE_BINARY_DIR}/doc/changelog.gz DESTINATION ${OBRENTA_DOC_DIR})

# Debian's copyright file in its machine-readable form, the licence's terms taken from LICENSE
# (from its "Permission" on, indented by one space, an empty line written as " .").
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/LICENSE)
file(READ ${PROJECT_SOURCE_DIR}/LICENSE license_text)
string(FIND "${license_text}" "Permission" terms_start)
string(SUBSTRING "${license_text}" ${terms_start} -1 license_text)
string(REGEX REPLACE "\n+$" "" license_text "${license_text}")
string(REGEX REPLACE "\n\n" "\n.\n" license_text "${license_text}")
string(REGEX REPLACE "\n" "\n " license_text "${license_text}")
file(WRITE ${CMAKE_BINARY_DIR}/doc/copyright
     "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/\n"
     "Upstream-Name: Obrenta\n\n"
     "Files: *\n"
     "Copyright: 2026 Obrenta 開発チーム (the Obrenta developers)\n"
     "License: MIT\n"
     " ${license_text}\n")
install(FILES ${CMAKE_BINARY_DIR}/doc/copyright DESTINATION ${OBRENTA_DOC_DIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME obrenta)
set(CPACK_PACKAGE_VENDOR Obrenta)
set(CPACK_PACKAGE_CONTACT "Obrenta <dev@obrenta.example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "statistics of your games from the Murvell score log")
set(CPACK_PACKAGE_DESCRIPTION
    "Obrenta reads the score log of the Murvell mahjong client and shows the statistics of the
selected games in lists and charts; obrenta-report prints them as text or CSV.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The pages are drawn with a Japanese face; the libraries come from dpkg-shlibdeps. Qt's own
# dialogs speak Japanese with Qt's translations, and English without them.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-ipafont-gothic")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n")
set(CPACK_OUTPUT_FILE_PREFIX ${CMAKE_BINARY_DIR}/package)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/_CPack)
include(CPack)
