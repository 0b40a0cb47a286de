# giflib_peer: giflib as the GIF codec's peer (giflibpeer.cpp). The codec's tests check files
# against it and its benchmark measures against it; both include this file, and the library is
# made once, where giflib is found.
if(NOT TARGET giflib_peer)
  find_package(GIF)
  if(GIF_FOUND)
    add_library(giflib_peer STATIC ${CMAKE_CURRENT_LIST_DIR}/giflibpeer.cpp)
    target_link_libraries(giflib_peer PUBLIC tarnwick_options GIF::GIF)
  endif()
endif()
