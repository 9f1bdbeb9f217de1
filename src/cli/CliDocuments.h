#pragma once

#include "documents/CrossTXT.h"

#include <string>
#include <vector>

namespace mz::cli {

// Opens a crossword, template or XWD file for a command. The document's own
// error (in Polish) is what the user sees when it fails; a file whose rows
// differ in length is reported as damaged, naming it. Refused sound names and
// what an ipuz file's import left out are told once on the error output.
TCrossTXT LoadDocument(const std::string& fileName);

// The grid and numbered explanations as the "show" command prints them (UTF-8,
// control characters of the file shown as their pictures); with `answers` also
// each explanation's answer and the phrase of the "rozwiązanie".
std::string DescribeDocument(const TCrossTXT& doc, bool answers = false);

// Refuses, before anything is read or written, an output that is the same file
// as one of the inputs or as another output (empty names are left out).
void RefuseSameFiles(const std::vector<std::string>& inputs, const std::vector<std::string>& outputs);

} // namespace mz::cli
