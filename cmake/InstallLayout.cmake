# Where an installation puts things (FHS, GNUInstallDirs): the programs in
# bin/, data/ and lng/ in share/lumetra/, the web player module in the
# library folder's lumetra/.
include(GNUInstallDirs)

set(LUMETRA_INSTALL_PROGRAM_DIR ${CMAKE_INSTALL_DATADIR}/lumetra)
# The module goes to Debian's multiarch library folder whatever the prefix,
# where debhelper would put a private library (/usr/lib/<triplet>/lumetra).
# A folder of its own, as Qt's set-up caches the plain library folder early.
if(CMAKE_LIBRARY_ARCHITECTURE)
  set(_lumetra_module_dir lib/${CMAKE_LIBRARY_ARCHITECTURE}/lumetra)
else()
  set(_lumetra_module_dir ${CMAKE_INSTALL_LIBDIR}/lumetra)
endif()
set(LUMETRA_INSTALL_MODULE_DIR ${_lumetra_module_dir} CACHE PATH
  "Folder of the web player module, below the installation prefix")

# The same two, relative to the programs' folder, for the programs themselves.
if(IS_ABSOLUTE ${LUMETRA_INSTALL_MODULE_DIR})
  set(_lumetra_module_full ${LUMETRA_INSTALL_MODULE_DIR})
else()
  set(_lumetra_module_full ${CMAKE_INSTALL_PREFIX}/${LUMETRA_INSTALL_MODULE_DIR})
endif()
file(RELATIVE_PATH LUMETRA_PROGRAM_FROM_BINDIR
  ${CMAKE_INSTALL_FULL_BINDIR} ${CMAKE_INSTALL_FULL_DATADIR}/lumetra)
file(RELATIVE_PATH LUMETRA_MODULE_FROM_BINDIR ${CMAKE_INSTALL_FULL_BINDIR} ${_lumetra_module_full})
