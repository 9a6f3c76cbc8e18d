# Warnings and sanitizers shared by every target of the project.
add_library(pistavox_options INTERFACE)
target_include_directories(pistavox_options INTERFACE ${PROJECT_SOURCE_DIR})
target_compile_options(pistavox_options INTERFACE -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wno-sign-conversion)

if(PISTAVOX_SANITIZE)
  target_compile_options(pistavox_options INTERFACE -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  target_link_options(pistavox_options INTERFACE -fsanitize=address,undefined)
endif()

if(PISTAVOX_FUZZ)
  # Coverage for libFuzzer in every library; the fuzz targets add the fuzzer's main.
  target_compile_options(pistavox_options INTERFACE -fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  target_link_options(pistavox_options INTERFACE -fsanitize=address,undefined)
endif()

if(WIN32)
  # One self-contained .exe per program: no libstdc++, libgcc or winpthread DLLs.
  target_link_options(pistavox_options INTERFACE -static)
  target_compile_definitions(pistavox_options INTERFACE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
endif()

find_package(Threads REQUIRED)
