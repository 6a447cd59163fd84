# Run by CPack after it has written its packages (CPACK_POST_BUILD_SCRIPTS). CPack takes a
# .deb's Installed-Size from the sizes of folders on disk, which depend on the file system
# (deb-installed-size.py sets it from the files), stamps its ar members with the modes the
# umask left, and adds a zip's members in the order the file system lists them; Debian's
# strip-nondeterminism puts the last two right, with every time SOURCE_DATE_EPOCH
# (cmake/cpack-options.cmake).
find_program(STRIP_NONDETERMINISM strip-nondeterminism)
find_program(PYTHON3 python3 PATHS /usr/bin NO_DEFAULT_PATH)
if(NOT STRIP_NONDETERMINISM OR NOT PYTHON3)
    message(FATAL_ERROR "apt-get install strip-nondeterminism python3: packages need them")
endif()
if("$ENV{SOURCE_DATE_EPOCH}" STREQUAL "")
    message(FATAL_ERROR "SOURCE_DATE_EPOCH is not set")
endif()
foreach(package IN LISTS CPACK_PACKAGE_FILES)
    if(package MATCHES "\\.deb$")
        execute_process(COMMAND ${PYTHON3} ${CMAKE_CURRENT_LIST_DIR}/deb-installed-size.py
            ${package} RESULT_VARIABLE failed)
        if(failed)
            message(FATAL_ERROR "deb-installed-size.py failed on ${package}")
        endif()
        set(type ar) # only the outer ar archive: its tarballs are already right
    elseif(package MATCHES "\\.zip$")
        set(type zip)
    else()
        continue()
    endif()
    # ar is not normalised unless asked: strip-nondeterminism otherwise leaves .deb files alone.
    execute_process(COMMAND ${STRIP_NONDETERMINISM} --normalizers +${type} --type ${type}
        --timestamp $ENV{SOURCE_DATE_EPOCH} ${package}
        RESULT_VARIABLE failed)
    if(failed)
        message(FATAL_ERROR "strip-nondeterminism failed on ${package}")
    endif()
endforeach()
