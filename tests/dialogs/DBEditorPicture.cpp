// Makes the picture of the word database editor shown in docs/: opens the
// editor on a database with a few changes of the user's in a temporary change
// file, chooses a word and grabs the window.
//
//   DBEditorPicture <baza.hk> <Audio/> <out.png>

#include "dialogs/DBBrowserForm.h"

#include <QApplication>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QTemporaryDir>

#include <cstdio>
#include <exception>

using namespace mz;

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc < 4) {
        std::fprintf(stderr, "DBEditorPicture <baza.hk> <Audio/> <out.png>\n");
        return 2;
    }
    try {
        QTemporaryDir dir;
        TDBBrowserForm form(QString::fromLocal8Bit(argv[1]), dir.filePath(QStringLiteral("baza-użytkownika.hk")),
                            QString::fromLocal8Bit(argv[2]));
        const auto edit = [&](const char* name, const QString& text) {
            form.findChild<QLineEdit*>(QString::fromLatin1(name))->setText(text);
        };
        const auto click = [&](const char* name) { form.findChild<QPushButton*>(QString::fromLatin1(name))->click(); };
        edit("FilterEdit", QStringLiteral("głupek"));
        click("ExcludeButton");
        edit("NewWordEdit", QStringLiteral("żurawina"));
        edit("NewClueEdit", QStringLiteral("kwaśne czerwone owoce z torfowisk"));
        click("AddWordButton");
        edit("ClueEdit", QStringLiteral("krzewinka bagienna, dodatek do dziczyzny"));
        click("AddClueButton");
        edit("FilterEdit", QStringLiteral("żur*"));
        edit("NewWordEdit", QStringLiteral("pierniki"));
        edit("NewClueEdit", QStringLiteral("toruńskie słodycze"));
        auto* list = form.findChild<QListView*>(QStringLiteral("WordList"));
        for (int row = 0; row < list->model()->rowCount(); ++row)
            if (list->model()->index(row, 0).data().toString() == QStringLiteral("ŻURAWINA"))
                list->setCurrentIndex(list->model()->index(row, 0));
        form.resize(960, 600);
        form.show();
        QApplication::processEvents();
        if (!form.grab().save(QString::fromLocal8Bit(argv[3])))
            throw std::runtime_error("cannot write the picture");
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    return 0;
}
