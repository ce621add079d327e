# The libraries of a Windows build, from their own CMake packages (no
# pkg-config there). The engine's subsystems link the targets the Linux
# build gets from pkg-config, so the same names are made here, each
# forwarding to the library's own target. Included by the top-level
# CMakeLists and, installed, by VantrelConfig.cmake.
find_package(Threads REQUIRED)
find_package(PNG REQUIRED)
find_package(ZLIB REQUIRED)
find_package(OpenGL REQUIRED)
find_package(Freetype REQUIRED)
find_package(SDL2 CONFIG REQUIRED)
find_package(Ogg CONFIG REQUIRED)
find_package(Vorbis CONFIG REQUIRED)

function(_vantrel_forward name target)
  if(NOT TARGET PkgConfig::${name})
    add_library(PkgConfig::${name} INTERFACE IMPORTED)
    target_link_libraries(PkgConfig::${name} INTERFACE ${target})
  endif()
endfunction()
_vantrel_forward(SDL2 SDL2::SDL2)
_vantrel_forward(VORBISFILE Vorbis::vorbisfile)
_vantrel_forward(VORBISENC Vorbis::vorbisenc)
_vantrel_forward(VORBIS Vorbis::vorbis)
