#pragma once

#include "documents/CrossTXT.h"

#include <string>

namespace mz::cli {

// Opens a crossword, template or XWD file for a command. The document's own
// error (in Polish) is what the user sees when it fails.
TCrossTXT LoadDocument(const std::string& fileName);

// The grid and numbered explanations as the "show" command prints them
// (UTF-8); with `answers` also each explanation's answer and the phrase of
// the "rozwiązanie".
std::string DescribeDocument(const TCrossTXT& doc, bool answers = false);

} // namespace mz::cli
