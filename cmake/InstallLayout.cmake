# Where an installation puts things (FHS, GNUInstallDirs): the programs in
# bin/, data/ and lng/ in share/lumetra/, the web player module in the
# library folder's lumetra/. Included right after project(), before anything
# else includes GNUInstallDirs, so the library folder below takes effect.

# Libraries go to Debian's multiarch folder whatever the prefix, as debhelper
# would place them: the web player module in /usr/lib/<triplet>/lumetra.
if(CMAKE_LIBRARY_ARCHITECTURE AND NOT DEFINED CACHE{CMAKE_INSTALL_LIBDIR})
  set(CMAKE_INSTALL_LIBDIR lib/${CMAKE_LIBRARY_ARCHITECTURE} CACHE PATH "Object code libraries (LIBDIR)")
endif()
include(GNUInstallDirs)

set(LUMETRA_INSTALL_PROGRAM_DIR ${CMAKE_INSTALL_DATADIR}/lumetra)
set(LUMETRA_INSTALL_MODULE_DIR ${CMAKE_INSTALL_LIBDIR}/lumetra)

# The same two, relative to the programs' folder, for the programs themselves.
file(RELATIVE_PATH LUMETRA_PROGRAM_FROM_BINDIR
  ${CMAKE_INSTALL_FULL_BINDIR} ${CMAKE_INSTALL_FULL_DATADIR}/lumetra)
file(RELATIVE_PATH LUMETRA_MODULE_FROM_BINDIR
  ${CMAKE_INSTALL_FULL_BINDIR} ${CMAKE_INSTALL_FULL_LIBDIR}/lumetra)
