#pragma once

#include "../creator/ComposeControllerTestAccess.h"
#include "WindowProbe.h"
#include "app/MainForm.h"
#include "app/MessageBox.h"
#include "app/Settings.h"
#include "creator/ComposeController.h"
#include "documents/CrossTXT.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>

namespace mz::test {

inline const QString BuiltProgramDir = QStringLiteral(MZ_APP_DIR "/");

// Every message box the window shows, answered by a rule on its text, which
// returns the caption of the button to click.
class TMessageLog {
public:
    explicit TMessageLog(std::function<QString(const QString&)> answer) : Answer(std::move(answer))
    {
        Timer.setInterval(5);
        QObject::connect(&Timer, &QTimer::timeout, [this] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box || box == Answered)
                return;
            Answered = box;
            const QString text = box->text();
            Texts << text;
            box->findChild<QAbstractButton*>(Answer(text))->click();
        });
        Timer.start();
    }
    QStringList Texts;

private:
    std::function<QString(const QString&)> Answer;
    QPointer<QMessageBox> Answered;
    QTimer Timer;
};

// A program directory with the letter images, the shipped word database, a
// crossword to solve and an open 8 x 6 template (composed in a fraction of a
// second), and a fresh settings store after a first start.
class TWindowBench {
public:
    TWindowBench()
    {
        Dir = Temp.path() + QLatin1Char('/');
        for (const char* sub : {"Krzyżówki", "Szablony", "Audio", "settings"})
            QDir(Dir).mkpath(QString::fromUtf8(sub));
        QFile::copy(BuiltProgramDir + QStringLiteral("tekst.bmp"), Dir + QStringLiteral("tekst.bmp"));
        QFile::copy(BuiltProgramDir + QStringLiteral("baza.hk"), Dir + QStringLiteral("baza.hk"));
        TCrossTXT crossWord = Blank(6, 5);
        crossWord.SetCell(3, 3, '*');
        crossWord.SaveToFile(CrossPath().toStdString());
        TCrossTXT pattern = Blank(8, 6);
        pattern.Kind = 1;
        pattern.SaveToFile(PatternPath().toStdString());
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, Dir + QStringLiteral("settings"));
        WriteFirstStartSettings(*OpenSettingsStore(), Dir);
    }

    static TCrossTXT Blank(int cols, int rows)
    {
        TCrossTXT doc;
        doc.SetColCount(cols);
        doc.SetRowCount(rows);
        for (int c = 1; c <= cols; ++c)
            for (int r = 1; r <= rows; ++r)
                doc.SetCell(c, r, ' ');
        return doc;
    }

    QString CrossPath() const { return Dir + QStringLiteral("Krzyżówki/K_0231.krz"); }
    QString PatternPath() const { return Dir + QStringLiteral("Szablony/Normal.sz"); }
    QString NewCrossDir() const { return Dir + QStringLiteral("Krzyżówki/Nowe/"); }
    QStringList NewFiles() const { return QDir(NewCrossDir()).entryList(QDir::Files, QDir::Name); }

    void PutSetting(const QString& name, const QString& value)
    {
        auto store = OpenSettingsStore();
        store->setValue(QStringLiteral("1.01/") + name, value);
    }
    QString StoredSetting(const QString& name) const
    {
        return OpenSettingsStore()->value(QStringLiteral("1.01/") + name).toString();
    }

    // The window, shown, with every composing run seeded in turn from 1.
    std::unique_ptr<TMainForm> Start()
    {
        auto form = std::make_unique<TMainForm>(Dir, Settings);
        form->show();
        // Active, as a desktop makes a window it opens, so its shortcuts reach it.
        form->activateWindow();
        if (!QTest::qWaitForWindowActive(form.get()))
            qWarning("the window did not become active");
        TComposeControllerTestAccess::SeedRunsFrom(*Composer(*form), 1);
        // A run waits at its first preview until the window has shown it, so tests can act mid-run.
        TComposeControllerTestAccess::HoldAtFirstPreview(*Composer(*form));
        return form;
    }

    // Waits until nothing is composed any more; the limit only keeps a hang from lasting for ever.
    static bool WaitIdle(TMainForm& form) { return TComposeControllerTestAccess::WaitIdle(*Composer(form)); }

    QTemporaryDir Temp;
    QString Dir; // the program directory, ending in '/'
    // The program's settings, handed to the window; they outlive it.
    TSettings Settings;
};

} // namespace mz::test
