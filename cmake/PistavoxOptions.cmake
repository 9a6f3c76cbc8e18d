# Warnings and sanitizers shared by every target of the project.
add_library(pistavox_options INTERFACE)
# GCC 12 also warns of members a designated initializer leaves at their defaults, which is the
# point of writing one; a forgotten member of a positional initializer has its default too.
target_compile_options(pistavox_options INTERFACE -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wno-sign-conversion
                                                  -Wno-missing-field-initializers)

if(PISTAVOX_SANITIZE)
  target_compile_options(pistavox_options INTERFACE -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  target_link_options(pistavox_options INTERFACE -fsanitize=address,undefined)
endif()

if(PISTAVOX_FUZZ)
  # Coverage for libFuzzer in every library; the fuzz targets add the fuzzer's main.
  target_compile_options(pistavox_options INTERFACE -fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  target_link_options(pistavox_options INTERFACE -fsanitize=address,undefined)
endif()

if(NOT WIN32 AND NOT PISTAVOX_SANITIZE AND NOT PISTAVOX_FUZZ)
  # The C++ runtime inside each program: it runs on other distributions' libstdc++
  # and starts a few milliseconds sooner, without resolving a shared library's symbols.
  target_link_options(pistavox_options INTERFACE -static-libstdc++ -static-libgcc)
endif()

if(WIN32)
  # One self-contained .exe per program: no libstdc++, libgcc or winpthread DLLs.
  target_link_options(pistavox_options INTERFACE -static)
  target_compile_definitions(pistavox_options INTERFACE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
endif()

find_package(Threads REQUIRED)

# pistavox_include_surface(TARGET): TARGET's headers are included as "folder/header.h",
# folder being TARGET's source folder relative to the project. The include path holds
# that folder alone, so a target sees only the headers of itself and of what it links:
# a header of a layer above fails to compile instead of creeping in.
function(pistavox_include_surface target)
  file(RELATIVE_PATH folder ${PROJECT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR})
  string(REPLACE "/" "_" root_name "${folder}")
  set(root ${CMAKE_BINARY_DIR}/include/${root_name})
  if(NOT EXISTS ${root}/${folder})
    get_filename_component(parent ${root}/${folder} DIRECTORY)
    file(MAKE_DIRECTORY ${parent})
    file(CREATE_LINK ${CMAKE_CURRENT_SOURCE_DIR} ${root}/${folder} SYMBOLIC)
  endif()
  get_target_property(type ${target} TYPE)
  if(type STREQUAL "EXECUTABLE")
    target_include_directories(${target} PRIVATE ${root})
  elseif(type STREQUAL "INTERFACE_LIBRARY")
    target_include_directories(${target} INTERFACE ${root})
  else()
    target_include_directories(${target} PUBLIC ${root})
  endif()
endfunction()
