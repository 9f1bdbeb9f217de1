#pragma once

#include <QString>

class QWidget;

namespace mz {

struct TSettings;

// "Krzyżówka › Krzyżówka z własnych haseł...": runs the dialog and saves the
// crossword it makes under the next free numbered name in the directory of new
// crosswords, as a composed crossword is saved. Returns that file's name, empty
// when the user cancelled or the save failed (the error is shown).
QString MakeOwnWordsCrossWord(QWidget* window, const TSettings& settings);

} // namespace mz
