// Composes a crossword in the window on an installed, read-only program
// directory (the first argument), with the settings a first start of that
// program left in the user's store: the new crossword must land in the
// user's documents. InstallTest.sh sets up the home and checks afterwards
// that the program directory did not change.

#include "app/MainForm.h"
#include "app/MessageBox.h"
#include "app/Settings.h"
#include "app/UserDirs.h"

#include <QAction>
#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <cstdio>

using namespace mz;

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s PROGRAM_DIR\n", argv[0]);
        return 2;
    }
    const QString programDir = QString::fromLocal8Bit(argv[1]) + QLatin1Char('/');
    const TUserDirs dirs = UserDirsFor(programDir);
    if (dirs.InProgramDir) {
        std::fprintf(stderr, "the installed program directory counts as writable\n");
        return 1;
    }

    // Every message box is answered: OK, or No to a save question, and reported.
    QTimer answer;
    QPointer<QMessageBox> answered;
    QObject::connect(&answer, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || box == answered)
            return;
        answered = box;
        std::fprintf(stderr, "message: %s\n", qPrintable(box->text()));
        auto* no = box->findChild<QAbstractButton*>(QStringLiteral("No"));
        (no ? no : box->findChild<QAbstractButton*>(QStringLiteral("OK")))->click();
    });
    answer.start(5);

    TSettings settings;
    TMainForm form(programDir, settings);
    form.show();
    auto* compose = form.findChild<QAction*>(QStringLiteral("CrossWord_New"));
    if (!compose) {
        std::fprintf(stderr, "no command to compose\n");
        return 1;
    }
    compose->trigger();
    const QString made = dirs.NewCrossDir + QStringLiteral("K_0000.krz");
    QDeadlineTimer deadline(120000);
    while (!(QFileInfo::exists(made) && compose->isEnabled()) && !deadline.hasExpired())
        QTest::qWait(20);
    if (!QFileInfo::exists(made)) {
        std::fprintf(stderr, "no crossword in %s\n", qPrintable(dirs.NewCrossDir));
        return 1;
    }
    form.close();
    std::printf("composed %s\n", qPrintable(made));
    return 0;
}
