# Read by CPack before it writes each package (CPACK_PROJECT_CONFIG_FILE).
if("$ENV{SOURCE_DATE_EPOCH}" STREQUAL "")
    set(ENV{SOURCE_DATE_EPOCH} ${CPACK_VELTRIN_SOURCE_DATE_EPOCH})
endif()
