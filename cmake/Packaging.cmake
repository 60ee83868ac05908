# Install rules and packages. On Linux a .deb puts both bundles under
# /opt/tagsmith and leans on Debian's own Qt, OpenSSL and friends; on macOS a
# disk image carries both bundles made self-contained with macdeployqt.

set(TAGSMITH_PACKAGING_DIR "${CMAKE_SOURCE_DIR}/packaging")
set(tagsmith_bundles "Tagsmith" "Tagsmith Collector")

# The icon is drawn once, as SVG, and rendered to each platform's sizes here.
find_program(RSVG_CONVERT rsvg-convert)
set(tagsmith_icon_svg "${TAGSMITH_PACKAGING_DIR}/tagsmith.svg")
set(tagsmith_icon_dir "${CMAKE_BINARY_DIR}/icons")
set(tagsmith_icon_sizes 48 128 256)
if(RSVG_CONVERT)
    set(icon_commands "")
    set(icon_outputs "")
    foreach(size IN LISTS tagsmith_icon_sizes)
        list(APPEND icon_outputs "${tagsmith_icon_dir}/${size}/tagsmith.png")
        list(APPEND icon_commands COMMAND "${CMAKE_COMMAND}" -E make_directory "${tagsmith_icon_dir}/${size}"
             COMMAND "${RSVG_CONVERT}" -w ${size} -h ${size} -o "${tagsmith_icon_dir}/${size}/tagsmith.png"
                     "${tagsmith_icon_svg}")
    endforeach()
    if(APPLE)
        set(iconset "${tagsmith_icon_dir}/tagsmith.iconset")
        list(APPEND icon_commands COMMAND "${CMAKE_COMMAND}" -E make_directory "${iconset}")
        foreach(size 16 32 128 256 512)
            math(EXPR double "${size} * 2")
            list(APPEND icon_commands
                 COMMAND "${RSVG_CONVERT}" -w ${size} -h ${size} -o "${iconset}/icon_${size}x${size}.png" "${tagsmith_icon_svg}"
                 COMMAND "${RSVG_CONVERT}" -w ${double} -h ${double} -o "${iconset}/icon_${size}x${size}@2x.png"
                         "${tagsmith_icon_svg}")
        endforeach()
        list(APPEND icon_commands COMMAND iconutil -c icns -o "${tagsmith_icon_dir}/tagsmith.icns" "${iconset}")
        list(APPEND icon_outputs "${tagsmith_icon_dir}/tagsmith.icns")
    endif()
    add_custom_command(OUTPUT ${icon_outputs} ${icon_commands} DEPENDS "${tagsmith_icon_svg}"
                       COMMENT "Rendering the application icon" VERBATIM)
    add_custom_target(tagsmith_icons ALL DEPENDS ${icon_outputs})
else()
    message(STATUS "rsvg-convert not found: packages carry the scalable icon only")
endif()

if(APPLE)
    include("${CMAKE_CURRENT_LIST_DIR}/PackagingMac.cmake")
else()
    include("${CMAKE_CURRENT_LIST_DIR}/PackagingLinux.cmake")
endif()

set(CPACK_PACKAGE_NAME "tagsmith")
set(CPACK_PACKAGE_VENDOR "Tagsmith")
set(CPACK_PACKAGE_CONTACT "Tagsmith <support@tagsmith.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Intake tool for used MacBooks: workstation, collector and relay service")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_STRIP_FILES ON)
include(CPack)
