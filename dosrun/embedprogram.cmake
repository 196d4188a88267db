# Writes a C++ source holding a DOS program's bytes, so dosrun carries the
# program it builds from source: cmake -DINPUT=X.COM -DOUTPUT=x.cpp
# -DFUNCTION=Name -P embedprogram.cmake.
file(READ ${INPUT} hex HEX)
string(REGEX REPLACE "(..)" "0x\\1," bytes "${hex}")
file(WRITE ${OUTPUT}
  "// Made by embedprogram.cmake from ${INPUT}.\n"
  "#include <string_view>\n\n"
  "namespace dosrun {\n\n"
  "std::string_view ${FUNCTION}() {\n"
  "    static constexpr unsigned char kBytes[] = {${bytes}};\n"
  "    return {reinterpret_cast<const char*>(kBytes), sizeof kBytes};\n"
  "}\n\n"
  "}  // namespace dosrun\n")
