# Where `cmake --install` puts things (FHS places under the prefix). The program finds its data
# and converters relative to its own folder, so a staged (DESTDIR) or relocated tree works too.
include(GNUInstallDirs)

# Help page and shipped term file.
set(QUILLET_INSTALL_DATADIR "${CMAKE_INSTALL_DATADIR}/quillet")
# Converter libraries (.so) shipped with the project. Converter targets install here:
#   install(TARGETS <converter> LIBRARY DESTINATION "${QUILLET_INSTALL_CONVERTERDIR}")
set(QUILLET_INSTALL_CONVERTERDIR "${CMAKE_INSTALL_LIBDIR}/quillet/converters" CACHE STRING
    "Folder, relative to the prefix, for the converter libraries")
# The read-only machine store with the converter registrations. It is read from the absolute
# /etc/quillet/machine.reg (or $QUILLET_MACHINE_STORE) whatever the prefix, so it installs there.
set(QUILLET_INSTALL_MACHINESTOREDIR "/etc/quillet")
# The application's id: the names of its .desktop and metainfo files.
set(QUILLET_APP_ID "org.fernlake.Quillet")

file(RELATIVE_PATH QUILLET_RELATIVE_DATADIR "${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}"
     "${CMAKE_INSTALL_PREFIX}/${QUILLET_INSTALL_DATADIR}")
file(RELATIVE_PATH QUILLET_RELATIVE_CONVERTERDIR "${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}"
     "${CMAKE_INSTALL_PREFIX}/${QUILLET_INSTALL_CONVERTERDIR}")
