#pragma once

#include <QDialog>
#include <array>

#include "desktop/dialogs/RunSettingRules.h"

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;

namespace zv {

class ProjectDocument;

// The run settings of one project window: capacity (bytes or a preset name),
// tolerance, number of media, largest and smallest number of items per
// medium, fast mode, packing method, the room left for the file system, and
// what follows a run and where it writes. It checks them before handing them to the window, can
// store them as the defaults of new projects, and explains the field under the
// mouse pointer. Its openers show it modally.
class RunSettingsDialog : public QDialog {
    Q_OBJECT

  public:
    RunSettingsDialog(QWidget* owner, ProjectDocument& project);

    // Whether OK or Apply handed settings to the project window.
    bool Applied() const { return applied_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

  private:
    void BuildControls();
    void BuildLayout();
    void Load();
    QWidget* Box(SettingBox box) const;
    QString BoxText(SettingBox box) const;
    void SetBoxText(SettingBox box, const QString& text);
    void SelectBox(SettingBox box);
    RunSettingTexts Texts() const;
    void GainFocus(SettingBox box);
    // True when the box refused its value and took the focus back.
    bool LoseFocus(SettingBox box);
    // Checks the boxes and hands the settings to the project window; false
    // when something was refused.
    bool Apply();
    void Auto();
    void StoreDefaults();
    void ShowHelp(int label);
    // The keyboard user's help: that of the field the focus went to.
    void ShowHelpFor(const QWidget* focused);
    // "...": the folder dialog, starting where the after-run folder points.
    void ChooseAfterPath();
    // The folder is asked for only while an after-run action is chosen.
    void EnableAfterPath();
    // The time limit is asked for only while the sequential method is chosen.
    void EnableTimeLimit();
    // The button that has object name "objButton(number)".
    QPushButton*& Button(int number);

    ProjectDocument& project_;
    RunSettingRules rules_;
    bool applied_ = false;
    // Set from a refused value until the events of that moment are handled.
    bool refusedClick_ = false;

    // By the numbers the rules give the captions, units and help areas.
    std::array<QLabel*, 22> labels_{};
    QComboBox* mediaSizeBox_ = nullptr;
    // The tolerance, the media count, the most and the fewest files.
    std::array<QLineEdit*, 4> numberBoxes_{};
    QCheckBox* fastModeCheck_ = nullptr;
    QComboBox* methodBox_ = nullptr;
    // Seconds the sequential search spends on one medium, and what the
    // settings file held when the dialog opened.
    QDoubleSpinBox* timeLimitBox_ = nullptr;
    double timeLimit_ = 0;
    QCheckBox* allowanceCheck_ = nullptr;
    QComboBox* afterRunBox_ = nullptr;
    QLineEdit* afterPathBox_ = nullptr;
    QPushButton* browseButton_ = nullptr;
    QPushButton* okButton_ = nullptr;
    QPushButton* applyButton_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
    QPushButton* defaultsButton_ = nullptr;
    QPushButton* autoButton_ = nullptr;
    QFrame* fieldsFrame_ = nullptr;
    // Under the headings of the sizes and of the limits.
    QFrame* sizesLine_ = nullptr;
    QFrame* limitsLine_ = nullptr;
};

}  // namespace zv
