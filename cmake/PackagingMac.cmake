# The disk image: both bundles made self-contained by macdeployqt (Qt and the
# Homebrew libraries copied in and relinked), signed when an identity is given.
# Notarisation happens after cpack, on the image (packaging/macos/notarize).

set(CPACK_GENERATOR "DragNDrop")
set(CPACK_DMG_VOLUME_NAME "Tagsmith")
find_program(MACDEPLOYQT macdeployqt HINTS "${Qt6_DIR}/../../../bin" REQUIRED)

foreach(bundle IN LISTS tagsmith_bundles)
    install(DIRECTORY "${CMAKE_BINARY_DIR}/${bundle}.app" DESTINATION "." USE_SOURCE_PERMISSIONS)
    if(RSVG_CONVERT)
        install(FILES "${tagsmith_icon_dir}/tagsmith.icns" DESTINATION "${bundle}.app/Contents/Resources")
    endif()
    install(CODE "
        set(app \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${bundle}.app\")
        execute_process(COMMAND strip -S \"\${app}/Contents/MacOS/VOREvo\" \"\${app}/Contents/MacOS/tagsmith\")
        execute_process(COMMAND \"${MACDEPLOYQT}\" \"\${app}\" \"-executable=\${app}/Contents/MacOS/tagsmith\"
                        COMMAND_ERROR_IS_FATAL ANY)
        if(DEFINED ENV{TAGSMITH_SIGN_IDENTITY})
            execute_process(COMMAND codesign --force --deep --options runtime --timestamp
                                    --sign \"\$ENV{TAGSMITH_SIGN_IDENTITY}\" \"\${app}\"
                            COMMAND_ERROR_IS_FATAL ANY)
        endif()
    ")
endforeach()
