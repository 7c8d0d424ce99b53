# Writes the package's copyright file: the hand-written part (HEAD) followed by one licence
# paragraph per pinned source, with the licence text as that source ships it.
#   cmake -DHEAD=FILE -DOUT=FILE "-DLICENSES=Name=FILE;Name=FILE" -P copyright.cmake

file(READ "${HEAD}" text)
foreach(entry IN LISTS LICENSES)
    string(REGEX MATCH "^([^=]+)=(.*)$" _ "${entry}")
    set(name "${CMAKE_MATCH_1}")
    file(READ "${CMAKE_MATCH_2}" body)
    string(REPLACE "\r" "" body "${body}")
    string(REGEX REPLACE "[ \t]+\n" "\n" body "${body}")
    string(REGEX REPLACE "\n+$" "" body "${body}")
    # Every line indented by one space; an empty line is written " ." (copyright format 1.0).
    string(REPLACE "\n" "\n " body " ${body}")
    # Twice: one pass cannot mark two empty lines in a row.
    string(REGEX REPLACE "\n \n" "\n .\n" body "${body}")
    string(REGEX REPLACE "\n \n" "\n .\n" body "${body}")
    string(APPEND text "\nLicense: ${name}\n${body}\n")
endforeach()
file(WRITE "${OUT}" "${text}")
