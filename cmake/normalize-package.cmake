# Run by CPack after it has written its packages (CPACK_POST_BUILD_SCRIPTS). CPack stamps
# the .deb's ar members with the modes the umask left, and adds a zip's members in the order
# the file system lists them; Debian's strip-nondeterminism puts both right, with every time
# SOURCE_DATE_EPOCH (cmake/cpack-options.cmake).
find_program(STRIP_NONDETERMINISM strip-nondeterminism)
if(NOT STRIP_NONDETERMINISM)
    message(FATAL_ERROR "strip-nondeterminism not found: apt-get install strip-nondeterminism")
endif()
if("$ENV{SOURCE_DATE_EPOCH}" STREQUAL "")
    message(FATAL_ERROR "SOURCE_DATE_EPOCH is not set")
endif()
foreach(package IN LISTS CPACK_PACKAGE_FILES)
    if(package MATCHES "\\.deb$")
        set(type ar) # only the outer ar archive: CPack writes its tarballs right
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
