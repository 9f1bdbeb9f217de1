#include "app/Application.h"

#include "app/MainForm.h"
#include "app/MessageBox.h"
#include "app/ProgramIcon.h"
#include "app/WindowText.h"

#include <QDir>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <QUrl>

namespace mz {

bool TApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
        ShowErrorBox(QString::fromUtf8(e.what()));
    } catch (...) {
        ShowErrorBox(QStringLiteral("Wystąpił nieoczekiwany błąd."));
    }
    return false;
}

QString FileNameFromArguments(const QStringList& arguments)
{
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (argument.isEmpty() || argument.startsWith(u'-'))
            continue;
        const QUrl url(argument);
        const QString path = url.isLocalFile() ? url.toLocalFile() : argument;
        return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    }
    return {};
}

bool InstallQtTranslations(QApplication& app, const QString& directory)
{
    bool base = false;
    // qtbase covers the file, print and colour dialogs and the standard buttons.
    for (const char* catalogue : {"qtbase", "qtmultimedia"}) {
        auto* translator = new QTranslator(&app);
        if (translator->load(QLocale(QLocale::Polish, QLocale::Poland), QString::fromLatin1(catalogue),
                             QStringLiteral("_"), directory)) {
            app.installTranslator(translator);
            base = base || QLatin1String(catalogue) == QLatin1String("qtbase");
        } else {
            delete translator;
        }
    }
    return base;
}

bool SetUpApplication(QApplication& app)
{
    SetApplicationTitle(ProgramName);
    QGuiApplication::setDesktopFileName(QStringLiteral(MZ_DESKTOP_ID));
    QApplication::setWindowIcon(ProgramIcon());
    // Dates, sizes and paper measures in Qt's dialogs follow Polish custom.
    QLocale::setDefault(QLocale(QLocale::Polish, QLocale::Poland));
    return InstallQtTranslations(app, QLibraryInfo::path(QLibraryInfo::TranslationsPath));
}

} // namespace mz
