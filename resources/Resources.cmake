# The packed archive: every file of resources/archive/, packed by rezpack in
# case-insensitive alphabetical order of name, carried as resource "REZ" 102.
set(REZ_FILE ${CMAKE_BINARY_DIR}/resources/dorirova.rez)
file(GLOB ARCHIVE_FILES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/resources/archive/*)
list(FILTER ARCHIVE_FILES EXCLUDE REGEX "/\\.[^/]*$")
if(TARGET rezpack)
  add_custom_command(OUTPUT ${REZ_FILE}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/resources
    COMMAND rezpack pack ${REZ_FILE} ${ARCHIVE_FILES}
    DEPENDS rezpack ${ARCHIVE_FILES}
    COMMENT "Packing resources/archive into dorirova.rez"
    VERBATIM)
else()
  # No packer yet: an archive with no entries (a count of 0).
  add_custom_command(OUTPUT ${REZ_FILE}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/resources
    COMMAND sh -c "printf '\\000\\000\\000\\000' > ${REZ_FILE}"
    VERBATIM)
endif()
add_custom_target(dorirova_rez DEPENDS ${REZ_FILE})

dorirova_library(dorirova_blobs resources)
embed_resource(dorirova_blobs dorirova_rez ${REZ_FILE})
embed_resource(dorirova_blobs dorirova_banner ${CMAKE_SOURCE_DIR}/resources/banner.bmp)
add_dependencies(dorirova_blobs dorirova_rez)
target_link_libraries(dorirova_blobs PUBLIC dorirova_platform)
