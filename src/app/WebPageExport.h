#pragma once

namespace mz {

class TCrossTXT;
class TFileDialogs;
struct TSettings;

// "Krzyżówka › Eksportuj jako stronę WWW...": asks for the file beside the
// crossword; where the crossword's sounds can be found, the save dialog offers
// to embed them and tells how much they add to the page. A file that is the
// crossword itself is refused; errors are shown in the error box.
void ExportWebPage(const TCrossTXT& doc, const TSettings& settings, TFileDialogs& dialogs);

} // namespace mz
