# Writes OUT, a C++ source that holds the files of the web page (SRC/page.html,
# page.css, page.js) as character arrays, so that the server carries its page
# in the binary.  Run by a custom command of CMakeLists.txt (cmake -P).
set(out "// Generated from src/server/page by cmake/embed_page.cmake: do not edit.\n")
string(APPEND out "#include \"server/page.h\"\n\nnamespace page {\n")
foreach(pair "html;page.html" "css;page.css" "js;page.js")
  list(GET pair 0 key)
  list(GET pair 1 file)
  file(READ "${SRC}/${file}" hex HEX)
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
  string(REGEX REPLACE "(0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,)" "\\1\n" bytes "${bytes}")
  string(APPEND out "namespace {\nconst unsigned char k_${key}[] = {\n${bytes}0};\n}  // namespace\n")
  string(APPEND out "const std::string_view ${key}(reinterpret_cast<const char*>(k_${key}), sizeof k_${key} - 1);\n")
endforeach()
string(APPEND out "}  // namespace page\n")
file(WRITE "${OUT}.tmp" "${out}")
file(COPY_FILE "${OUT}.tmp" "${OUT}" ONLY_IF_DIFFERENT)
