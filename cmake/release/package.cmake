# The release a user downloads: <build>/release/VestroFile-<version>-win64.zip, holding
# VestroFile.exe, README.txt and LICENSE.txt, and SHA256SUMS beside it. Included by
# src/main_window/win32_sources.cmake, where the version text and the VestroFile target exist.
#
#   cmake --build --preset windows --target package
#
# The archive's dates come from SOURCE_DATE_EPOCH, or else from the time of the last commit.
find_package(Python3 3.8 COMPONENTS Interpreter)
if(NOT Python3_Interpreter_FOUND)
    message(STATUS "No Python 3: the package target is not available")
    return()
endif()

set(VESTRO_RELEASE_NAME VestroFile-${VESTRO_VERSION_TEXT}-win64)
set(VESTRO_RELEASE_DIR ${PROJECT_BINARY_DIR}/release)
set(VESTRO_RELEASE_STAGING ${CMAKE_CURRENT_BINARY_DIR}/release)

# Text files for Notepad: CRLF line ends whatever the checkout has.
configure_file(${CMAKE_CURRENT_LIST_DIR}/README.txt.in ${VESTRO_RELEASE_STAGING}/README.txt
               @ONLY NEWLINE_STYLE CRLF)
configure_file(${PROJECT_SOURCE_DIR}/LICENSE ${VESTRO_RELEASE_STAGING}/LICENSE.txt
               @ONLY NEWLINE_STYLE CRLF)

# Always runs (it takes well under a second): a new commit changes the archive's dates even when
# no file changed.
add_custom_target(package
    COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_LIST_DIR}/make_archive.py
            --source-dir ${PROJECT_SOURCE_DIR}
            --output ${VESTRO_RELEASE_DIR}/${VESTRO_RELEASE_NAME}.zip
            VestroFile.exe=$<TARGET_FILE:VestroFile>
            README.txt=${VESTRO_RELEASE_STAGING}/README.txt
            LICENSE.txt=${VESTRO_RELEASE_STAGING}/LICENSE.txt
    # The exe in the archive loads no library from beside itself.
    COMMAND ${Python3_EXECUTABLE} ${PROJECT_SOURCE_DIR}/cmake/pe_loading.py
            check ${VESTRO_RELEASE_DIR}/${VESTRO_RELEASE_NAME}.zip
    BYPRODUCTS ${VESTRO_RELEASE_DIR}/${VESTRO_RELEASE_NAME}.zip ${VESTRO_RELEASE_DIR}/SHA256SUMS
    COMMENT "Packing ${VESTRO_RELEASE_NAME}.zip"
    VERBATIM)
add_dependencies(package VestroFile)
