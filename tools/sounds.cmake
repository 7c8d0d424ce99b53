# Sounds of the program folder, made at build time by two generators in this
# folder:
#
#   ${QUVO_PROGRAM_DIR}/bihua/1.mp3 .. <n>.mp3
#                      the spoken name of each stroke type, file <code + 1>
#                      for each row of data/stroketypes.tsv (gen_voices.py,
#                      eSpeak NG reading the table's pinyin)
#   ${QUVO_PROGRAM_DIR}/bmusic/start1.mp3 .. start10.mp3
#                      the background tunes (gen_music.py)
#   ${QUVO_PROGRAM_DIR}/bmusic/right1.mp3, error1.mp3
#                      the chimes for a stroke written well / "try again"
#
# Sets QUVO_SOUND_FILES (their paths). Target: quvo_sounds (ALL, everything
# above). Test: test_shipped_sounds (check_sounds.py decodes every file and
# checks its length and level).
#
# Include from the top-level CMakeLists.txt after QUVO_PROGRAM_DIR is set and
# after enable_testing(). The outputs depend only on their generators and the
# stroke-type table, so an unchanged build makes nothing again. Needs Debian's
# espeak-ng, lame and python3-numpy (tools/debian-packages.txt).

if(NOT DEFINED QUVO_PROGRAM_DIR)
    message(FATAL_ERROR "tools/sounds.cmake: set QUVO_PROGRAM_DIR before including it")
endif()

if(NOT DEFINED QUVO_PYTHON)
    set(QUVO_PYTHON "/usr/bin/python3")
endif()

execute_process(COMMAND "${QUVO_PYTHON}" -c "import numpy"
                RESULT_VARIABLE _quvo_numpy_missing OUTPUT_QUIET ERROR_QUIET)
if(_quvo_numpy_missing)
    message(FATAL_ERROR "tools/sounds.cmake: ${QUVO_PYTHON} cannot import numpy; "
                        "install Debian's python3-numpy")
endif()

find_program(QUVO_ESPEAK_NG espeak-ng)
if(NOT QUVO_ESPEAK_NG)
    message(FATAL_ERROR "tools/sounds.cmake: espeak-ng not found; install Debian's espeak-ng "
                        "(it speaks the stroke names)")
endif()
# The stroke names are read by the Mandarin voice that takes pinyin.
execute_process(COMMAND "${QUVO_ESPEAK_NG}" --voices=cmn
                OUTPUT_VARIABLE _quvo_espeak_voices ERROR_QUIET)
if(NOT _quvo_espeak_voices MATCHES "cmn-latn-pinyin")
    message(FATAL_ERROR "tools/sounds.cmake: ${QUVO_ESPEAK_NG} has no voice cmn-latn-pinyin; "
                        "install Debian's espeak-ng-data")
endif()

find_program(QUVO_LAME lame)
if(NOT QUVO_LAME)
    message(FATAL_ERROR "tools/sounds.cmake: lame not found; install Debian's lame "
                        "(it encodes the MP3 files)")
endif()

get_filename_component(_quvo_sound_root "${CMAKE_CURRENT_LIST_DIR}" DIRECTORY)
set(_quvo_stroke_types "${_quvo_sound_root}/data/stroketypes.tsv")
set(_quvo_soundio "${CMAKE_CURRENT_LIST_DIR}/soundio.py")
set(_quvo_voice_script "${CMAKE_CURRENT_LIST_DIR}/gen_voices.py")
set(_quvo_music_script "${CMAKE_CURRENT_LIST_DIR}/gen_music.py")
# -B: no __pycache__ in the source tree.
set(_quvo_sound_py "${QUVO_PYTHON}" -B)

# One file per row of the table; a row more or less changes the file list, so
# the table is read again at configure time whenever it changes.
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${_quvo_stroke_types}")
file(STRINGS "${_quvo_stroke_types}" _quvo_stroke_rows REGEX "^[0-9]+\t")
list(LENGTH _quvo_stroke_rows _quvo_stroke_count)
if(_quvo_stroke_count EQUAL 0)
    message(FATAL_ERROR "tools/sounds.cmake: no stroke types in ${_quvo_stroke_types}")
endif()

set(_quvo_voice_dir "${QUVO_PROGRAM_DIR}/bihua")
set(_quvo_voice_files "")
foreach(_i RANGE 1 ${_quvo_stroke_count})
    list(APPEND _quvo_voice_files "${_quvo_voice_dir}/${_i}.mp3")
endforeach()

add_custom_command(
    OUTPUT ${_quvo_voice_files}
    COMMAND ${_quvo_sound_py} "${_quvo_voice_script}"
            --types "${_quvo_stroke_types}" --out "${_quvo_voice_dir}"
            --espeak "${QUVO_ESPEAK_NG}" --lame "${QUVO_LAME}"
    DEPENDS "${_quvo_voice_script}" "${_quvo_soundio}" "${CMAKE_CURRENT_LIST_DIR}/stroketable.py"
            "${_quvo_stroke_types}"
    COMMENT "Speaking the stroke names"
    VERBATIM)

set(_quvo_music_dir "${QUVO_PROGRAM_DIR}/bmusic")
set(_quvo_music_files "")
foreach(_i RANGE 1 10)
    list(APPEND _quvo_music_files "${_quvo_music_dir}/start${_i}.mp3")
endforeach()
list(APPEND _quvo_music_files "${_quvo_music_dir}/right1.mp3" "${_quvo_music_dir}/error1.mp3")

add_custom_command(
    OUTPUT ${_quvo_music_files}
    COMMAND ${_quvo_sound_py} "${_quvo_music_script}"
            --out "${_quvo_music_dir}" --lame "${QUVO_LAME}"
    DEPENDS "${_quvo_music_script}" "${_quvo_soundio}"
    COMMENT "Playing the background tunes and the chimes"
    VERBATIM)

set(QUVO_SOUND_FILES ${_quvo_voice_files} ${_quvo_music_files})
add_custom_target(quvo_sounds ALL DEPENDS ${QUVO_SOUND_FILES})

add_test(NAME test_shipped_sounds
         COMMAND ${_quvo_sound_py} "${CMAKE_CURRENT_LIST_DIR}/check_sounds.py"
                 --dir "${QUVO_PROGRAM_DIR}" --types "${_quvo_stroke_types}"
                 --lame "${QUVO_LAME}")
