# Collects the sources of every subsystem folder, then builds:
#   zarvo_platform        the operating-system services (posix or win32), edition-independent
#   zarvo_core_en / _fr   the portable core, once per edition (texts are chosen at compile time)
#   zarvo-training-en/fr  the Windows programs (Windows builds only)

define_property(GLOBAL PROPERTY ZARVO_CORE_SOURCES BRIEF_DOCS "portable core" FULL_DOCS "core")
define_property(GLOBAL PROPERTY ZARVO_PLATFORM_SOURCES BRIEF_DOCS "platform" FULL_DOCS "platform")
define_property(GLOBAL PROPERTY ZARVO_SHELL_SOURCES BRIEF_DOCS "win32 shell" FULL_DOCS "shell")

function(_zarvo_append property)
  set(files)
  foreach(f ${ARGN})
    list(APPEND files ${CMAKE_CURRENT_SOURCE_DIR}/${f})
  endforeach()
  set_property(GLOBAL APPEND PROPERTY ${property} ${files})
endfunction()

# Portable code: builds everywhere, never includes <windows.h>.
function(zarvo_core_sources)
  _zarvo_append(ZARVO_CORE_SOURCES ${ARGN})
endfunction()

# Operating-system services; each folder registers only what fits the target system.
function(zarvo_platform_sources)
  _zarvo_append(ZARVO_PLATFORM_SOURCES ${ARGN})
endfunction()

# Win32 windows, dialogs, painting and resource scripts (Windows builds only).
function(zarvo_shell_sources)
  if(WIN32)
    _zarvo_append(ZARVO_SHELL_SOURCES ${ARGN})
  endif()
endfunction()

set(ZARVO_EDITIONS en fr)

function(zarvo_edition_definitions target edition)
  string(TOUPPER ${edition} upper)
  target_compile_definitions(${target} PUBLIC ZARVO_EDITION_${upper}=1)
endfunction()

function(zarvo_define_libraries)
  get_property(platform GLOBAL PROPERTY ZARVO_PLATFORM_SOURCES)
  add_library(zarvo_platform STATIC ${platform})
  target_include_directories(zarvo_platform PUBLIC ${CMAKE_SOURCE_DIR})
  # Threads: the serial port's reader, the live results server, the speech and sound outputs.
  find_package(Threads REQUIRED)
  target_link_libraries(zarvo_platform PUBLIC Threads::Threads)
  if(WIN32)
    target_link_libraries(zarvo_platform PUBLIC winmm shell32 ws2_32 iphlpapi ole32 uuid)
  endif()

  # The core's writer threads (the run journal, the tick log) use std::thread.
  get_property(core GLOBAL PROPERTY ZARVO_CORE_SOURCES)
  foreach(edition ${ZARVO_EDITIONS})
    add_library(zarvo_core_${edition} STATIC ${core})
    target_include_directories(zarvo_core_${edition} PUBLIC ${CMAKE_SOURCE_DIR})
    target_link_libraries(zarvo_core_${edition} PUBLIC zarvo_platform Threads::Threads)
    zarvo_edition_definitions(zarvo_core_${edition} ${edition})
  endforeach()
endfunction()

function(zarvo_define_editions)
  get_property(shell GLOBAL PROPERTY ZARVO_SHELL_SOURCES)
  foreach(edition ${ZARVO_EDITIONS})
    set(exe zarvo-training-${edition})
    add_executable(${exe} WIN32 ${shell})
    target_link_libraries(${exe} PRIVATE zarvo_core_${edition}
                          comctl32 comdlg32 gdi32 winmm shell32 ole32 uuid)
    zarvo_edition_definitions(${exe} ${edition})
    target_link_options(${exe} PRIVATE -mwindows -static)
    install(TARGETS ${exe} RUNTIME DESTINATION . COMPONENT programs)
  endforeach()
endfunction()
