# Where `cmake --install` puts the plug-ins.
#
# A per-user install is the default: the install prefix defaults to the home folder and a
# prefix equal to it puts the plug-ins into ~/.vst. Any other prefix puts them into
# <prefix>/lib/vst, the folder hosts scan without any setting (so `sudo cmake --install build
# --prefix /usr/local` lands in /usr/local/lib/vst and the Debian package in /usr/lib/vst).
# PLUGIN_INSTALL_DIR, when set, is used instead (relative to the prefix unless absolute).
set(PER_USER_PREFIX "$ENV{HOME}")

# Build folders configured before the two layouts existed hold CMake's own default prefix and
# the old default folder ~/.vst; they are moved onto the new defaults once.
if(NOT DEFINED CACHE{PLUGIN_INSTALL_LAYOUT} AND "$CACHE{PLUGIN_INSTALL_DIR}" STREQUAL
   "${PER_USER_PREFIX}/.vst")
  unset(PLUGIN_INSTALL_DIR CACHE)
  if(CMAKE_INSTALL_PREFIX STREQUAL "/usr/local")
    set(CMAKE_INSTALL_PREFIX_INITIALIZED_TO_DEFAULT ON)
  endif()
endif()
set(PLUGIN_INSTALL_LAYOUT 2 CACHE INTERNAL "Version of the install layout rules")

if(CMAKE_INSTALL_PREFIX_INITIALIZED_TO_DEFAULT)
  set(CMAKE_INSTALL_PREFIX "${PER_USER_PREFIX}" CACHE PATH
    "Install prefix: ${PER_USER_PREFIX} installs into ~/.vst, any other into <prefix>/lib/vst" FORCE)
endif()
set(PLUGIN_INSTALL_DIR "" CACHE PATH
  "Folder the plug-ins are installed into (empty: ~/.vst or <prefix>/lib/vst, by prefix)")

# `cpack` runs the install rules; they must not build the whole tree first (tests and benchmarks
# included) but install what has been built.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)

# install_vst_plugins(TARGETS...): the install rule of the plug-in libraries, named by target.
function(install_vst_plugins)
  if(PLUGIN_INSTALL_DIR)
    install(TARGETS ${ARGN} LIBRARY DESTINATION "${PLUGIN_INSTALL_DIR}" COMPONENT plugins)
    return()
  endif()
  # The folder is chosen when the install runs, since --prefix is only known then.
  install(CODE "
    if(CMAKE_INSTALL_PREFIX STREQUAL \"${PER_USER_PREFIX}\")
      set(plugin_folder .vst)
    else()
      set(plugin_folder lib/vst)
    endif()" COMPONENT plugins)
  install(TARGETS ${ARGN} LIBRARY DESTINATION "\${plugin_folder}" COMPONENT plugins)
endfunction()

# install_lv2_bundles(NAMES...): the LV2 bundles build/lv2/NAME.lv2 beside the plug-ins, by the
# same rule: ~/.lv2 for a per-user install, <prefix>/lib/lv2 for any other prefix (the Debian
# package: /usr/lib/lv2), or LV2_INSTALL_DIR when set.
set(LV2_INSTALL_DIR "" CACHE PATH
  "Folder the LV2 bundles are installed into (empty: ~/.lv2 or <prefix>/lib/lv2, by prefix)")
function(install_lv2_bundles)
  if(LV2_INSTALL_DIR)
    set(folder "${LV2_INSTALL_DIR}")
  else()
    install(CODE "
      if(CMAKE_INSTALL_PREFIX STREQUAL \"${PER_USER_PREFIX}\")
        set(lv2_folder .lv2)
      else()
        set(lv2_folder lib/lv2)
      endif()" COMPONENT plugins)
    set(folder "\${lv2_folder}")
  endif()
  foreach(name ${ARGN})
    set(bundle "${CMAKE_BINARY_DIR}/lv2/${name}.lv2")
    install(TARGETS ${name}_lv2 ${name}_lv2ui LIBRARY DESTINATION "${folder}/${name}.lv2"
      COMPONENT plugins)
    install(FILES ${bundle}/manifest.ttl ${bundle}/${name}.ttl
      DESTINATION "${folder}/${name}.lv2" COMPONENT plugins)
  endforeach()
endfunction()
