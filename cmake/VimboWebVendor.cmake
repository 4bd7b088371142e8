# The page's libraries from npm, pinned by scripts/web-vendor/package-lock.json and copied into
# web/js/vendor/ at build time (the page loads nothing from the network). Without npm the page
# still runs; only its video export reports that the muxer is missing.
find_program(NPM_EXECUTABLE npm)
if(NOT NPM_EXECUTABLE)
    message(WARNING "npm not found: web/js/vendor/ is not filled and the page cannot export videos")
    return()
endif()
set(VIMBO_NPM_DIR ${CMAKE_BINARY_DIR}/web-vendor)
set(VIMBO_NPM_LOCK ${PROJECT_SOURCE_DIR}/scripts/web-vendor/package-lock.json)
set(VIMBO_VENDOR_DIR ${PROJECT_SOURCE_DIR}/web/js/vendor)
file(MAKE_DIRECTORY ${VIMBO_NPM_DIR})
add_custom_command(
    OUTPUT ${VIMBO_VENDOR_DIR}/mp4-muxer.js
    COMMAND ${CMAKE_COMMAND} -E make_directory ${VIMBO_VENDOR_DIR}
    COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/scripts/web-vendor/package.json ${VIMBO_NPM_LOCK} ${VIMBO_NPM_DIR}
    COMMAND ${NPM_EXECUTABLE} ci --ignore-scripts --no-audit --no-fund --loglevel=error
    COMMAND ${CMAKE_COMMAND} -E copy node_modules/mp4-muxer/build/mp4-muxer.js ${VIMBO_VENDOR_DIR}/mp4-muxer.js
    COMMAND ${CMAKE_COMMAND} -E copy node_modules/mp4-muxer/LICENSE ${VIMBO_VENDOR_DIR}/mp4-muxer.LICENSE
    WORKING_DIRECTORY ${VIMBO_NPM_DIR}
    DEPENDS ${VIMBO_NPM_LOCK}
    COMMENT "Copying the page's pinned npm libraries into web/js/vendor")
add_custom_target(vimbo-web-vendor ALL DEPENDS ${VIMBO_VENDOR_DIR}/mp4-muxer.js)
