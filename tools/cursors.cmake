# Animated cursors in the program folder, drawn at build time by gen_cursors.py
# in this folder:
#
#   ${QUVO_PROGRAM_DIR}/cur/normal.ani   the dialog's pointer
#   ${QUVO_PROGRAM_DIR}/cur/move.ani     while a stroke piece is carried
#   ${QUVO_PROGRAM_DIR}/cur/on.ani       over a stroke piece
#
# Sets QUVO_CURSOR_FILES (their paths). Target: quvo_cursors (ALL, the three
# files).
#
# Include from the top-level CMakeLists.txt after tools/themes.cmake, which
# checks for numpy. The generator draws with the icon generator's canvas, so
# the files depend on both scripts and on sdf.py, and on nothing else.

if(NOT DEFINED QUVO_PROGRAM_DIR)
    message(FATAL_ERROR "tools/cursors.cmake: set QUVO_PROGRAM_DIR before including it")
endif()

if(NOT DEFINED QUVO_PYTHON)
    set(QUVO_PYTHON "/usr/bin/python3")
endif()

set(_quvo_cursor_script "${CMAKE_CURRENT_LIST_DIR}/gen_cursors.py")
set(QUVO_CURSOR_DIR "${QUVO_PROGRAM_DIR}/cur")
set(QUVO_CURSOR_FILES "")
foreach(_name normal move on)
    list(APPEND QUVO_CURSOR_FILES "${QUVO_CURSOR_DIR}/${_name}.ani")
endforeach()

add_custom_command(
    OUTPUT ${QUVO_CURSOR_FILES}
    COMMAND "${QUVO_PYTHON}" "${_quvo_cursor_script}" "${QUVO_CURSOR_DIR}"
    DEPENDS "${_quvo_cursor_script}" "${CMAKE_CURRENT_LIST_DIR}/gen_icons.py"
            "${CMAKE_CURRENT_LIST_DIR}/sdf.py"
    COMMENT "Drawing the animated cursors"
    VERBATIM)

add_custom_target(quvo_cursors ALL DEPENDS ${QUVO_CURSOR_FILES})
