#pragma once

#include <QApplication>

namespace mz {

// The application object. An error that escapes a command handler is shown in
// the standard error box and the program goes on, instead of tearing the
// program down from inside the event loop.
class TApplication : public QApplication {
public:
    using QApplication::QApplication;
    bool notify(QObject* receiver, QEvent* event) override;
};

inline const QString ProgramName = QStringLiteral("Mirakolnik Zodevidar");

// Gives the program its name (the title of its message boxes), its icon, the
// name of its desktop entry (which the desktop matches its windows with) and
// Polish texts in Qt's own dialogs and buttons. Returns false when Qt's Polish
// translations could not be loaded; the program then goes on in English there.
bool SetUpApplication(QApplication& app);

// The file named on the command line (`mirakolnik PLIK`), as an absolute path;
// a file URL is accepted too. Empty when none is named.
QString FileNameFromArguments(const QStringList& arguments);

// Loads Qt's Polish translations from `directory` into the application.
bool InstallQtTranslations(QApplication& app, const QString& directory);

} // namespace mz
