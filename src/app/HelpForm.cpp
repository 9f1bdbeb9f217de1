#include "app/HelpForm.h"

#include "app/MessageBox.h"
#include "dialogs/Widgets.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QKeySequence>
#include <QPointer>
#include <QShortcut>
#include <QTextBrowser>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

namespace mz {

namespace {

const char* const MsgNoHelpFile = "Nie można otworzyć pliku pomocy %1.";
const char* const MsgNoBrowser = "Nie można uruchomić przeglądarki internetowej, aby otworzyć %1.";

QToolButton* Button(QWidget* parent, const char* name, const QString& caption, const QString& hint)
{
    auto* button = Named<QToolButton>(name, parent);
    button->setText(caption);
    button->setToolTip(hint);
    button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    button->setAutoRaise(true);
    return button;
}

} // namespace

THelpForm::THelpForm(const QString& helpFile, QWidget* parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("HelpForm"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Mirakolnik Zodevidar - Pomoc"));

    FBack = Button(this, "Back", QStringLiteral("Wstecz"), QStringLiteral("Poprzednio oglądane miejsce (Alt+←)"));
    FForward = Button(this, "Forward", QStringLiteral("Dalej"), QStringLiteral("Następne oglądane miejsce (Alt+→)"));
    FHome = Button(this, "Home", QStringLiteral("Spis treści"), QStringLiteral("Początek strony pomocy"));
    FExternal = Button(this, "External", QStringLiteral("Otwórz w przeglądarce"),
                       QStringLiteral("Pokazuje tę stronę w przeglądarce internetowej"));
    auto* close = Button(this, "Close", QStringLiteral("Zamknij"), QStringLiteral("Zamyka okno pomocy (Esc)"));

    FBrowser = Named<QTextBrowser>("Browser", this);
    FBrowser->setOpenExternalLinks(true);
    FPage = QUrl::fromLocalFile(QFileInfo(helpFile).absoluteFilePath());
    FBrowser->setSource(FPage);
    if (!FBrowser->documentTitle().isEmpty())
        setWindowTitle(FBrowser->documentTitle());

    auto* buttons = LeftRow({FBack, FForward, FHome, FExternal});
    buttons->setContentsMargins(4, 2, 4, 2);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addLayout(buttons);
    layout->addWidget(FBrowser, 1);

    // Back and forward restore the place remembered when it was left, which
    // may have been before the page was laid out in full; a section is found
    // again by its anchor instead.
    connect(FBrowser, &QTextBrowser::historyChanged, this, [this] {
        if (const QString section = FBrowser->source().fragment(); !section.isEmpty())
            FBrowser->scrollToAnchor(section);
    });
    connect(FBack, &QToolButton::clicked, FBrowser, &QTextBrowser::backward);
    connect(FForward, &QToolButton::clicked, FBrowser, &QTextBrowser::forward);
    connect(FHome, &QToolButton::clicked, FBrowser, &QTextBrowser::home);
    connect(FExternal, &QToolButton::clicked, this, &THelpForm::OpenExternally);
    connect(close, &QToolButton::clicked, this, &QWidget::close);
    connect(FBrowser, &QTextBrowser::backwardAvailable, this, &THelpForm::UpdateButtons);
    connect(FBrowser, &QTextBrowser::forwardAvailable, this, &THelpForm::UpdateButtons);
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &QWidget::close);
    UpdateButtons();

    resize(760, 640);
    FBrowser->setFocus();
}

void THelpForm::UpdateButtons()
{
    FBack->setEnabled(FBrowser->isBackwardAvailable());
    FForward->setEnabled(FBrowser->isForwardAvailable());
}

void THelpForm::OpenExternally()
{
    // A section reached by its bare name ("#druk") belongs to the help page.
    const QUrl page = FPage.resolved(FBrowser->source());
    if (!QDesktopServices::openUrl(page))
        ShowMessage(QString::fromUtf8(MsgNoBrowser).arg(page.toDisplayString()), QMessageBox::Warning);
}

THelpForm* THelpForm::ShowHelp(const QString& helpFile, QWidget* parent, const QString& section)
{
    static QPointer<THelpForm> shown;
    if (!QFileInfo(helpFile).isFile()) {
        ShowMessage(QString::fromUtf8(MsgNoHelpFile).arg(helpFile), QMessageBox::Critical);
        return nullptr;
    }
    // The window of another owner goes (deleted later, so it is let go of now).
    if (shown && shown->parentWidget() != parent) {
        shown->close();
        shown = nullptr;
    }
    if (!shown)
        shown = new THelpForm(helpFile, parent);
    if (!section.isEmpty()) {
        QUrl url = shown->FPage;
        url.setFragment(section);
        shown->FBrowser->setSource(url);
    }
    shown->show();
    shown->raise();
    shown->activateWindow();
    return shown;
}

QString THelpForm::SectionFor(const QWidget* window)
{
    if (!window)
        return {};
    // By class, so the anchors stay tied to the windows whatever their titles.
    static const std::pair<const char*, const char*> sections[] = {
        {"mz::TOptionsForm", "opcje"},       {"mz::TDBBrowserForm", "baza"},     {"mz::TImportPreviewForm", "baza"},
        {"mz::TOwnWordsForm", "wlasne"},     {"QPrintDialog", "drukowanie"},
        {"mz::TAboutBox", "polecenia"},
    };
    for (const auto& [className, section] : sections)
        if (window->inherits(className))
            return QString::fromLatin1(section);
    if (window->objectName() == QLatin1String("PhraseDialog"))
        return QStringLiteral("rozwiazanie");
    if (window->objectName() == QLatin1String("MainForm")) {
        const auto* editor = window->findChild<const QWidget*>(QStringLiteral("TemplateEditor"));
        return editor && editor->isVisible() ? QStringLiteral("szablony") : QStringLiteral("rozwiazywanie");
    }
    return {};
}

namespace {

// F1 in any window of the program. The main window's menu command takes the
// key where shortcuts reach; this catches it in modal dialogs.
class THelpKey : public QObject {
public:
    THelpKey(const QString& helpFile, QObject* parent) : QObject(parent), FHelpFile(helpFile) { }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress || static_cast<QKeyEvent*>(event)->key() != Qt::Key_F1
            || !watched->isWidgetType())
            return false;
        QWidget* window = static_cast<QWidget*>(watched)->window();
        if (window->inherits("mz::THelpForm"))
            return false;
        THelpForm::ShowHelp(FHelpFile, window, THelpForm::SectionFor(window));
        return true;
    }

private:
    QString FHelpFile;
};

} // namespace

void THelpForm::InstallHelpKey(const QString& helpFile)
{
    static QPointer<THelpKey> installed;
    if (installed)
        return;
    installed = new THelpKey(helpFile, qApp);
    qApp->installEventFilter(installed);
}

} // namespace mz
