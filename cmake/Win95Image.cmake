# The rules every shipped Windows 95 image follows: 486 code, no C runtime
# DLL (our own start-up from platform/win32), no exceptions, RTTI, unwind
# tables, thread-safe statics or stack protector, a 4.0 GUI header.

set(OBX_WIN95_COMPILE_OPTIONS
  -march=i486
  -fno-exceptions -fno-rtti -fno-asynchronous-unwind-tables
  -fno-threadsafe-statics -fno-stack-protector
  -fno-tree-loop-distribute-patterns)

set(OBX_WIN95_SYSTEM_LIBRARIES kernel32 user32 gdi32 advapi32 comctl32)

# Every image made with obx_win95_image is listed, one "<DLL|PROGRAM> <path>"
# line each, in win95_images.txt in the top build directory: the host
# build's image tier checks exactly these files.
set(OBX_WIN95_IMAGE_MANIFEST ${CMAKE_BINARY_DIR}/win95_images.txt)
set_property(GLOBAL PROPERTY OBX_WIN95_IMAGES "")

function(obx_write_win95_image_manifest)
  get_property(images GLOBAL PROPERTY OBX_WIN95_IMAGES)
  set(content "")
  foreach(entry IN LISTS images)
    string(REPLACE ":" ";" entry "${entry}")
    list(GET entry 0 target)
    list(GET entry 1 kind)
    string(APPEND content "${kind} $<TARGET_FILE:${target}>\n")
  endforeach()
  file(GENERATE OUTPUT ${OBX_WIN95_IMAGE_MANIFEST} CONTENT "${content}")
endfunction()
cmake_language(DEFER DIRECTORY ${CMAKE_SOURCE_DIR} CALL obx_write_win95_image_manifest)

# obx_win95_image(<target> DLL|PROGRAM)
function(obx_win95_image target kind)
  if(NOT kind MATCHES "^(DLL|PROGRAM)$")
    message(FATAL_ERROR "obx_win95_image(${target} ${kind}): the kind is DLL or PROGRAM")
  endif()
  set_property(GLOBAL APPEND PROPERTY OBX_WIN95_IMAGES "${target}:${kind}")
  if(kind STREQUAL "DLL")
    set(entry _DllMainCRTStartup@12)
    set(runtime obx_runtime_dll)
  else()
    set(entry _WinMainCRTStartup)
    set(runtime obx_runtime_program)
  endif()
  target_link_options(${target} PRIVATE
    -nostdlib -static-libgcc
    -s  # no symbol table: the images must fit their size budgets
    -Wl,-e,${entry}
    -Wl,--kill-at
    -Wl,--subsystem,windows:4.0
    -Wl,--major-os-version,4 -Wl,--minor-os-version,0
    -Wl,--disable-dynamicbase -Wl,--disable-nxcompat
    -Wl,--no-insert-timestamp -Wl,--disable-auto-image-base)
  # The runtime goes first so that its references to KERNEL32 resolve
  # against the import libraries after it; libgcc last for __udivdi3 and
  # ___chkstk_ms.
  target_link_libraries(${target} PRIVATE ${runtime} obx_runtime_common
    ${OBX_WIN95_SYSTEM_LIBRARIES} gcc)
endfunction()
