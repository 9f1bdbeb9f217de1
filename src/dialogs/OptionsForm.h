#pragma once

#include "dialogs/OptionsValues.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;

namespace mz {

class TSpinEdit;

// The modal configuration dialog. It edits a copy of the settings; OK stores
// the controls into that copy (Values()) and accepts, every other way out
// leaves it as it came in.
class TOptionsForm : public QDialog {
    Q_OBJECT
public:
    TOptionsForm(const TOptionsValues& values, const TOptionsEnvironment& environment, QWidget* parent = nullptr);
    ~TOptionsForm() override;

    const TOptionsValues& Values() const { return FValues; }

    // Default template and default locations below the program directory.
    static QString DefaultTemplateFileName(const QString& programDir);
    static QString DefaultNewCrossDir(const QString& programDir);
    static QString DefaultAudioDir(const QString& programDir);
    // A directory text as stored: '/' appended unless empty or already there.
    static QString WithTrailingSeparator(const QString& dir);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    // One "default or given location" group: the default radio button is
    // checked exactly when the remembered Alter text is non-empty.
    struct TLocationGroup {
        QRadioButton* DefaultChoice = nullptr;
        QRadioButton* OtherChoice = nullptr;
        QLineEdit* Edit = nullptr;
        QPushButton* Browse = nullptr;
        // The choice and the text as the dialog opened: a group left so is not stored again.
        bool OpenedWithDefault = false;
        QString OpenedText;
    };

    void CreateControls();
    QWidget* CreateLocationPage(const QString& group, const QString& defaultCaption, const QString& otherCaption,
                                int number, TLocationGroup& controls);
    void FormCreate();
    void FillGroup(TLocationGroup& group, const QString& alter, const QString& setting);
    // The defaults of the location groups for this program.
    QString TemplateDefault() const;
    QString NewCrossDefault() const;
    QString AudioDefault() const;
    static void StoreGroup(const TLocationGroup& group, const QString& defaultValue, bool directory, QString& setting,
                           QString& alter);
    static void RadioButtonClick(const TLocationGroup& group);

    void Button1Click();
    void Button6Click();
    void Button2Click();
    void BrowseDirectory(const TLocationGroup& group, const QString& title);
    void SpinEdit1Exit();
    void SpinEdit2Exit();

    TOptionsValues FValues;
    TOptionsEnvironment FEnvironment;

    QTabWidget* PageControl1 = nullptr;
    TSpinEdit* SpinEdit1 = nullptr;
    TSpinEdit* SpinEdit2 = nullptr;
    TSpinEdit* SpinEdit3 = nullptr;
    QCheckBox* CheckBox1 = nullptr;
    QLineEdit* Edit4 = nullptr;
    QComboBox* DifficultyBox = nullptr;
    QCheckBox* UniqueSeriesBox = nullptr;
    QCheckBox* SchoolSafeBox = nullptr;
    QCheckBox* SpeechBox = nullptr;
    QCheckBox* FillExactBox = nullptr;
    TLocationGroup FTemplate;
    TLocationGroup FNewCross;
    TLocationGroup FAudio;
};

} // namespace mz
