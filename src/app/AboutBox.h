#pragma once

#include <QDialog>
#include <QLabel>

namespace mz {

// The figures of the word database gathered at start-up; all 0 when the
// database could not be read.
struct TDBStatistics {
    int Edition = 0;
    int WordCount = 0;
    int ExplCount = 0;
    int MinLen = 0;
    int MaxLen = 0;
};

// The product site and address are build settings.
QString ProductHost();
QString ProductEmail();

// A label that opens its address when clicked and reports the mouse entering
// and leaving it, which the about box uses to underline the link under the mouse.
class TLinkLabel : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;
    QString Url;
    void SetUnderlined(bool on);
    bool IsUnderlined() const { return font().underline(); }

signals:
    void Hovered(const QString& hint);

protected:
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
};

class TAboutBox : public QDialog {
    Q_OBJECT
public:
    TAboutBox(const TDBStatistics& stats, QWidget* parent = nullptr);
    ~TAboutBox() override;

    // Underlines the link whose hint is the current one, the other one plain.
    void HintChanged(const QString& currentHint);

    QLabel* Lab_DataBaseInfo = nullptr;
    QLabel* Lab_DBWordCounter = nullptr;
    QLabel* Lab_DBExplCounter = nullptr;
    TLinkLabel* www = nullptr;
    TLinkLabel* email = nullptr;

private:
    int SavedHintHidePause = 0;
};

} // namespace mz
