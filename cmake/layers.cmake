# A layer is one folder and one static library. Its headers are reachable only through its
# library: the library publishes a folder of its own that holds a link named after the layer to
# the layer's sources, so "card/x.h" is found only by code that links the card library, and an
# include that goes up a layer fails to compile.
function(velunorh_layer target folder)
  add_library(${target} STATIC ${ARGN})
  set(root "${CMAKE_BINARY_DIR}/layers/${folder}")
  file(MAKE_DIRECTORY "${root}")
  file(CREATE_LINK "${CMAKE_SOURCE_DIR}/${folder}" "${root}/${folder}" SYMBOLIC)
  target_include_directories(${target} PUBLIC "${root}")
endfunction()
