# Installation and packaging: the program, its desktop entry and icons, the
# Windows resources, and a Debian package through CPack.
include(GNUInstallDirs)

set(BRINDELOR_PACKAGING_DIR ${PROJECT_SOURCE_DIR}/packaging)

# The resource script carries the version by hand (rc and windres alike
# take it as it is); refuse to build a program whose record lies.
file(STRINGS ${BRINDELOR_PACKAGING_DIR}/windows/brindelor.rc _rc_file_version
     REGEX "VALUE \"FileVersion\"")
if(NOT _rc_file_version MATCHES "\"${PROJECT_VERSION}\\\\0\"")
  message(FATAL_ERROR "packaging/windows/brindelor.rc: FileVersion is not ${PROJECT_VERSION}")
endif()
string(REPLACE "." "," _rc_binary_version "${PROJECT_VERSION}")
file(STRINGS ${BRINDELOR_PACKAGING_DIR}/windows/brindelor.rc _rc_binary
     REGEX "^FILEVERSION ")
if(NOT _rc_binary STREQUAL "FILEVERSION ${_rc_binary_version}")
  message(FATAL_ERROR "packaging/windows/brindelor.rc: FILEVERSION is not ${_rc_binary_version}")
endif()

if(TARGET brindelor)
  install(TARGETS brindelor RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  if(WIN32)
    # Version record, icon and manifest; the .rc finds its files beside itself.
    target_sources(brindelor PRIVATE ${BRINDELOR_PACKAGING_DIR}/windows/brindelor.rc)
    set_property(SOURCE ${BRINDELOR_PACKAGING_DIR}/windows/brindelor.rc APPEND PROPERTY
                 OBJECT_DEPENDS ${BRINDELOR_PACKAGING_DIR}/windows/brindelor.ico
                                ${BRINDELOR_PACKAGING_DIR}/windows/brindelor.manifest)
    if(MSVC)
      # The manifest is ours, in the resources; the linker must not add its own.
      target_link_options(brindelor PRIVATE /MANIFEST:NO)
    endif()
  endif()
endif()
if(TARGET brindelor-calc)
  install(TARGETS brindelor-calc RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()

# The PNGs and the .ico are committed, rendered from icons/brindelor.svg by hand:
#   for s in 16 24 32 48 64 128; do
#     rsvg-convert -w $s -h $s brindelor.svg -o brindelor-$s.png; done
#   convert brindelor-{16,24,32,48,64,128}.png ../windows/brindelor.ico
if(UNIX AND NOT APPLE)
  install(FILES ${BRINDELOR_PACKAGING_DIR}/brindelor.desktop
          DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  foreach(size 16 24 32 48 64 128)
    install(FILES ${BRINDELOR_PACKAGING_DIR}/icons/brindelor-${size}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
            RENAME brindelor.png)
  endforeach()
  install(FILES ${BRINDELOR_PACKAGING_DIR}/icons/brindelor.svg
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
endif()

# CPack: a Debian package, `cmake --build <dir> --target package`.
set(BRINDELOR_PACKAGE_MAINTAINER "Brindelor <brindelor@example.org>"
    CACHE STRING "Maintainer written into the Debian package")

set(CPACK_PACKAGE_NAME brindelor)
set(CPACK_PACKAGE_VENDOR "Brindelor")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Calcul des tarifs CCAM avec modificateurs")
set(CPACK_PACKAGE_CONTACT ${BRINDELOR_PACKAGE_MAINTAINER})
set(CPACK_PACKAGE_INSTALL_DIRECTORY brindelor)
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_PACKAGE_NAME brindelor)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${BRINDELOR_PACKAGE_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# Qt and the C++ run-time, found by dpkg-shlibdeps (package dpkg-dev).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Tahoma, metric-compatible, for the window's font; without it a fallback is used.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-wine")
# CPack puts the summary first and indents these lines for the control file.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Brindelor est une petite calculatrice pour la facturation médicale : on
saisit le tarif de base d'un acte de la CCAM, on choisit jusqu'à deux
modificateurs (O, 9, I, X, K) et la fenêtre affiche le pourcentage
d'augmentation, le tarif au 01/07/2013, le tarif au 01/03/2014 calculé
de deux façons et leur différence.

Les liens de la fenêtre ouvrent la recherche d'actes de la CCAM et le
texte du Journal officiel dans le navigateur.")

include(CPack)
