# What `cmake --install` and `cpack -G DEB` ship: the three programs, a desktop
# entry with the window's logo as its icon, and the README.
include(GNUInstallDirs)

# The icon is rendered from the window's own logo code at build time.
add_executable(render_icon packaging/render_icon.cpp)
target_link_libraries(render_icon PRIVATE mb_app)
set_target_properties(render_icon PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/packaging)
set(MB_ICON ${CMAKE_BINARY_DIR}/packaging/meterbench.png)
add_custom_command(OUTPUT ${MB_ICON}
  COMMAND render_icon ${MB_ICON}
  DEPENDS render_icon
  COMMENT "Rendering the icon from the window's logo")
add_custom_target(meterbench_icon ALL DEPENDS ${MB_ICON})

install(TARGETS meterbench meterbench-cli meterbench-sim RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES packaging/meterbench.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${MB_ICON} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/256x256/apps)
install(FILES README.md DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/meterbench)

set(CPACK_PACKAGE_NAME meterbench)
set(CPACK_PACKAGE_VENDOR "MeterBench")
set(CPACK_PACKAGE_CONTACT "MeterBench developers <meterbench@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Test bench for heat and water meters (CJ/T 188, M-Bus)")
set(CPACK_PACKAGE_DESCRIPTION
  "A window and a command line (meterbench-cli) to read, scan, address and decode\n heat and water meters on a serial line, with a virtual meter (meterbench-sim).")
set(CPACK_PACKAGE_INSTALL_DIRECTORY meterbench)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
# Dependencies come from the linked libraries (libqt6widgets6, libqt6serialport6, libqt6charts6, ...).
# Building needs libcli11-dev too (meterbench-cli's options; header-only, nothing to ship)
# and libtomlplusplus-dev (the test plans).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# toml++ reads the test plans (meterbench-cli test); named as well, so the package asks for it
# even where dpkg-shlibdeps is not run.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libtomlplusplus3")
set(CPACK_STRIP_FILES ON)  # debug info stays in the build tree
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-wqy-microhei")
include(CPack)
