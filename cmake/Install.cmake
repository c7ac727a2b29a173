# Installation layout for a Linux desktop and the Debian package built from it
# with `cpack -G DEB` in a Release build directory.
include(GNUInstallDirs)

# Directories created by the installation (and so those in the package) are
# world-readable whatever the umask of the one who builds it.
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(CORVANTA_APP_ID org.corvanta.Corvanta)
set(CORVANTA_DATA_DIR ${CMAKE_INSTALL_DATADIR}/corvanta)

install(TARGETS corvanta-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# The globs are read again at each build, so that a model or language file
# added later is installed without a manual reconfigure.
file(GLOB corvanta_samples CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/samples/*.cvm)
if(corvanta_samples)
  install(FILES ${corvanta_samples} DESTINATION ${CORVANTA_DATA_DIR}/samples)
endif()
file(GLOB corvanta_languages CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/languages/*.cvl)
if(corvanta_languages)
  install(FILES ${corvanta_languages} DESTINATION ${CORVANTA_DATA_DIR}/languages)
endif()

# Manual pages go in compressed, as Debian installs them.
find_program(CORVANTA_GZIP gzip REQUIRED)
set(corvanta_man_pages corvanta-cli)
if(CORVANTA_UI)
  list(APPEND corvanta_man_pages corvanta)
endif()
set(corvanta_compressed_pages)
foreach(page IN LISTS corvanta_man_pages)
  set(source ${PROJECT_SOURCE_DIR}/man/${page}.1)
  set(compressed ${PROJECT_BINARY_DIR}/man/${page}.1.gz)
  # -n leaves name and time out of the header: the same page gives the same bytes.
  add_custom_command(
    OUTPUT ${compressed}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/man
    COMMAND ${CORVANTA_GZIP} -9 -n -c ${source} > ${compressed}
    DEPENDS ${source}
    VERBATIM)
  list(APPEND corvanta_compressed_pages ${compressed})
endforeach()
add_custom_target(corvanta_man_pages ALL DEPENDS ${corvanta_compressed_pages})
install(FILES ${corvanta_compressed_pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

if(CORVANTA_UI)
  set(packaging ${PROJECT_SOURCE_DIR}/packaging)
  install(TARGETS corvanta RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  # The user guide with its pictures, where Help > User guide finds it.
  install(FILES ${PROJECT_SOURCE_DIR}/docs/guide.md DESTINATION ${CORVANTA_DATA_DIR}/guide)
  file(GLOB corvanta_screenshots CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/docs/screenshots/*.png)
  install(FILES ${corvanta_screenshots} DESTINATION ${CORVANTA_DATA_DIR}/guide/screenshots)
  install(FILES ${packaging}/${CORVANTA_APP_ID}.desktop
          DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${packaging}/${CORVANTA_APP_ID}.metainfo.xml
          DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
  install(FILES ${packaging}/${CORVANTA_APP_ID}.xml
          DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)
  set(icons ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
  install(FILES ${packaging}/icons/${CORVANTA_APP_ID}.svg DESTINATION ${icons}/scalable/apps)
  foreach(size 48 256)
    install(FILES ${packaging}/icons/${CORVANTA_APP_ID}-${size}.png
            DESTINATION ${icons}/${size}x${size}/apps RENAME ${CORVANTA_APP_ID}.png)
  endforeach()
endif()

# The Debian package. Its dependencies are those dpkg-shlibdeps finds for
# the executables; the desktop, icon and MIME caches are refreshed by the
# triggers of the packages that own them, so no maintainer scripts are needed.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME corvanta)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Corvanta developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "evaluation of measurement uncertainty by Monte Carlo simulation")
# Written in lines of at most 72 characters: they go into the control file as they are.
set(CPACK_PACKAGE_DESCRIPTION "\
Corvanta evaluates the uncertainty of a measurement by propagating the
probability distributions of its input quantities through the
measurement model. The model is typed as equations; each input quantity
gets a distribution or a table of readings. A run reports the mean,
standard deviation, coverage interval, value and expanded uncertainty,
histogram and the contribution of each input quantity.

The package holds the desktop application corvanta, the batch tool
corvanta-cli, sample models and the language files of the interface.")
set(CORVANTA_PACKAGE_MAINTAINER "Corvanta maintainers <maintainers@corvanta.invalid>"
    CACHE STRING "Maintainer field of the Debian package")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${CORVANTA_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
include(CPack)
