# Settings every target of the project links.
add_library(corvane_settings INTERFACE)
target_compile_features(corvane_settings INTERFACE cxx_std_20)
set(CMAKE_CXX_EXTENSIONS OFF)
target_compile_definitions(corvane_settings INTERFACE
    QT_NO_CAST_FROM_ASCII
    QT_NO_CONTEXTLESS_CONNECT
    $<$<PLATFORM_ID:Windows>:NOMINMAX WIN32_LEAN_AND_MEAN>)
if(MSVC)
    target_compile_options(corvane_settings INTERFACE /W4 /permissive- /utf-8)
else()
    target_compile_options(corvane_settings INTERFACE -Wall -Wextra -Wpedantic)
endif()

# The program and its companions sit together at the top of the build tree,
# because the program keeps its files beside itself.
set(CORVANE_RUNTIME_DIR ${CMAKE_BINARY_DIR})
