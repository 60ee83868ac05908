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

# The repository's receiver.json carries a public development key. A shop
# builds with its own file, which then replaces it in every bundle, so that
# its collectors and workstations share one key nobody else has.
set(TAGSMITH_RECEIVER_KEY_FILE "" CACHE FILEPATH
    "receiver.json with the shop's own cable key, copied into both bundles instead of the development key")
if(TAGSMITH_RECEIVER_KEY_FILE)
    if(NOT EXISTS "${TAGSMITH_RECEIVER_KEY_FILE}")
        message(FATAL_ERROR "TAGSMITH_RECEIVER_KEY_FILE: no such file: ${TAGSMITH_RECEIVER_KEY_FILE}")
    endif()
    file(READ "${TAGSMITH_RECEIVER_KEY_FILE}" receiver_json)
    string(JSON receiver_key ERROR_VARIABLE key_error GET "${receiver_json}" key)
    string(JSON receiver_hint ERROR_VARIABLE hint_error GET "${receiver_json}" addressHint)
    # Standard Base64 of exactly 32 bytes is 43 characters and one "=".
    string(LENGTH "${receiver_key}" receiver_key_length)
    if(key_error OR hint_error OR NOT receiver_key_length EQUAL 44 OR NOT receiver_key MATCHES "^[A-Za-z0-9+/]+=$")
        message(FATAL_ERROR "TAGSMITH_RECEIVER_KEY_FILE must hold {\"key\": Base64 of 32 bytes, \"addressHint\": text}")
    endif()
endif()

# A release goes to a shop, and the development key is public: a release
# build carries the shop's own key unless the builder explicitly allows otherwise.
option(TAGSMITH_RELEASE "Build for shipping: refuse the public development cable key" OFF)
option(TAGSMITH_ALLOW_DEVELOPMENT_KEY "Let a release build ship the public development cable key" OFF)
if(TAGSMITH_RELEASE AND NOT TAGSMITH_ALLOW_DEVELOPMENT_KEY)
    file(READ "${TAGSMITH_RESOURCES_DIR}/receiver.json" development_receiver_json)
    string(JSON development_key GET "${development_receiver_json}" key)
    if(NOT TAGSMITH_RECEIVER_KEY_FILE)
        message(FATAL_ERROR "A release build needs the shop's own cable key: "
                            "set TAGSMITH_RECEIVER_KEY_FILE (README, section \"Cable key (receiver.json)\"), "
                            "or TAGSMITH_ALLOW_DEVELOPMENT_KEY=ON for a build that never leaves this machine.")
    elseif(receiver_key STREQUAL development_key)
        message(FATAL_ERROR "TAGSMITH_RECEIVER_KEY_FILE holds the public development key; "
                            "make the shop's own key (README, section \"Cable key (receiver.json)\").")
    endif()
endif()

# Commands that fill bundle_dir/Contents/Resources, and the files they read.
function(tagsmith_resource_commands out_commands out_inputs bundle_dir)
    file(GLOB_RECURSE inputs CONFIGURE_DEPENDS "${TAGSMITH_RESOURCES_DIR}/*")
    set(commands COMMAND "${CMAKE_COMMAND}" -E copy_directory "${TAGSMITH_RESOURCES_DIR}" "${bundle_dir}/Contents/Resources")
    if(TAGSMITH_RECEIVER_KEY_FILE)
        list(APPEND commands COMMAND "${CMAKE_COMMAND}" -E copy "${TAGSMITH_RECEIVER_KEY_FILE}"
                                     "${bundle_dir}/Contents/Resources/receiver.json")
        list(APPEND inputs "${TAGSMITH_RECEIVER_KEY_FILE}")
    endif()
    if(TAGSMITH_RELAY_CONFIGURATION)
        list(APPEND commands COMMAND "${CMAKE_COMMAND}" -E copy "${TAGSMITH_RELAY_CONFIGURATION}"
                                     "${bundle_dir}/Contents/Resources/issuer-public.json")
        list(APPEND inputs "${TAGSMITH_RELAY_CONFIGURATION}")
    endif()
    set(${out_commands} ${commands} PARENT_SCOPE)
    set(${out_inputs} ${inputs} PARENT_SCOPE)
endfunction()

# The first executable becomes Contents/MacOS/VOREvo; the others keep their names.
# OPENS_REPORTS declares the .macreport document type, so that the desktop opens
# report files with this bundle.
function(tagsmith_add_bundle target bundle_name identifier main_executable)
    cmake_parse_arguments(PARSE_ARGV 4 bundle "OPENS_REPORTS" "" "")
    set(bundle_dir "${CMAKE_BINARY_DIR}/${bundle_name}.app")
    set(BUNDLE_IDENTIFIER "${identifier}")
    set(BUNDLE_NAME "${bundle_name}")
    set(BUNDLE_DOCUMENT_TYPES "")
    if(bundle_OPENS_REPORTS)
        file(READ "${CMAKE_SOURCE_DIR}/cmake/DocumentTypes.plist.in" BUNDLE_DOCUMENT_TYPES)
    endif()
    configure_file("${CMAKE_SOURCE_DIR}/cmake/Info.plist.in" "${CMAKE_BINARY_DIR}/${target}.Info.plist" @ONLY)
    tagsmith_resource_commands(copy_resources resource_files "${bundle_dir}")
    set(stamp "${CMAKE_BINARY_DIR}/${target}.stamp")
    set(copy_tools "")
    foreach(tool IN LISTS bundle_UNPARSED_ARGUMENTS)
        list(APPEND copy_tools COMMAND "${CMAKE_COMMAND}" -E copy "$<TARGET_FILE:${tool}>" "${bundle_dir}/Contents/MacOS/")
    endforeach()
    add_custom_command(
        OUTPUT "${stamp}"
        COMMAND "${CMAKE_COMMAND}" -E rm -rf "${bundle_dir}"
        COMMAND "${CMAKE_COMMAND}" -E make_directory "${bundle_dir}/Contents/MacOS" "${bundle_dir}/Contents/Resources"
        COMMAND "${CMAKE_COMMAND}" -E copy "${CMAKE_BINARY_DIR}/${target}.Info.plist" "${bundle_dir}/Contents/Info.plist"
        COMMAND "${CMAKE_COMMAND}" -E copy "$<TARGET_FILE:${main_executable}>" "${bundle_dir}/Contents/MacOS/VOREvo"
        ${copy_tools}
        ${copy_resources}
        COMMAND "${CMAKE_COMMAND}" -E touch "${stamp}"
        DEPENDS ${main_executable} ${bundle_UNPARSED_ARGUMENTS} ${resource_files}
                "${CMAKE_BINARY_DIR}/${target}.Info.plist"
        COMMENT "Laying out ${bundle_name}.app"
        VERBATIM)
    add_custom_target(${target} ALL DEPENDS "${stamp}")
endfunction()
