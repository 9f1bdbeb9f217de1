# Turns the page template into a C++ source with one raw string literal:
#   cmake -DINPUT=krzyzowka.html -DOUTPUT=HtmlPage.cpp -P EmbedPage.cmake
file(READ "${INPUT}" text)
string(FIND "${text}" ")mzpage\"" clash)
if(NOT clash EQUAL -1)
  message(FATAL_ERROR "${INPUT} holds the literal's closing delimiter")
endif()
file(WRITE "${OUTPUT}.new"
  "// Made from resources/web/krzyzowka.html at build time; edit that file.\n"
  "#include \"documents/HtmlPage.h\"\n\n"
  "namespace mz {\n\nconst char* const HtmlPageTemplate = R\"mzpage(${text})mzpage\";\n\n} // namespace mz\n")
file(COPY_FILE "${OUTPUT}.new" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.new")
