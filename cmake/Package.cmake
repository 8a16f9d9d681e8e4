# The Debian package: `cpack -G DEB` in the build folder (or the `package` target), after the
# build, packs what `cmake --install` installs under the prefix /usr, so the plug-ins land in
# /usr/lib/vst and their LV2 bundles in /usr/lib/lv2. The run-time dependencies are computed
# from the libraries by dpkg-shlibdeps; the version is the project's.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME plugfamily-vst)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "plugfamily")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "four stereo audio effect plug-ins for Linux VST 2.x hosts")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
  "Four stereo effects, each a VST 2.x plug-in with its own bitmap editor,\n"
  "for the hosts that load Linux VST 2.x plug-ins.\n")
foreach(plugin ${BUILT_PLUGINS})
  get_property(summary GLOBAL PROPERTY FAMILY_SUMMARY_${plugin})
  string(APPEND CPACK_PACKAGE_DESCRIPTION " ${plugin}: ${summary}\n")
endforeach()
string(APPEND CPACK_PACKAGE_DESCRIPTION
  "They are installed into /usr/lib/vst, a folder the hosts scan by default, and\n"
  "each also as an LV2 plug-in with the same panel into /usr/lib/lv2.")
set(CPACK_PACKAGE_CONTACT "plugfamily maintainers <maintainers@plugfamily.example>" CACHE STRING
  "Maintainer named in the Debian package")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# dpkg-shlibdeps answers for the libraries the plug-ins link; nothing is listed by hand.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "")
# The copyright file and changelog Debian asks of every package: a component of their own,
# left out of `cmake --install` and packed together with the plug-ins.
set(PACKAGE_CHANGELOG "${CMAKE_BINARY_DIR}/debian/changelog")
configure_file("${CMAKE_CURRENT_LIST_DIR}/debian/changelog.in" "${PACKAGE_CHANGELOG}" @ONLY)
install(FILES "${CMAKE_CURRENT_LIST_DIR}/debian/copyright"
  DESTINATION "share/doc/${CPACK_PACKAGE_NAME}" COMPONENT package_docs EXCLUDE_FROM_ALL)
install(CODE "
  execute_process(COMMAND gzip -9n -c \"${PACKAGE_CHANGELOG}\"
    OUTPUT_FILE \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/share/doc/${CPACK_PACKAGE_NAME}/changelog.gz\"
    RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR \"gzip could not compress the changelog\")
  endif()" COMPONENT package_docs EXCLUDE_FROM_ALL)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_GROUPING ALL_COMPONENTS_IN_ONE)
set(CPACK_COMPONENTS_ALL plugins package_docs)
set(CPACK_DEBIAN_PACKAGE_NAME ${CPACK_PACKAGE_NAME})
include(CPack)
