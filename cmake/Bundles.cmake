# Both roles ship as the same executable inside two application bundles that
# differ only in their identifier; the program picks its role from that
# identifier. The macOS bundle structure is laid out by hand on every OS so
# that Linux runs exercise the same lookup and relaunch code.

set(TAGSMITH_RESOURCES_DIR "${CMAKE_SOURCE_DIR}/resources")

# The relay's address and ticket key are the deployment's, not the source
# tree's: a build gets issuer-public.json only when it is given one. Without
# it the collector shows the relay configuration error and sends nothing.
set(TAGSMITH_RELAY_CONFIGURATION "" CACHE FILEPATH
    "issuer-public.json ({\"licenseServer\": URL, \"publicKey\": base64}) to ship in the bundles")
if(TAGSMITH_RELAY_CONFIGURATION)
    file(READ "${TAGSMITH_RELAY_CONFIGURATION}" relay_configuration_text)
    foreach(member licenseServer publicKey)
        string(JSON ignored ERROR_VARIABLE relay_configuration_error GET "${relay_configuration_text}" ${member})
        if(relay_configuration_error)
            message(FATAL_ERROR "TAGSMITH_RELAY_CONFIGURATION: ${relay_configuration_error}")
        endif()
    endforeach()
endif()

# The first executable becomes Contents/MacOS/VOREvo; the others keep their names.
function(tagsmith_add_bundle target bundle_name identifier main_executable)
    set(bundle_dir "${CMAKE_BINARY_DIR}/${bundle_name}.app")
    set(BUNDLE_IDENTIFIER "${identifier}")
    set(BUNDLE_NAME "${bundle_name}")
    configure_file("${CMAKE_SOURCE_DIR}/cmake/Info.plist.in" "${CMAKE_BINARY_DIR}/${target}.Info.plist" @ONLY)
    file(GLOB_RECURSE resource_files CONFIGURE_DEPENDS "${TAGSMITH_RESOURCES_DIR}/*")
    set(stamp "${CMAKE_BINARY_DIR}/${target}.stamp")
    set(relay_configuration_copy "")
    if(TAGSMITH_RELAY_CONFIGURATION)
        set(relay_configuration_copy COMMAND "${CMAKE_COMMAND}" -E copy "${TAGSMITH_RELAY_CONFIGURATION}"
            "${bundle_dir}/Contents/Resources/issuer-public.json")
    endif()
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
        ${relay_configuration_copy}
        COMMAND "${CMAKE_COMMAND}" -E touch "${stamp}"
        DEPENDS ${main_executable} ${ARGN} ${resource_files} ${TAGSMITH_RELAY_CONFIGURATION}
                "${CMAKE_BINARY_DIR}/${target}.Info.plist"
        COMMENT "Laying out ${bundle_name}.app"
        VERBATIM)
    add_custom_target(${target} ALL DEPENDS "${stamp}")
endfunction()
