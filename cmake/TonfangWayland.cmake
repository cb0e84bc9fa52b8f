# The native Wayland pick: client code of the protocols it speaks (and the
# virtual pointer its tests drive it with), generated at build time by
# wayland-scanner. Without the libraries the build goes on and
# every Wayland pick goes through the desktop portal.
find_package(PkgConfig REQUIRED)
pkg_check_modules(WAYLAND IMPORTED_TARGET wayland-client xkbcommon)
pkg_get_variable(WAYLAND_SCANNER wayland-scanner wayland_scanner)
pkg_get_variable(WAYLAND_PROTOCOLS_DIR wayland-protocols pkgdatadir)
# The wlroots protocols come with Debian's Rust crate of the Wayland protocols.
file(GLOB TONFANG_WLR_PROTOCOLS_DIR
     /usr/share/cargo/registry/wayland-protocols-*/wlr-protocols/unstable)
if(TONFANG_WLR_PROTOCOLS_DIR)
  list(SORT TONFANG_WLR_PROTOCOLS_DIR ORDER DESCENDING)
  list(GET TONFANG_WLR_PROTOCOLS_DIR 0 TONFANG_WLR_PROTOCOLS_DIR)
endif()

set(TONFANG_WAYLAND OFF)
if(WAYLAND_FOUND AND WAYLAND_SCANNER AND WAYLAND_PROTOCOLS_DIR
   AND EXISTS "${TONFANG_WLR_PROTOCOLS_DIR}/wlr-screencopy-unstable-v1.xml")
  set(TONFANG_WAYLAND ON)
  enable_language(C)
else()
  message(STATUS "Wayland client libraries or protocol files missing: "
                 "Wayland picks go through the desktop portal only")
endif()

# tonfang_wayland_protocols(TARGET xml...): a static library with the client
# code of the given protocol files; its headers are included by the file's
# name, e.g. "wlr-screencopy-unstable-v1-client-protocol.h".
function(tonfang_wayland_protocols target)
  set(dir ${CMAKE_BINARY_DIR}/wayland-protocols)
  file(MAKE_DIRECTORY ${dir})
  set(sources)
  foreach(xml IN LISTS ARGN)
    get_filename_component(name ${xml} NAME_WE)
    add_custom_command(
      OUTPUT ${dir}/${name}-client-protocol.h ${dir}/${name}-protocol.c
      COMMAND ${WAYLAND_SCANNER} client-header ${xml} ${dir}/${name}-client-protocol.h
      COMMAND ${WAYLAND_SCANNER} private-code ${xml} ${dir}/${name}-protocol.c
      DEPENDS ${xml} VERBATIM)
    list(APPEND sources ${dir}/${name}-client-protocol.h ${dir}/${name}-protocol.c)
  endforeach()
  add_library(${target} STATIC ${sources})
  target_include_directories(${target} PUBLIC ${dir})
  target_link_libraries(${target} PUBLIC PkgConfig::WAYLAND)
endfunction()

if(TONFANG_WAYLAND)
  tonfang_wayland_protocols(tonfang_wayland_protocols
    ${TONFANG_WLR_PROTOCOLS_DIR}/wlr-screencopy-unstable-v1.xml
    ${TONFANG_WLR_PROTOCOLS_DIR}/wlr-layer-shell-unstable-v1.xml
    ${TONFANG_WLR_PROTOCOLS_DIR}/wlr-virtual-pointer-unstable-v1.xml
    ${WAYLAND_PROTOCOLS_DIR}/stable/viewporter/viewporter.xml
    ${WAYLAND_PROTOCOLS_DIR}/stable/xdg-shell/xdg-shell.xml)
endif()
