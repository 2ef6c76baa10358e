# Settings of every Win32 target of ours, on zv_settings: ANSI API, static
# runtime, small code.
target_compile_definitions(zv_settings INTERFACE
  WINVER=0x0400 _WIN32_WINNT=0x0400 _WIN32_IE=0x0400 NOMINMAX WIN32_LEAN_AND_MEAN)
target_compile_options(zv_settings INTERFACE $<$<COMPILE_LANGUAGE:C,CXX>:-ffunction-sections -fdata-sections>)
# Nothing of ours throws or catches, or asks an object for its type.
target_compile_options(zv_settings INTERFACE $<$<COMPILE_LANGUAGE:CXX>:-fno-exceptions -fno-rtti>)
target_link_options(zv_settings INTERFACE -static -static-libgcc -static-libstdc++ -Wl,--gc-sections)
set(CMAKE_CXX_FLAGS_MINSIZEREL "-Os -DNDEBUG")
set(CMAKE_EXE_LINKER_FLAGS_MINSIZEREL "-s")

# Tests and programs run under Wine through this wrapper (see scripts/wine-run).
# The 64-bit build's prefixes are 64-bit ones (see scripts/wine-env); a build
# whose Wine tests another build runs (ZV_WINE_TESTS off) has its import check only.
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(ZV_WINE_BUILD win64)
  # Here a handle or pointer cut to 32 bits would show; keep it clean.
  target_compile_options(zv_settings INTERFACE $<$<COMPILE_LANGUAGE:C,CXX>:-Werror>)
else()
  set(ZV_WINE_BUILD win)
  # Without exceptions the unwind tables serve nothing here (the 64-bit
  # system's own unwinding needs them there). The linker keeps every table it
  # is given, and with it every function a table describes, used or not.
  target_compile_options(zv_settings INTERFACE $<$<COMPILE_LANGUAGE:C,CXX>:-fno-asynchronous-unwind-tables>)
endif()
option(ZV_WINE_TESTS "Run this build's Wine and end-to-end tests" ON)
set(ZV_WINE_PREFIX ${CMAKE_BINARY_DIR}/wineprefix)
set(CMAKE_CROSSCOMPILING_EMULATOR ${ZV_SCRIPTS}/wine-run)

# A GUI program of ours: -mwindows, no console, the runtime's W imports
# answered by ANSI stand-ins, and a terminate handler with nothing to say.
function(zv_gui_program target)
  target_link_options(${target} PRIVATE -mwindows)
  target_link_libraries(${target} PRIVATE zv_ansi_runtime zv_library_failures)
endfunction()
