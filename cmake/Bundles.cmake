# Both roles ship as the same executable inside two application bundles that
# differ only in their identifier; the program picks its role from that
# identifier. The macOS bundle structure is laid out by hand on every OS so
# that Linux runs exercise the same lookup and relaunch code.

set(TAGSMITH_RESOURCES_DIR "${CMAKE_SOURCE_DIR}/resources")

# The first executable becomes Contents/MacOS/VOREvo; the others keep their names.
function(tagsmith_add_bundle target bundle_name identifier main_executable)
    set(bundle_dir "${CMAKE_BINARY_DIR}/${bundle_name}.app")
    set(BUNDLE_IDENTIFIER "${identifier}")
    set(BUNDLE_NAME "${bundle_name}")
    configure_file("${CMAKE_SOURCE_DIR}/cmake/Info.plist.in" "${CMAKE_BINARY_DIR}/${target}.Info.plist" @ONLY)
    file(GLOB_RECURSE resource_files CONFIGURE_DEPENDS "${TAGSMITH_RESOURCES_DIR}/*")
    set(stamp "${CMAKE_BINARY_DIR}/${target}.stamp")
    set(copy_tools "")
    foreach(tool IN LISTS ARGN)
        list(APPEND copy_tools COMMAND "${CMAKE_COMMAND}" -E copy "$<TARGET_FILE:${tool}>" "${bundle_dir}/Contents/MacOS/")
    endforeach()
    add_custom_command(
        OUTPUT "${stamp}"
        COMMAND "${CMAKE_COMMAND}" -E rm -rf "${bundle_dir}"
        COMMAND "${CMAKE_COMMAND}" -E make_directory "${bundle_dir}/Contents/MacOS" "${bundle_dir}/Contents/Resources"
        COMMAND "${CMAKE_COMMAND}" -E copy "${CMAKE_BINARY_DIR}/${target}.Info.plist" "${bundle_dir}/Contents/Info.plist"
        COMMAND "${CMAKE_COMMAND}" -E copy "$<TARGET_FILE:${main_executable}>" "${bundle_dir}/Contents/MacOS/VOREvo"
        ${copy_tools}
        COMMAND "${CMAKE_COMMAND}" -E copy_directory "${TAGSMITH_RESOURCES_DIR}" "${bundle_dir}/Contents/Resources"
        COMMAND "${CMAKE_COMMAND}" -E touch "${stamp}"
        DEPENDS ${main_executable} ${ARGN} ${resource_files} "${CMAKE_BINARY_DIR}/${target}.Info.plist"
        COMMENT "Laying out ${bundle_name}.app"
        VERBATIM)
    add_custom_target(${target} ALL DEPENDS "${stamp}")
endfunction()
