# The core (case/, run/) is plain C++ so that the engine and the core tests use
# it without Qt.  Qt's headers are not on its include path, and this check also
# catches an include that names Qt's directory outright or a Qt link library.
function(wtharsel_forbid_qt target)
  get_target_property(libs ${target} LINK_LIBRARIES)
  foreach(lib IN LISTS libs)
    if(lib MATCHES "^Qt")
      message(FATAL_ERROR "${target} is Qt-free core code and must not link ${lib}")
    endif()
  endforeach()
  get_target_property(dir ${target} SOURCE_DIR)
  add_custom_command(TARGET ${target} PRE_LINK
    COMMAND ${CMAKE_COMMAND} -DDIR=${dir} -P ${PROJECT_SOURCE_DIR}/cmake/CheckNoQt.cmake
    VERBATIM)
endfunction()
