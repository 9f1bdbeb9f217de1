// Makes the picture of "Krzyżówka z własnych haseł" shown in docs/: the
// dialog with a word list read from a file, laid out freely or, with a
// keyword, as a krzyżówka z hasłem, grabbed.
//
//   OwnWordsPicture <lista.tsv> <out.png> [HASŁO]

#include "dialogs/OwnWordsForm.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <cstdio>
#include <exception>

using namespace mz;

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "OwnWordsPicture <lista.tsv> <out.png> [HASŁO]\n");
        return 2;
    }
    try {
        TOwnWordsForm form({}, 1);
        const QString list = QString::fromLocal8Bit(argv[1]);
        form.ChooseFile = [&](QWidget*) { return list; };
        form.findChild<QPushButton*>(QStringLiteral("ImportWords"))->click();
        if (argc > 3) {
            form.findChild<QRadioButton*>(QStringLiteral("KeywordKind"))->setChecked(true);
            form.findChild<QLineEdit*>(QStringLiteral("Keyword"))->setText(QString::fromLocal8Bit(argv[3]));
            form.ComposeNow();
        }
        form.show();
        QApplication::processEvents();
        if (!form.grab().save(QString::fromLocal8Bit(argv[2])))
            throw std::runtime_error("cannot write the picture");
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    return 0;
}
