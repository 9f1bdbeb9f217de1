#pragma once

#include <QWidget>

class QLineEdit;
class QToolButton;

namespace mz {

// A number edit with up and down buttons whose value is whatever its text reads
// as: the text is kept as typed (it may even be empty), a text that is no
// integer reads as the range minimum, and clamping happens only when a value is
// set or when the focus leaves the edit. A range whose minimum equals its
// maximum does not clamp at all, so "no bounds known" is simply 0..0.
class TSpinEdit : public QWidget {
    Q_OBJECT
public:
    explicit TSpinEdit(QWidget* parent = nullptr);

    // Changing the range leaves the text alone; the next set value or exit clamps.
    void SetRange(int minValue, int maxValue);
    void SetMaxLength(int characters);

    int Value() const;
    void SetValue(int value);
    int CheckValue(int value) const;

    QString Text() const;
    void SetText(const QString& text);
    QLineEdit* Edit() const { return FEdit; }

signals:
    // The focus left the edit, or Enter was pressed on a typed value. Receivers run before the edit clamps its own
    // text, so they see (and may change) the value as typed.
    void Exited();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Step(int delta);
    // Runs the exit handlers and clamps the text, as when the focus leaves.
    void Commit();

    QLineEdit* FEdit;
    QToolButton* FUp;
    QToolButton* FDown;
    int FMinValue = 0;
    int FMaxValue = 0;
    // The text as last set or committed; Enter on it is not a new commit.
    QString FCommitted;
};

} // namespace mz
