# The DLLs a Windows build of the game and tests loads at run time: the
# cross-built libraries (SDL2, libpng, FreeType), zlib and MinGW-w64's
# threads (the C++ runtime is linked into every program, see
# vantrel/runtime/CMakeLists.txt). VANTREL_WIN_RUNTIME_DLLS lists them with full paths for the
# package; when Wine is present, tests and examples run under it
# (wine-run.sh, with those DLLs' folders on Wine's search path).
set(VANTREL_WIN_RUNTIME_DLLS "")
foreach(dll SDL2.dll libpng16.dll libfreetype.dll zlib1.dll libwinpthread-1.dll)
  find_file(VANTREL_DLL_${dll} ${dll} PATHS ${CMAKE_FIND_ROOT_PATH} ${CMAKE_PREFIX_PATH}
            PATH_SUFFIXES bin lib NO_CACHE REQUIRED NO_CMAKE_FIND_ROOT_PATH)
  list(APPEND VANTREL_WIN_RUNTIME_DLLS ${VANTREL_DLL_${dll}})
endforeach()

if(CMAKE_CROSSCOMPILING AND NOT CMAKE_CROSSCOMPILING_EMULATOR)
  find_program(VANTREL_WINE wine)
  if(VANTREL_WINE)
    set(dirs "")
    foreach(dll ${VANTREL_WIN_RUNTIME_DLLS})
      get_filename_component(dir ${dll} DIRECTORY)
      list(APPEND dirs Z:${dir})
    endforeach()
    list(REMOVE_DUPLICATES dirs)
    list(JOIN dirs ";" VANTREL_WINEPATH)
    configure_file(${CMAKE_CURRENT_LIST_DIR}/wine-run.sh.in ${PROJECT_BINARY_DIR}/wine-run.sh @ONLY
      FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${PROJECT_BINARY_DIR}/wine-run.sh)
  endif()
endif()
