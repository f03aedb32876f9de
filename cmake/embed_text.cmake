# Writes a C++ source that holds the bytes of INPUT as the function
# ovelsk::aprs::FUNCTION() returning a std::string_view.
#   cmake -DINPUT=file -DOUTPUT=file.cpp -DFUNCTION=name -P embed_text.cmake
file(READ "${INPUT}" hex HEX)
string(LENGTH "${hex}" hex_length)
math(EXPR size "${hex_length} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "'\\\\x\\1'," bytes "${hex}")
string(REGEX REPLACE "(([^,]*,){16})" "\\1\n    " bytes "${bytes}")
file(WRITE "${OUTPUT}.new"
"// Generated from ${INPUT} at build time; do not edit.
#include <string_view>

namespace ovelsk::aprs {

std::string_view ${FUNCTION}() {
    static constexpr char bytes[] = {
    ${bytes}'\\0'};
    return std::string_view(bytes, ${size});
}

}  // namespace ovelsk::aprs
")
file(COPY_FILE "${OUTPUT}.new" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.new")
