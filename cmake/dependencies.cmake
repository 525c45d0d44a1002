# libqrencode, libpng and zlib, found as installed libraries. A cross build
# points CMAKE_PREFIX_PATH (or CMAKE_FIND_ROOT_PATH) at its own static copies.
find_package(PNG 1.6 REQUIRED)
find_path(QRENCODE_INCLUDE_DIR qrencode.h REQUIRED)
find_library(QRENCODE_LIBRARY NAMES qrencode REQUIRED)

add_library(tessel_deps INTERFACE)
target_include_directories(tessel_deps INTERFACE ${QRENCODE_INCLUDE_DIR})
target_link_libraries(tessel_deps INTERFACE ${QRENCODE_LIBRARY} PNG::PNG)
