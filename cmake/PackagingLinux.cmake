# The Debian package: both bundles under /opt/tagsmith, the command lines on the
# PATH, the desktop entry, the .macreport type and the relay's service unit.

set(CPACK_GENERATOR "DEB")
set(CPACK_PACKAGING_INSTALL_PREFIX "/")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION "utils")
# dpkg-shlibdeps finds the libraries the executables link; the rest are loaded
# at run time (Qt's platform plugins, the Chinese fonts and Qt's own
# translations) or run as tools (lp, ip).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, qt6-translations-l10n, fonts-noto-cjk, cups-client, iproute2")

set(bundle_targets_Tagsmith workstation_bundle)
set("bundle_targets_Tagsmith Collector" collector_bundle)
foreach(bundle IN LISTS tagsmith_bundles)
    set(contents "opt/tagsmith/${bundle}.app/Contents")
    install(TARGETS VOREvo tagsmith RUNTIME DESTINATION "${contents}/MacOS")
    install(FILES "${CMAKE_BINARY_DIR}/${bundle_targets_${bundle}}.Info.plist" DESTINATION "${contents}"
            RENAME Info.plist)
    install(DIRECTORY "${CMAKE_BINARY_DIR}/${bundle}.app/Contents/Resources" DESTINATION "${contents}"
            USE_SOURCE_PERMISSIONS)
endforeach()

install(PROGRAMS "${TAGSMITH_PACKAGING_DIR}/linux/tagsmith-workstation" DESTINATION opt/tagsmith/bin)
# The command line finds its bundle through /proc/self/exe, which resolves the link.
install(CODE [[
    set(bin "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}/usr/bin")
    file(MAKE_DIRECTORY "${bin}")
    file(CREATE_LINK /opt/tagsmith/Tagsmith.app/Contents/MacOS/tagsmith "${bin}/tagsmith" SYMBOLIC)
]])

install(FILES "${TAGSMITH_PACKAGING_DIR}/linux/tagsmith.desktop" DESTINATION usr/share/applications)
install(FILES "${TAGSMITH_PACKAGING_DIR}/linux/tagsmith-macreport.xml" DESTINATION usr/share/mime/packages)
install(FILES "${tagsmith_icon_svg}" DESTINATION usr/share/icons/hicolor/scalable/apps)
if(RSVG_CONVERT)
    foreach(size IN LISTS tagsmith_icon_sizes)
        install(FILES "${tagsmith_icon_dir}/${size}/tagsmith.png"
                DESTINATION "usr/share/icons/hicolor/${size}x${size}/apps")
    endforeach()
endif()

if(TARGET tagsmith-relay)
    install(TARGETS tagsmith-relay RUNTIME DESTINATION usr/bin)
    # Installed, not enabled: a shop runs the relay on one server of its choice.
    install(FILES "${TAGSMITH_PACKAGING_DIR}/linux/tagsmith-relay.service" DESTINATION lib/systemd/system)
endif()
