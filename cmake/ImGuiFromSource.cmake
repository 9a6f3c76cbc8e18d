# Dear ImGui for the Windows build, compiled from Debian's imgui source package (the
# same 1.86 the Linux build links) with its win32 and dx11 back ends: pistavox_imgui.
set(PISTAVOX_IMGUI_SOURCE "${PROJECT_SOURCE_DIR}/build/deps/imgui-src" CACHE PATH
    "Debian's imgui source package, unpacked; scripts/install-deps fetches it")
if(NOT EXISTS "${PISTAVOX_IMGUI_SOURCE}/imgui.cpp" OR NOT EXISTS "${PISTAVOX_IMGUI_SOURCE}/backends/imgui_impl_dx11.cpp")
  message(FATAL_ERROR "The imgui source is missing from PISTAVOX_IMGUI_SOURCE (${PISTAVOX_IMGUI_SOURCE}): "
                      "run scripts/install-deps, or point PISTAVOX_IMGUI_SOURCE at an unpacked imgui 1.86.")
endif()

# The interface includes <stb_truetype.h> as on Linux; here it is ImGui's own copy.
set(stb_folder ${CMAKE_BINARY_DIR}/imgui-stb)
file(CONFIGURE OUTPUT ${stb_folder}/stb_truetype.h CONTENT "#include \"${PISTAVOX_IMGUI_SOURCE}/imstb_truetype.h\"\n")

set(imgui ${PISTAVOX_IMGUI_SOURCE})
add_library(pistavox_imgui STATIC
  ${imgui}/imgui.cpp ${imgui}/imgui_draw.cpp ${imgui}/imgui_tables.cpp ${imgui}/imgui_widgets.cpp
  ${imgui}/misc/cpp/imgui_stdlib.cpp
  ${imgui}/backends/imgui_impl_win32.cpp ${imgui}/backends/imgui_impl_dx11.cpp
  # imgui_draw.cpp keeps its stb_truetype static; the font check needs one of its own.
  ${PROJECT_SOURCE_DIR}/ui/stb_truetype_win32.cpp)
target_include_directories(pistavox_imgui SYSTEM PUBLIC ${imgui} ${imgui}/backends ${imgui}/misc/cpp ${stb_folder})
# Third-party code: built as it comes, without the project's warnings.
target_compile_options(pistavox_imgui PRIVATE -w)
target_link_libraries(pistavox_imgui PUBLIC d3d11 d3dcompiler dxgi dwmapi gdi32 imm32)
