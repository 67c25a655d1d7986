# Every folder's sources are picked up by pattern, so adding a component means adding its
# files and nothing else. Only the folder itself is searched, not its subfolders.
function(harvo_glob out dir)
  file(GLOB sources CONFIGURE_DEPENDS
    ${CMAKE_SOURCE_DIR}/${dir}/*.cpp)
  set(${out} ${sources} PARENT_SCOPE)
endfunction()
