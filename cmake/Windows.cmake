# Settings shared by every Win32 target: ANSI API, static runtime, small code.
add_compile_definitions(WINVER=0x0400 _WIN32_WINNT=0x0400 _WIN32_IE=0x0400 NOMINMAX WIN32_LEAN_AND_MEAN)
add_compile_options(-Wall -Wextra -ffunction-sections -fdata-sections)
add_link_options(-static -static-libgcc -static-libstdc++ -Wl,--gc-sections)
set(CMAKE_CXX_FLAGS_MINSIZEREL "-Os -DNDEBUG")
set(CMAKE_EXE_LINKER_FLAGS_MINSIZEREL "-s")

# Tests and programs run under Wine through this wrapper (see scripts/wine-run).
set(ZV_WINE_PREFIX ${CMAKE_BINARY_DIR}/wineprefix)
set(CMAKE_CROSSCOMPILING_EMULATOR ${ZV_SCRIPTS}/wine-run)

# A GUI program of ours: -mwindows, no console.
function(zv_gui_program target)
  target_link_options(${target} PRIVATE -mwindows)
endfunction()
