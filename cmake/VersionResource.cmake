# vantor_add_version_resource(target product description): on Windows the
# program gets a version resource with the project's version as its file
# version (compiled by windres); elsewhere programs carry none.
function(vantor_add_version_resource target product description)
  if(NOT WIN32)
    return()
  endif()
  set(VANTOR_RC_NAME ${target})
  set(VANTOR_RC_PRODUCT ${product})
  set(VANTOR_RC_DESCRIPTION ${description})
  set(rc ${CMAKE_CURRENT_BINARY_DIR}/${target}_version.rc)
  configure_file(${PROJECT_SOURCE_DIR}/cmake/version.rc.in ${rc} @ONLY)
  target_sources(${target} PRIVATE ${rc})
endfunction()
