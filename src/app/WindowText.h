#pragma once

#include "dialogs/Widgets.h"

#include <QString>

#include <string>

namespace mz {

// A message template with its first "%s" replaced by the argument.
QString Formatted(const char* pattern, const QString& arg);

// The directory part of a path, ending with its separator; empty when the
// path names a file without a directory.
QString DirectoryPart(const std::string& path);

// Each line broken at spaces into lines of at most `width` characters (a word
// longer than that keeps a line of its own), so a long message stays narrow.
QString WrappedText(const QString& text, int width);

// The standard error box: the message, OK and the stop icon, on the screen.
void ShowErrorBox(const QString& message);

// Runs a command; an error it throws is shown in the standard error box.
// Returns whether the command ran through.
template <typename F> bool Reporting(F&& command)
{
    return Tried(command, ShowErrorBox);
}

} // namespace mz
