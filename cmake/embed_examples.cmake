# Writes OUT, a C++ source that holds the bundled example systems as
# character arrays, so that `karvel1 init` can write a working directory
# wherever the program is installed.  FILES: the files as EXAMPLE/NAME
# under SRC, separated by commas, grouped by example.  Run by a custom
# command of CMakeLists.txt (cmake -P).
set(out "// Generated from examples/ by cmake/embed_examples.cmake: do not edit.\n")
string(APPEND out "#include \"init/bundled.h\"\n\nnamespace {\n")
set(table "")
set(n 0)
string(REPLACE "," ";" files "${FILES}")
foreach(file IN LISTS files)
  get_filename_component(example "${file}" DIRECTORY)
  get_filename_component(name "${file}" NAME)
  file(READ "${SRC}/${file}" hex HEX)
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
  string(REGEX REPLACE "((0x..,){16})" "\\1\n" bytes "${bytes}")
  string(APPEND out "const unsigned char k_file${n}[] = {\n${bytes}0};\n")
  string(APPEND table "    {\"${example}\", \"${name}\", "
                      "{reinterpret_cast<const char*>(k_file${n}), sizeof k_file${n} - 1}},\n")
  math(EXPR n "${n} + 1")
endforeach()
string(APPEND out "const BundledFile kFiles[] = {\n${table}};\n}  // namespace\n\n")
string(APPEND out "std::span<const BundledFile> bundledFiles() { return kFiles; }\n")
file(WRITE "${OUT}.tmp" "${out}")
file(COPY_FILE "${OUT}.tmp" "${OUT}" ONLY_IF_DIFFERENT)
