# Packs the Windows program as a zip that runs wherever it is unpacked: the
# program with Qt's libraries and plugins and the compiler's runtime beside
# it, so its files are kept beside it too.
install(TARGETS Corvane2 corvane RUNTIME DESTINATION .)
foreach(library Core Gui Widgets)
    install(FILES $<TARGET_FILE:Qt6::${library}> DESTINATION .)
endforeach()
install(FILES $<TARGET_FILE:Qt6::QWindowsIntegrationPlugin> DESTINATION platforms)
install(FILES $<TARGET_FILE:Qt6::QWindowsVistaStylePlugin> DESTINATION styles)
install(FILES $<TARGET_FILE:Qt6::QICOPlugin> DESTINATION imageformats)

# Qt's libraries were built against the compiler's shared runtime.
execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=libstdc++-6.dll
    OUTPUT_VARIABLE libstdcxx OUTPUT_STRIP_TRAILING_WHITESPACE)
execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=libgcc_s_seh-1.dll
    OUTPUT_VARIABLE libgcc OUTPUT_STRIP_TRAILING_WHITESPACE)
find_file(CORVANE_WINPTHREAD_DLL libwinpthread-1.dll
    PATHS /usr/x86_64-w64-mingw32/lib NO_DEFAULT_PATH REQUIRED)
foreach(runtime ${libstdcxx} ${libgcc})
    if(NOT IS_ABSOLUTE ${runtime} OR NOT EXISTS ${runtime})
        message(FATAL_ERROR "The compiler's runtime library ${runtime} was not found")
    endif()
endforeach()
install(FILES ${libstdcxx} ${libgcc} ${CORVANE_WINPTHREAD_DLL} DESTINATION .)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/windows/README.txt DESTINATION .)

# Debian's runtime libraries carry their symbols (libstdc++ 23 MB): strip
# every program and library as it is packed.
find_program(CORVANE_MINGW_STRIP x86_64-w64-mingw32-strip REQUIRED)
install(CODE "
    file(GLOB_RECURSE binaries \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/*.dll\" \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/*.exe\")
    execute_process(COMMAND ${CORVANE_MINGW_STRIP} --strip-unneeded \${binaries} COMMAND_ERROR_IS_FATAL ANY)
")

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME Corvane2)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_FILE_NAME Corvane2-${PROJECT_VERSION}-windows-x64)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
include(CPack)
