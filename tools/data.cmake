# Data files of the program folder, made at build time from pinned sources by
# the generators in this folder:
#
#   ${QUVO_PROGRAM_DIR}/fonts/quvokai.ttf    stroke font (one contour per stroke)
#   ${QUVO_PROGRAM_DIR}/fonts/ARPHICPL.TXT   its licence
#   ${QUVO_PROGRAM_DIR}/hz.db                character store (stroke order and
#                                            types, stroke names, radicals)
#   ${QUVO_PROGRAM_DIR}/book/*.txt           textbooks (GBK)
#   ${QUVO_PROGRAM_DIR}/首页帮助.txt           start-up help (GBK)
#   ${QUVO_PROGRAM_DIR}/first.htm            local start page
#   ${CMAKE_BINARY_DIR}/generated/pinyin.txt pinyin table (GBK), for the
#                                            resource; its path is left in
#                                            QUVO_PINYIN_TABLE
#
# Targets: quvo_data (ALL, everything above), quvo_pinyin_table (the pinyin
# table alone, for a target that embeds it) and the test test_shipped_data.
# Sets QUVO_DATA_FILES (the program folder's files above), QUVO_SOURCE_LICENSES
# and QUVO_SOURCES_STAMP for the package.
#
# Include from the top-level CMakeLists.txt after QUVO_PROGRAM_DIR is set and
# after enable_testing() and find_package(GTest). Everything is cached: an
# unchanged build regenerates nothing.
#
# Sources: npm packages hanzi-writer-data and cnchar-order, pinned by
# tools/package-lock.json and installed with `npm ci` into the build tree;
# Debian's unicode-data (Unihan) and python3-fonttools (tools/debian-packages.txt).

if(NOT DEFINED QUVO_PROGRAM_DIR)
    message(FATAL_ERROR "tools/data.cmake: set QUVO_PROGRAM_DIR before including it")
endif()

set(QUVO_TOOLS_DIR "${CMAKE_CURRENT_LIST_DIR}")
get_filename_component(_quvo_root "${QUVO_TOOLS_DIR}" DIRECTORY)
set(QUVO_DATA_SOURCE_DIR "${_quvo_root}/data")

# Debian's interpreter: it is the one that has python3-fonttools.
set(QUVO_PYTHON "/usr/bin/python3" CACHE FILEPATH
    "Python 3 with fontTools (Debian's python3-fonttools) for the data generators")
find_program(QUVO_NODE node REQUIRED)
find_program(QUVO_NPM npm REQUIRED)
set(QUVO_UNIHAN_DIR "/usr/share/unicode" CACHE PATH "Unihan files (Debian package unicode-data)")

execute_process(COMMAND "${QUVO_PYTHON}" -c "import fontTools"
                RESULT_VARIABLE _quvo_fonttools OUTPUT_QUIET ERROR_QUIET)
if(NOT _quvo_fonttools EQUAL 0)
    message(FATAL_ERROR "${QUVO_PYTHON} cannot import fontTools: install python3-fonttools")
endif()

function(_quvo_unihan_file var name)
    foreach(candidate "${QUVO_UNIHAN_DIR}/${name}.txt" "${QUVO_UNIHAN_DIR}/${name}.txt.bz2")
        if(EXISTS "${candidate}")
            set(${var} "${candidate}" PARENT_SCOPE)
            return()
        endif()
    endforeach()
    message(FATAL_ERROR "${name}.txt not found in ${QUVO_UNIHAN_DIR}: install unicode-data")
endfunction()
_quvo_unihan_file(QUVO_UNIHAN_READINGS Unihan_Readings)
_quvo_unihan_file(QUVO_UNIHAN_OTHER Unihan_OtherMappings)
_quvo_unihan_file(QUVO_UNIHAN_IRG Unihan_IRGSources)
set(QUVO_CJK_RADICALS "${QUVO_UNIHAN_DIR}/CJKRadicals.txt")
if(NOT EXISTS "${QUVO_CJK_RADICALS}")
    message(FATAL_ERROR "CJKRadicals.txt not found in ${QUVO_UNIHAN_DIR}: install unicode-data")
endif()

set(_quvo_gen "${CMAKE_BINARY_DIR}/generated")
set(_quvo_npm "${CMAKE_BINARY_DIR}/npm")
file(MAKE_DIRECTORY "${_quvo_gen}" "${_quvo_npm}")
# -B: no __pycache__ in the source tree.
set(_quvo_py "${QUVO_PYTHON}" -B)

# --- pinned npm packages -----------------------------------------------------
set(_quvo_npm_stamp "${_quvo_npm}/npm-ci.stamp")
add_custom_command(
    OUTPUT "${_quvo_npm_stamp}"
    COMMAND "${CMAKE_COMMAND}" -E copy_if_different
            "${QUVO_TOOLS_DIR}/package.json" "${QUVO_TOOLS_DIR}/package-lock.json" "${_quvo_npm}"
    COMMAND "${CMAKE_COMMAND}" -E chdir "${_quvo_npm}"
            "${QUVO_NPM}" ci --ignore-scripts --no-audit --no-fund --loglevel=error
    COMMAND "${CMAKE_COMMAND}" -E touch "${_quvo_npm_stamp}"
    DEPENDS "${QUVO_TOOLS_DIR}/package.json" "${QUVO_TOOLS_DIR}/package-lock.json"
    COMMENT "Installing the pinned data packages (npm ci)"
    VERBATIM)
set(_quvo_modules "${_quvo_npm}/node_modules")

set(_quvo_orders "${_quvo_gen}/cnchar-order.json")
add_custom_command(
    OUTPUT "${_quvo_orders}"
    COMMAND "${QUVO_NODE}" "${QUVO_TOOLS_DIR}/dump_cnchar_order.js" "${_quvo_modules}" "${_quvo_orders}"
    DEPENDS "${_quvo_npm_stamp}" "${QUVO_TOOLS_DIR}/dump_cnchar_order.js"
    COMMENT "Reading the stroke letters of cnchar-order"
    VERBATIM)

# --- stroke font and character store ------------------------------------------
set(QUVO_FONT_FILE "${QUVO_PROGRAM_DIR}/fonts/quvokai.ttf")
set(_quvo_license "${QUVO_PROGRAM_DIR}/fonts/ARPHICPL.TXT")
set(QUVO_STORE_FILE "${QUVO_PROGRAM_DIR}/hz.db")
add_custom_command(
    OUTPUT "${QUVO_FONT_FILE}" "${_quvo_license}" "${QUVO_STORE_FILE}"
    COMMAND ${_quvo_py} "${QUVO_TOOLS_DIR}/gen_font_store.py"
            --hanzi "${_quvo_modules}/hanzi-writer-data"
            --orders "${_quvo_orders}"
            --types "${QUVO_DATA_SOURCE_DIR}/stroketypes.tsv"
            --overrides "${QUVO_DATA_SOURCE_DIR}/stroke_overrides.tsv"
            --order-overrides "${QUVO_DATA_SOURCE_DIR}/order_overrides.tsv"
            --font "${QUVO_FONT_FILE}"
            --license "${_quvo_license}"
            --store "${QUVO_STORE_FILE}"
    # The stroke names and the radicals go into the same store.
    COMMAND ${_quvo_py} "${QUVO_TOOLS_DIR}/gen_store_extras.py"
            --store "${QUVO_STORE_FILE}"
            --types "${QUVO_DATA_SOURCE_DIR}/stroketypes.tsv"
            --unihan "${QUVO_UNIHAN_IRG}"
            --radicals "${QUVO_CJK_RADICALS}"
    DEPENDS "${_quvo_npm_stamp}" "${_quvo_orders}"
            "${QUVO_TOOLS_DIR}/gen_font_store.py" "${QUVO_TOOLS_DIR}/strokedata.py"
            "${QUVO_TOOLS_DIR}/stroketable.py" "${QUVO_TOOLS_DIR}/gen_store_extras.py"
            "${QUVO_DATA_SOURCE_DIR}/stroketypes.tsv"
            "${QUVO_DATA_SOURCE_DIR}/stroke_overrides.tsv"
            "${QUVO_DATA_SOURCE_DIR}/order_overrides.tsv"
            "${QUVO_UNIHAN_IRG}" "${QUVO_CJK_RADICALS}"
    COMMENT "Building the stroke font and the character store"
    VERBATIM)

# --- pinyin table -------------------------------------------------------------
set(QUVO_PINYIN_TABLE "${_quvo_gen}/pinyin.txt")
add_custom_command(
    OUTPUT "${QUVO_PINYIN_TABLE}"
    COMMAND ${_quvo_py} "${QUVO_TOOLS_DIR}/gen_pinyin.py"
            --unihan "${QUVO_UNIHAN_READINGS}"
            --first-readings "${QUVO_DATA_SOURCE_DIR}/first_readings.tsv" --out "${QUVO_PINYIN_TABLE}"
    DEPENDS "${QUVO_TOOLS_DIR}/gen_pinyin.py" "${QUVO_TOOLS_DIR}/stroketable.py" "${QUVO_UNIHAN_READINGS}"
            "${QUVO_DATA_SOURCE_DIR}/first_readings.tsv"
    COMMENT "Building the pinyin table"
    VERBATIM)
add_custom_target(quvo_pinyin_table DEPENDS "${QUVO_PINYIN_TABLE}")

# --- textbooks and texts --------------------------------------------------------
file(GLOB _quvo_book_sources CONFIGURE_DEPENDS "${QUVO_DATA_SOURCE_DIR}/books/*.txt")
set(_quvo_texts
    "${QUVO_PROGRAM_DIR}/book/通用规范一级字.txt"
    "${QUVO_PROGRAM_DIR}/首页帮助.txt"
    "${QUVO_PROGRAM_DIR}/first.htm")
foreach(_book IN LISTS _quvo_book_sources)
    get_filename_component(_name "${_book}" NAME)
    list(APPEND _quvo_texts "${QUVO_PROGRAM_DIR}/book/${_name}")
endforeach()
add_custom_command(
    OUTPUT ${_quvo_texts}
    COMMAND ${_quvo_py} "${QUVO_TOOLS_DIR}/gen_texts.py"
            --data "${QUVO_DATA_SOURCE_DIR}"
            --unihan-other "${QUVO_UNIHAN_OTHER}"
            --font "${QUVO_FONT_FILE}"
            --store "${QUVO_STORE_FILE}"
            --pinyin "${QUVO_PINYIN_TABLE}"
            --out "${QUVO_PROGRAM_DIR}"
    DEPENDS "${QUVO_TOOLS_DIR}/gen_texts.py" ${_quvo_book_sources}
            "${QUVO_DATA_SOURCE_DIR}/首页帮助.txt" "${QUVO_DATA_SOURCE_DIR}/first.htm"
            "${QUVO_UNIHAN_OTHER}" "${QUVO_FONT_FILE}" "${QUVO_STORE_FILE}" "${QUVO_PINYIN_TABLE}"
    COMMENT "Writing the textbooks, the start-up help and the start page"
    VERBATIM)

# --- the stroke names of the first-level characters, for people who check them --------
set(_quvo_stroke_report "${CMAKE_BINARY_DIR}/stroke-report.txt")
add_custom_command(
    OUTPUT "${_quvo_stroke_report}"
    COMMAND ${_quvo_py} "${QUVO_TOOLS_DIR}/stroke_report.py"
            --store "${QUVO_STORE_FILE}" --types "${QUVO_DATA_SOURCE_DIR}/stroketypes.tsv"
            --book "${QUVO_PROGRAM_DIR}/book/通用规范一级字.txt" --list --out "${_quvo_stroke_report}"
    DEPENDS "${QUVO_TOOLS_DIR}/stroke_report.py" "${QUVO_TOOLS_DIR}/stroketable.py"
            "${QUVO_STORE_FILE}" "${QUVO_PROGRAM_DIR}/book/通用规范一级字.txt"
    COMMENT "Listing the stroke names of the first-level characters"
    VERBATIM)

# For the package (packaging/): the program folder's files made here, and the licences of the
# pinned sources as "name=file" with the step that fetches them.
set(QUVO_DATA_FILES "${QUVO_FONT_FILE}" "${_quvo_license}" "${QUVO_STORE_FILE}" ${_quvo_texts})
set(QUVO_SOURCE_LICENSES "Arphic-1999=${_quvo_modules}/hanzi-writer-data/ARPHICPL.TXT"
                         "MIT=${_quvo_modules}/cnchar-order/LICENSE")
set(QUVO_SOURCES_STAMP "${_quvo_npm_stamp}")

add_custom_target(quvo_data ALL
    DEPENDS "${QUVO_FONT_FILE}" "${_quvo_license}" "${QUVO_STORE_FILE}" ${_quvo_texts}
            "${_quvo_stroke_report}")
add_dependencies(quvo_data quvo_pinyin_table)

# --- test over the shipped data ---------------------------------------------------
find_package(SQLite3 REQUIRED)
find_package(Freetype REQUIRED)
include(GoogleTest)
add_executable(test_shipped_data "${_quvo_root}/tests/test_shipped_data.cpp")
target_compile_features(test_shipped_data PRIVATE cxx_std_17)
target_compile_definitions(test_shipped_data PRIVATE
    "QUVO_PROGRAM_DIR=\"${QUVO_PROGRAM_DIR}\""
    "QUVO_PINYIN_TABLE=\"${QUVO_PINYIN_TABLE}\""
    "QUVO_DATA_SOURCE_DIR=\"${QUVO_DATA_SOURCE_DIR}\"")
target_link_libraries(test_shipped_data PRIVATE GTest::gtest_main SQLite::SQLite3 Freetype::Freetype)
add_dependencies(test_shipped_data quvo_data)
gtest_discover_tests(test_shipped_data DISCOVERY_MODE PRE_TEST)
