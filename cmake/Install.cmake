# Where `cmake --install` and the Debian package put things, under the
# prefix: the programs in bin/, the plug-in modules in lib/velmora/ (out of
# the library search path: they are loaded by lwhost or Layout, never
# linked; lib/, not the multiarch lib/<triplet>/, as Debian keeps a
# package's private files in /usr/lib/<package>) and the guide in
# share/doc/velmora/.  Each program or module opts in with one of
# the functions below, next to its add_executable or add_library.
include(GNUInstallDirs)
set(VELMORA_INSTALL_MODULE_DIR lib/velmora)

# The installed module folder seen from the installed programs, so that a
# program finds the modules wherever the whole tree was installed.
file(RELATIVE_PATH VELMORA_MODULE_DIR_FROM_PROGRAMS
  /prefix/${CMAKE_INSTALL_BINDIR} /prefix/${VELMORA_INSTALL_MODULE_DIR})

function(velmora_install_program target)
  install(TARGETS ${target} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endfunction()

function(velmora_install_module target)
  install(TARGETS ${target} LIBRARY DESTINATION ${VELMORA_INSTALL_MODULE_DIR})
endfunction()
