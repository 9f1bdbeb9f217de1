#pragma once

#include <string>
#include <string_view>

namespace mz {

class TCrossTXT;

// ipuz v2, the open JSON exchange format for crosswords (docs/formats.md).
//
// Written: the grid with blocks "#" and the standard numbers (TNumbering: one
// number a start cell, shared by its across and down clue; every clue also
// lists its cells, and a clue whose word starts on no open cell is left out), "solution" when every open cell's letter is known,
// "saved" with the letters typed so far, clues under "Across" and "Down" with
// their answers and cells ([column, row], counted from 1 at the top left), and
// the Polish headings, sounds (keyed "Across:7", "Down:7") and the
// "rozwiązanie" in fields of the "pl.mirakolnik" namespace.
//
// Read: crosswords whose cells are open squares and blocks. Omitted cells
// (null) become blocks. Cell styles (circles, colours) are dropped and a clue
// linked over several words stays on its first word; IpuzImportNote says so.
// Anything the program cannot show (other puzzle kinds, barred grids, several
// letters in one cell, letters outside its alphabet, clue directions other
// than across and down) is refused with an EIOOperation whose Polish message
// names it, and the cell by its row and column.

inline constexpr const char* IpuzExtensionAudio = "pl.mirakolnik:audio";
inline constexpr const char* IpuzExtensionPhrase = "pl.mirakolnik:rozwiazanie";
inline constexpr const char* IpuzExtensionHeadings = "pl.mirakolnik:naglowki";

// The ipuz text (UTF-8, JSON) of the document.
std::string IpuzText(const TCrossTXT& doc);

// Empty, or why the document cannot be written as an ipuz file that ReadIpuz
// reads back: a grid outside 4 × 3 .. 255 × 255, a cell or an answer with a
// character no cell holds, or an explanation that starts outside the grid or
// on a block.
std::string IpuzProblem(const TCrossTXT& doc);

// Writes the ipuz text to the file; the previous file is replaced only when
// the whole new one was written. Failure: "Wystąpił błąd podczas zapisu pliku
// %s" with the reason (IpuzProblem, a file larger than the reader takes, or
// the system's).
void ExportAsIpuz(const TCrossTXT& doc, const std::string& name);

// Replaces the document's contents by the ipuz file's (FileName = name,
// Modified false afterwards; Kind is left to the caller).
void ReadIpuz(std::string_view bytes, const std::string& name, TCrossTXT& doc);

// What reading the ipuz text leaves out or changes, for a note after opening
// it (Polish, UTF-8, a sentence a line): dropped cell styles, clues linked
// over several words. Empty when it keeps everything or cannot be read.
std::string IpuzImportNote(std::string_view bytes, const std::string& name);
// The same for a file; empty for a file that is no ipuz file (by its name).
std::string IpuzImportNoteOfFile(const std::string& name);

} // namespace mz
