# The game on Windows, in one folder: qirn.exe, the DLLs it loads, gfx/,
# snd/, LICENSE.txt and the licences of the libraries in licenses/. This is
# the component "game" that cpack packs as qirn-<version>-win64.zip and as
# an NSIS installer (Program Files\QIRN, a Start-menu entry, an uninstaller).
# Included by packaging/CMakeLists.txt.
install(TARGETS qirn RUNTIME DESTINATION . COMPONENT game)
install(FILES ${VANTREL_WIN_RUNTIME_DLLS} DESTINATION . COMPONENT game)
install(DIRECTORY ${PROJECT_BINARY_DIR}/game/gfx ${PROJECT_BINARY_DIR}/game/snd
        DESTINATION . COMPONENT game)
install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION . RENAME LICENSE.txt COMPONENT game)
install(DIRECTORY ${VANTREL_WIN_DEPS}/licenses/ DESTINATION licenses COMPONENT game)

set(CPACK_PACKAGE_FILE_NAME qirn-${PROJECT_VERSION}-win64)
set(CPACK_PACKAGE_INSTALL_DIRECTORY QIRN)
set(CPACK_PACKAGE_EXECUTABLES qirn QIRN)
set(CPACK_NSIS_EXECUTABLES_DIRECTORY .)
set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
set(CPACK_NSIS_DISPLAY_NAME QIRN)
set(CPACK_NSIS_PACKAGE_NAME QIRN)
set(CPACK_NSIS_INSTALLED_ICON_NAME qirn.exe)
set(CPACK_NSIS_MUI_ICON ${PROJECT_BINARY_DIR}/game/icons/qirn.ico)
set(CPACK_NSIS_MUI_UNIICON ${PROJECT_BINARY_DIR}/game/icons/qirn.ico)
set(CPACK_NSIS_ENABLE_UNINSTALL_BEFORE_INSTALL ON)
# A 64-bit installer for a 64-bit game (NSIS's default stub is 32-bit).
# The uninstaller removes the installer's own key but not the vendor's
# above it, which held only that key: removed once the uninstall is done.
set(CPACK_NSIS_DEFINES "Target amd64-unicode
Function un.onUninstSuccess
  DeleteRegKey /ifempty SHCTX 'Software\\\\QIRN developers'
FunctionEnd")
set(CPACK_GENERATOR ZIP NSIS)
