# The README as the package installs it, for a program in /usr/bin: without the
# passages marked as being for a checkout (building, testing, the source
# layout), and with the programs named as they are installed.
#   cmake -DINPUT=README.md -DOUTPUT=README.md -P installed_readme.cmake
file(READ ${INPUT} text)
string(REGEX REPLACE "<!-- from a checkout -->\n[^<]*(<[^!][^<]*)*<!-- end -->\n" "" text "${text}")
string(REPLACE "build/app/ovelsk" "ovelsk" text "${text}")
string(REPLACE "build/aprs/ovelsk-decode" "ovelsk-decode" text "${text}")
string(REGEX REPLACE "\n\n\n+" "\n\n" text "${text}")
file(WRITE ${OUTPUT} "${text}")
