# Background pictures and button icons, drawn at build time by two generators
# in this folder:
#
#   ${QUVO_PROGRAM_DIR}/theme/charming1.bmp .. charming10.bmp
#                                   the ten window backgrounds (gen_themes.py)
#   ${CMAKE_BINARY_DIR}/generated/icons/icon*.png
#                                   the button and program icons (gen_icons.py)
#
# Sets QUVO_ICON_DIR (the icons' folder, the base for a Qt resource) and
# QUVO_ICON_FILES (their paths), and QUVO_THEME_FILES (the pictures' paths).
# Target: quvo_themes (ALL, everything above).
#
# Include from the top-level CMakeLists.txt after QUVO_PROGRAM_DIR is set. The
# outputs depend only on their generator, so an unchanged build redraws nothing.
# Both generators need Debian's python3-numpy (tools/debian-packages.txt).

if(NOT DEFINED QUVO_PROGRAM_DIR)
    message(FATAL_ERROR "tools/themes.cmake: set QUVO_PROGRAM_DIR before including it")
endif()

if(NOT DEFINED QUVO_PYTHON)
    set(QUVO_PYTHON "/usr/bin/python3")
endif()

execute_process(COMMAND "${QUVO_PYTHON}" -c "import numpy"
                RESULT_VARIABLE _quvo_numpy_missing OUTPUT_QUIET ERROR_QUIET)
if(_quvo_numpy_missing)
    message(FATAL_ERROR "tools/themes.cmake: ${QUVO_PYTHON} cannot import numpy; "
                        "install Debian's python3-numpy")
endif()

set(_quvo_theme_script "${CMAKE_CURRENT_LIST_DIR}/gen_themes.py")
set(_quvo_icon_script "${CMAKE_CURRENT_LIST_DIR}/gen_icons.py")

set(QUVO_THEME_DIR "${QUVO_PROGRAM_DIR}/theme")
set(QUVO_THEME_FILES "")
foreach(_i RANGE 1 10)
    list(APPEND QUVO_THEME_FILES "${QUVO_THEME_DIR}/charming${_i}.bmp")
endforeach()

add_custom_command(
    OUTPUT ${QUVO_THEME_FILES}
    COMMAND "${QUVO_PYTHON}" "${_quvo_theme_script}" "${QUVO_THEME_DIR}"
    DEPENDS "${_quvo_theme_script}" "${CMAKE_CURRENT_LIST_DIR}/sdf.py"
    COMMENT "Drawing the background pictures"
    VERBATIM)

set(QUVO_ICON_DIR "${CMAKE_BINARY_DIR}/generated/icons")
set(QUVO_ICON_FILES "")
foreach(_name icon138 icon138_256 icon145 icon148 icon156 icon157 icon182 icon134)
    list(APPEND QUVO_ICON_FILES "${QUVO_ICON_DIR}/${_name}.png")
endforeach()

add_custom_command(
    OUTPUT ${QUVO_ICON_FILES}
    COMMAND "${QUVO_PYTHON}" "${_quvo_icon_script}" "${QUVO_ICON_DIR}"
    DEPENDS "${_quvo_icon_script}" "${CMAKE_CURRENT_LIST_DIR}/sdf.py"
    COMMENT "Drawing the icons"
    VERBATIM)

add_custom_target(quvo_themes ALL DEPENDS ${QUVO_THEME_FILES} ${QUVO_ICON_FILES})
