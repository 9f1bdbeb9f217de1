#pragma once

#include <QDialog>
#include <QLabel>

namespace mz {

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
    // The word database's edition field and counts as gathered at start-up.
    TAboutBox(int edition, int wordCount, int explCount, QWidget* parent = nullptr);

    // Underlines the link whose hint is the current one, the other one plain.
    void HintChanged(const QString& currentHint);

    QLabel* Lab_DataBaseInfo = nullptr;
    QLabel* Lab_DBWordCounter = nullptr;
    QLabel* Lab_DBExplCounter = nullptr;
    TLinkLabel* www = nullptr;
    TLinkLabel* email = nullptr;

private:
};

} // namespace mz
