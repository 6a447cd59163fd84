# What makes two builds of one commit give the same bytes, wherever and whenever they run.

# No build path in a binary: the source and build folders are written as fixed names in
# whatever the compiler records (__FILE__, debug information), the build folder first, as it
# may lie inside the source folder and the last match wins.
add_compile_options(
    $<$<COMPILE_LANGUAGE:CXX>:-ffile-prefix-map=${PROJECT_SOURCE_DIR}=.>
    $<$<COMPILE_LANGUAGE:CXX>:-ffile-prefix-map=${PROJECT_BINARY_DIR}=build>)

# MinGW's linker stamps each executable with the time it was linked; zero instead.
if(WIN32 AND CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    add_link_options(LINKER:--no-insert-timestamp)
endif()

# The folders CPack stages its packages in are made with these permissions, not the umask's.
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE
    GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

# Every time a package records is SOURCE_DATE_EPOCH: CPack stamps archive members with it,
# and cmake/normalize-package.cmake the rest. Where it is not set when CPack runs, the time
# of the commit the build was configured from stands in (for an unpacked source archive,
# whose files all carry the commit's time, that of CMakeLists.txt).
if(DEFINED ENV{SOURCE_DATE_EPOCH})
    set(CPACK_VELTRIN_SOURCE_DATE_EPOCH $ENV{SOURCE_DATE_EPOCH})
else()
    execute_process(COMMAND git log -1 --format=%ct
        WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
        OUTPUT_VARIABLE CPACK_VELTRIN_SOURCE_DATE_EPOCH OUTPUT_STRIP_TRAILING_WHITESPACE
        RESULT_VARIABLE failed ERROR_QUIET)
    if(failed OR NOT EXISTS ${PROJECT_SOURCE_DIR}/.git)
        file(TIMESTAMP ${PROJECT_SOURCE_DIR}/CMakeLists.txt CPACK_VELTRIN_SOURCE_DATE_EPOCH
            %s UTC)
    endif()
endif()
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_CURRENT_LIST_DIR}/cpack-options.cmake)
set(CPACK_POST_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/normalize-package.cmake)
