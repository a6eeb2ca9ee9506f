# `pphatch view`: the tool's HTTP server (cpp-httplib) with the page's files
# (apps/pphatch/web) built into the binary as byte arrays.
find_package(Threads REQUIRED)
pkg_check_modules(HTTPLIB REQUIRED IMPORTED_TARGET cpp-httplib)
file(GLOB PPHATCH_WEB_FILES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/apps/pphatch/web/*)
string(REPLACE ";" "|" PPHATCH_WEB_FILE_LIST "${PPHATCH_WEB_FILES}")
set(PPHATCH_WEB_SOURCE ${PROJECT_BINARY_DIR}/generated/web_assets_data.cpp)
add_custom_command(
  OUTPUT ${PPHATCH_WEB_SOURCE}
  COMMAND ${CMAKE_COMMAND} -DFILES=${PPHATCH_WEB_FILE_LIST} -DOUTPUT=${PPHATCH_WEB_SOURCE}
          -P ${PROJECT_SOURCE_DIR}/cmake/embed_files.cmake
  DEPENDS ${PPHATCH_WEB_FILES} ${PROJECT_SOURCE_DIR}/cmake/embed_files.cmake
  COMMENT "Building the viewer page into the tool"
  VERBATIM)
target_sources(pphatch_cli PRIVATE ${PPHATCH_WEB_SOURCE})
target_include_directories(pphatch_cli PRIVATE ${PROJECT_SOURCE_DIR}/apps/pphatch)
target_link_libraries(pphatch_cli PRIVATE PkgConfig::HTTPLIB Threads::Threads)
