# Fails when a source under DIR includes a Qt header.
file(GLOB_RECURSE sources ${DIR}/*.h ${DIR}/*.cpp)
foreach(source IN LISTS sources)
  file(STRINGS ${source} hits REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"](Q[A-Za-z]|qt[0-9]*/|qt[a-z]+\\.h)")
  if(hits)
    message(FATAL_ERROR "${source} includes Qt, but this folder is Qt-free core code: ${hits}")
  endif()
endforeach()
