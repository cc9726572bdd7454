#include "desktop/dialogs/RunSettingsDialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFocusEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
#include <utility>

#include "core/platform/PlatformError.h"
#include "core/platform/UiServices.h"
#include "core/project/DefaultRunSettings.h"
#include "core/project/ProjectDocument.h"
#include "core/settings/ShowError.h"
#include "core/strings/StringIds.h"
#include "core/strings/StringTable.h"
#include "desktop/platform/QtText.h"
#include "desktop/platform/Twips.h"

namespace zv {

namespace {

constexpr int kLabelCaptions = 4100;
constexpr int kButtonCaptions = 4200;
constexpr int kCheckCaptions = 4400;

// The labels and buttons the dialog has.
constexpr int kLabels[] = {0, 1, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 14, 15};
constexpr int kCancel = 0, kApply = 2, kOk = 3, kDefaults = 5, kAuto = 6;
constexpr int kButtons[] = {kCancel, kApply, kOk, kDefaults, kAuto};
constexpr int kHelpArea = 14;
constexpr int kSpeedHelp = 15;
// The methods in the order the box offers them, with their names.
constexpr std::pair<PackingMethod, int> kMethods[] = {
    {PackingMethod::Sequential, text_id::SequentialMethod},
    {PackingMethod::FewestMedia, text_id::FewestMediaMethod},
};
constexpr int kBrowse = 7;
// The boxes that take numbers: the tolerance, the media count, the most and
// the fewest files on a medium.
constexpr int kNumberBoxes = 4;
// The after-run actions in the order the box offers them, with their names.
constexpr std::pair<AfterRunAction, int> kAfterRunActions[] = {
    {AfterRunAction::None, text_id::AfterRunNothing},
    {AfterRunAction::LinkFolders, text_id::AfterRunLinkFolders},
    {AfterRunAction::PathLists, text_id::AfterRunPathLists},
    {AfterRunAction::IsoImages, text_id::AfterRunIsoImages},
};

constexpr SettingBox kBoxes[] = {SettingBox::MediaSize, SettingBox::DiffSize, SettingBox::MediaNum,
                                 SettingBox::MaxFile, SettingBox::MinFile};

// The designed client area, in twips.
constexpr int kDesignWidth = 8400;
constexpr int kDesignHeight = 3930;
// Room for the longest help text, wrapped.
constexpr int kHelpLines = 7;
constexpr int kBoxWidth = 150;
constexpr int kComboWidth = 220;
// The longest time limit the box takes, in seconds: a day.
constexpr double kLongestTimeLimit = 86400;

QPushButton* NewButton(int number) {
    auto* button = new QPushButton;
    button->setObjectName(ControlName("objButton", number));
    button->setAutoDefault(false);
    return button;
}

QFrame* NewLine(const char* name) {
    auto* line = new QFrame;
    line->setObjectName(QLatin1String(name));
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}

// Focus that moves within the dialog; the dialog losing or regaining the
// active state, and a drop-down list opening, leave the boxes alone.
bool MovesWithin(const QEvent* event) {
    const Qt::FocusReason reason = static_cast<const QFocusEvent*>(event)->reason();
    return reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason;
}

}  // namespace

RunSettingsDialog::RunSettingsDialog(QWidget* owner, ProjectDocument& project)
    : QDialog(owner,
              Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      project_(project) {
    setObjectName(QStringLiteral("RunSettingsDialog"));
    setMouseTracking(true);
    BuildControls();
    BuildLayout();
    Load();
    const QSize design(TwipsToPixelsX(kDesignWidth), TwipsToPixelsY(kDesignHeight));
    setFixedSize(design.expandedTo(sizeHint()));
    mediaSizeBox_->setFocus();
}

QPushButton*& RunSettingsDialog::Button(int number) {
    switch (number) {
        case kCancel:
            return cancelButton_;
        case kApply:
            return applyButton_;
        case kOk:
            return okButton_;
        case kDefaults:
            return defaultsButton_;
        case kAuto:
            return autoButton_;
        default:
            return browseButton_;
    }
}

void RunSettingsDialog::BuildControls() {
    for (const int i : kLabels) {
        labels_[i] = new QLabel;
        labels_[i]->setObjectName(ControlName("objLabel", i));
    }
    for (const int i : {RunSettingRules::kMethodLabel, RunSettingRules::kAfterRunLabel,
                        RunSettingRules::kAfterPathLabel, RunSettingRules::kAllowanceHelp,
                        RunSettingRules::kTimeLimitLabel, RunSettingRules::kTimeLimitUnit}) {
        labels_[i] = new QLabel;
        labels_[i]->setObjectName(ControlName("objLabel", i));
    }
    for (const int n : RunSettingRules::HelpLabels()) {
        labels_[n]->setMouseTracking(true);
        labels_[n]->installEventFilter(this);
    }
    connect(qApp, &QApplication::focusChanged, this,
            [this](QWidget*, QWidget* now) { ShowHelpFor(now); });
    QLabel* help = labels_[kHelpArea];
    help->setWordWrap(true);
    help->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    help->setFrameShape(QFrame::StyledPanel);
    help->setFrameShadow(QFrame::Sunken);
    // A fixed area: the dialog must not move its fields under the mouse
    // pointer when a longer text appears.
    help->setFixedHeight(help->fontMetrics().lineSpacing() * kHelpLines + 2 * help->frameWidth() +
                         2 * help->margin());
    help->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);

    mediaSizeBox_ = new QComboBox;
    mediaSizeBox_->setObjectName(ControlName("objCombo", 0));
    mediaSizeBox_->setEditable(true);
    // It takes numbers and preset names as typed: nothing is completed or
    // added to the list.
    mediaSizeBox_->setCompleter(nullptr);
    mediaSizeBox_->setInsertPolicy(QComboBox::NoInsert);
    mediaSizeBox_->setMinimumWidth(kComboWidth);
    mediaSizeBox_->installEventFilter(this);

    for (int i = 0; i < kNumberBoxes; ++i) {
        QLineEdit* box = new QLineEdit;
        box->setObjectName(ControlName("objText", i));
        box->setAlignment(Qt::AlignRight);
        box->setFixedWidth(kBoxWidth);
        // Digits only: no input method composes other characters into it.
        box->setAttribute(Qt::WA_InputMethodEnabled, false);
        box->installEventFilter(this);
        numberBoxes_[i] = box;
    }

    methodBox_ = new QComboBox;
    methodBox_->setObjectName(ControlName("objCombo", 1));
    labels_[RunSettingRules::kMethodLabel]->setBuddy(methodBox_);
    connect(methodBox_, &QComboBox::currentIndexChanged, this, [this] { EnableTimeLimit(); });
    timeLimitBox_ = new QDoubleSpinBox;
    timeLimitBox_->setObjectName(QStringLiteral("objTimeLimit"));
    timeLimitBox_->setRange(0, kLongestTimeLimit);
    timeLimitBox_->setDecimals(1);
    timeLimitBox_->setAlignment(Qt::AlignRight);
    timeLimitBox_->setFixedWidth(kBoxWidth);
    labels_[RunSettingRules::kTimeLimitLabel]->setBuddy(timeLimitBox_);

    fastModeCheck_ = new QCheckBox;
    fastModeCheck_->setObjectName(ControlName("objCheck", 0));
    allowanceCheck_ = new QCheckBox;
    allowanceCheck_->setObjectName(ControlName("objCheck", 1));

    afterRunBox_ = new QComboBox;
    afterRunBox_->setObjectName(ControlName("objCombo", 2));
    labels_[RunSettingRules::kAfterRunLabel]->setBuddy(afterRunBox_);
    connect(afterRunBox_, &QComboBox::currentIndexChanged, this, [this] { EnableAfterPath(); });
    // Any path: it takes none of the number boxes' rules.
    afterPathBox_ = new QLineEdit;
    afterPathBox_->setObjectName(ControlName("objText", 4));
    labels_[RunSettingRules::kAfterPathLabel]->setBuddy(afterPathBox_);
    browseButton_ = NewButton(kBrowse);
    connect(browseButton_, &QPushButton::clicked, this, [this] { ChooseAfterPath(); });

    // Enter always means OK: a button reached with Tab does not take it over
    // (Auto would silently replace the tolerance).
    for (const int i : kButtons)
        Button(i) = NewButton(i);
    okButton_->setDefault(true);
    // A click whose press made a box refuse its value does nothing.
    const auto unlessRefused = [this](auto action) {
        return [this, action] {
            if (!refusedClick_)
                action();
        };
    };
    connect(okButton_, &QPushButton::clicked, this, unlessRefused([this] {
                if (Apply())
                    accept();
            }));
    connect(applyButton_, &QPushButton::clicked, this, unlessRefused([this] { Apply(); }));
    connect(cancelButton_, &QPushButton::clicked, this, unlessRefused([this] { reject(); }));
    connect(autoButton_, &QPushButton::clicked, this, unlessRefused([this] { Auto(); }));
    connect(defaultsButton_, &QPushButton::clicked, this,
            unlessRefused([this] { StoreDefaults(); }));

    fieldsFrame_ = new QFrame;
    fieldsFrame_->setObjectName(ControlName("objFrame", 0));
    fieldsFrame_->setFrameShape(QFrame::StyledPanel);
    fieldsFrame_->setFrameShadow(QFrame::Sunken);
    sizesLine_ = NewLine("Line1");
    limitsLine_ = NewLine("Line2");

    labels_[3]->setBuddy(mediaSizeBox_);
    labels_[5]->setBuddy(numberBoxes_[0]);
    labels_[7]->setBuddy(numberBoxes_[1]);
    labels_[9]->setBuddy(numberBoxes_[2]);
    labels_[11]->setBuddy(numberBoxes_[3]);
}

void RunSettingsDialog::BuildLayout() {
    auto* fields = new QGridLayout(fieldsFrame_);
    auto heading = [fields](int row, QLabel* label, QFrame* line) {
        auto* layout = new QHBoxLayout;
        layout->addWidget(label);
        layout->addWidget(line, 1);
        fields->addLayout(layout, row, 0, 1, 5);
    };
    auto field = [fields](int row, QLabel* caption, QWidget* box, QLabel* unit) {
        fields->addWidget(caption, row, 0);
        fields->addWidget(box, row, 1);
        fields->addWidget(unit, row, 2);
    };
    heading(0, labels_[0], sizesLine_);
    fields->addWidget(labels_[3], 1, 0);
    fields->addWidget(mediaSizeBox_, 1, 1, 1, 2);
    fields->addWidget(labels_[4], 1, 3);
    field(2, labels_[5], numberBoxes_[0], labels_[6]);
    fields->addWidget(autoButton_, 2, 3);
    field(3, labels_[7], numberBoxes_[1], labels_[8]);
    heading(4, labels_[1], limitsLine_);
    field(5, labels_[9], numberBoxes_[2], labels_[10]);
    field(6, labels_[11], numberBoxes_[3], labels_[12]);
    fields->addWidget(labels_[RunSettingRules::kMethodLabel], 8, 0);
    fields->addWidget(methodBox_, 8, 1, 1, 3);
    fields->addWidget(fastModeCheck_, 7, 0);
    // The blank label beside the check box explains fast mode.
    fields->addWidget(labels_[kSpeedHelp], 7, 1, 1, 4);
    field(9, labels_[RunSettingRules::kTimeLimitLabel], timeLimitBox_,
          labels_[RunSettingRules::kTimeLimitUnit]);
    fields->addWidget(allowanceCheck_, 10, 0, 1, 2);
    // The blank label beside it explains the allowance.
    fields->addWidget(labels_[RunSettingRules::kAllowanceHelp], 10, 2, 1, 3);
    fields->addWidget(labels_[RunSettingRules::kAfterRunLabel], 11, 0);
    fields->addWidget(afterRunBox_, 11, 1, 1, 3);
    fields->addWidget(labels_[RunSettingRules::kAfterPathLabel], 12, 0);
    fields->addWidget(afterPathBox_, 12, 1, 1, 2);
    fields->addWidget(browseButton_, 12, 3);
    fields->setColumnStretch(4, 1);

    auto* buttons = new QVBoxLayout;
    buttons->addWidget(okButton_);
    buttons->addWidget(applyButton_);
    buttons->addWidget(cancelButton_);
    buttons->addStretch();
    buttons->addWidget(defaultsButton_);

    auto* top = new QHBoxLayout;
    top->addWidget(fieldsFrame_, 1);
    top->addLayout(buttons);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(labels_[kHelpArea]);
}

void RunSettingsDialog::Load() {
    try {
        const RunSettingTexts texts = RunSettingRules::TextsOf(project_.GetRunSettings());
        mediaSizeBox_->setEditText(QString::fromStdString(texts.mediaSize));
        numberBoxes_[0]->setText(QString::fromStdString(texts.diffSize));
        numberBoxes_[1]->setText(QString::fromStdString(texts.mediaNum));
        numberBoxes_[2]->setText(QString::fromStdString(texts.maxFile));
        numberBoxes_[3]->setText(QString::fromStdString(texts.minFile));
        fastModeCheck_->setChecked(texts.maxSpeed);
        for (const auto& [method, caption] : kMethods) {
            methodBox_->addItem(ShownText(ResString(caption)), static_cast<int>(method));
            if (method == texts.method)
                methodBox_->setCurrentIndex(methodBox_->count() - 1);
        }
        labels_[RunSettingRules::kMethodLabel]->setText(
            ShownText(ResString(text_id::MethodCaption)));
        labels_[RunSettingRules::kTimeLimitLabel]->setText(
            ShownText(ResString(text_id::TimeLimitCaption)));
        labels_[RunSettingRules::kTimeLimitUnit]->setText(
            ShownText(ResString(text_id::TimeLimitUnit)));
        timeLimit_ = LoadMediumTimeLimit();
        timeLimitBox_->setValue(timeLimit_);
        EnableTimeLimit();
        allowanceCheck_->setChecked(texts.fsAllowance);
        allowanceCheck_->setText(ShownText(ResString(text_id::AllowanceCaption)));
        for (const auto& [action, caption] : kAfterRunActions) {
            afterRunBox_->addItem(ShownText(ResString(caption)), static_cast<int>(action));
            if (static_cast<int16_t>(action) == texts.afterRun)
                afterRunBox_->setCurrentIndex(afterRunBox_->count() - 1);
        }
        labels_[RunSettingRules::kAfterRunLabel]->setText(
            ShownText(ResString(text_id::AfterRunCaption)));
        labels_[RunSettingRules::kAfterPathLabel]->setText(
            ShownText(ResString(text_id::AfterRunPathCaption)));
        afterPathBox_->setText(QString::fromStdString(texts.afterPath));
        browseButton_->setText(ShownText(ResString(text_id::BrowseButton)));
        EnableAfterPath();

        setWindowTitle(ShownText(ResString(text_id::RunSettingsCaption)));
        for (const int i : kLabels)
            labels_[i]->setText(ShownText(ResString(kLabelCaptions + i)));
        for (const int i : kButtons)
            Button(i)->setText(ShownText(ResString(kButtonCaptions + i)));
        fastModeCheck_->setText(ShownText(ResString(kCheckCaptions)));

        try {
            rules_.LoadPresets();
        } catch (const PlatformError& error) {
            ShowError(error);
        }
        for (const SizePreset& preset : rules_.Presets())
            mediaSizeBox_->addItem(QString::fromStdString(preset.name));
        // The first entry added became the current one; the box shows the
        // project's own text.
        mediaSizeBox_->setCurrentIndex(-1);
        mediaSizeBox_->setEditText(QString::fromStdString(texts.mediaSize));
    } catch (const PlatformError& error) {
        ShowError(error);
    }
}

QWidget* RunSettingsDialog::Box(SettingBox box) const {
    switch (box) {
        case SettingBox::MediaSize:
            return mediaSizeBox_;
        case SettingBox::DiffSize:
            return numberBoxes_[0];
        case SettingBox::MediaNum:
            return numberBoxes_[1];
        case SettingBox::MaxFile:
            return numberBoxes_[2];
        case SettingBox::MinFile:
            return numberBoxes_[3];
        case SettingBox::AfterPath:
            return afterPathBox_;
    }
    return nullptr;
}

QString RunSettingsDialog::BoxText(SettingBox box) const {
    if (box == SettingBox::MediaSize)
        return mediaSizeBox_->currentText();
    return static_cast<QLineEdit*>(Box(box))->text();
}

void RunSettingsDialog::SetBoxText(SettingBox box, const QString& text) {
    if (BoxText(box) == text)
        return;
    if (box == SettingBox::MediaSize)
        mediaSizeBox_->setEditText(text);
    else
        static_cast<QLineEdit*>(Box(box))->setText(text);
}

void RunSettingsDialog::SelectBox(SettingBox box) {
    Box(box)->setFocus(Qt::OtherFocusReason);
    if (box == SettingBox::MediaSize)
        mediaSizeBox_->lineEdit()->selectAll();
    else
        static_cast<QLineEdit*>(Box(box))->selectAll();
}

RunSettingTexts RunSettingsDialog::Texts() const {
    const auto text = [this](SettingBox box) { return BoxText(box).toStdString(); };
    return {text(SettingBox::MediaSize),
            text(SettingBox::DiffSize),
            text(SettingBox::MediaNum),
            text(SettingBox::MaxFile),
            text(SettingBox::MinFile),
            fastModeCheck_->isChecked(),
            static_cast<PackingMethod>(methodBox_->currentData().toInt()),
            allowanceCheck_->isChecked(),
            static_cast<int16_t>(afterRunBox_->currentData().toInt()),
            text(SettingBox::AfterPath)};
}

bool RunSettingsDialog::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::MouseMove:
            for (const int n : RunSettingRules::HelpLabels()) {
                if (watched == labels_[n])
                    ShowHelp(n);
            }
            break;
        case QEvent::KeyPress:
            if (watched != mediaSizeBox_ &&
                !RunSettingRules::AcceptsTyped(
                    static_cast<QKeyEvent*>(event)->text().toStdString()))
                return true;
            break;
        case QEvent::FocusIn:
        case QEvent::FocusOut:
            if (!MovesWithin(event))
                break;
            for (const SettingBox box : kBoxes) {
                if (watched != Box(box))
                    continue;
                if (event->type() == QEvent::FocusIn) {
                    GainFocus(box);
                } else if (LoseFocus(box)) {
                    // A refused value kept the focus: the box must not see
                    // itself leave.
                    return true;
                }
            }
            break;
        default:
            break;
    }
    return QDialog::eventFilter(watched, event);
}

void RunSettingsDialog::mouseMoveEvent(QMouseEvent* event) {
    if (childAt(event->position().toPoint()) == nullptr)
        labels_[kHelpArea]->clear();
    QDialog::mouseMoveEvent(event);
}

void RunSettingsDialog::GainFocus(SettingBox box) {
    SetBoxText(box,
               QString::fromStdString(RunSettingRules::FocusedText(BoxText(box).toStdString())));
    QLineEdit* edit = box == SettingBox::MediaSize ? mediaSizeBox_->lineEdit()
                                                   : static_cast<QLineEdit*>(Box(box));
    edit->selectAll();
    // A click into the box places the cursor after the focus arrived.
    QTimer::singleShot(0, edit, &QLineEdit::selectAll);
}

bool RunSettingsDialog::LoseFocus(SettingBox box) {
    const LeftBoxText left = RunSettingRules::LeftText(box, BoxText(box).toStdString());
    if (!left.refused) {
        SetBoxText(box, QString::fromStdString(left.text));
        return false;
    }
    ShowMessage(ResString(text_id::YottaRefused), ResString(text_id::ErrorTitle));
    // The press that took the focus away does not go on to a click.
    refusedClick_ = true;
    QTimer::singleShot(0, this, [this] { refusedClick_ = false; });
    SelectBox(box);
    return true;
}

bool RunSettingsDialog::Apply() {
    RunSettings settings;
    try {
        settings = RunSettingRules::RecordOf(Texts());
    } catch (const PlatformError& error) {
        ShowMessage(error.Description(),
                    ResString(text_id::ErrorTitle) + std::to_string(error.Number()));
        return false;
    }
    if (const auto refusal = RunSettingRules::Check(settings)) {
        ShowMessage(ResString(refusal->message), ResString(text_id::ErrorTitle));
        SelectBox(refusal->focus);
        return false;
    }
    project_.SetRunSettings(settings);
    applied_ = true;
    // The limit belongs to the program, not to the project.
    if (timeLimitBox_->value() != timeLimit_) {
        if (RunSettingRules::StoreMediumTimeLimit(timeLimitBox_->value()))
            timeLimit_ = timeLimitBox_->value();
        else
            ShowMessage(ResString(text_id::SettingsStoreFailed));
    }
    return true;
}

void RunSettingsDialog::Auto() {
    numberBoxes_[0]->setText(
        QString::fromStdString(rules_.AutoTolerance(mediaSizeBox_->currentText().toStdString())));
}

void RunSettingsDialog::StoreDefaults() {
    ShowMessage(ResString(RunSettingRules::StoreDefaults(Texts()) ? text_id::SettingsStored
                                                                  : text_id::SettingsStoreFailed));
}

void RunSettingsDialog::ChooseAfterPath() {
    if (const auto folder = Ui().FolderDialog(ResString(text_id::AfterRunPathTitle),
                                              afterPathBox_->text().toStdString()))
        afterPathBox_->setText(QString::fromStdString(*folder));
}

void RunSettingsDialog::EnableAfterPath() {
    const bool acts = afterRunBox_->currentData().toInt() != static_cast<int>(AfterRunAction::None);
    afterPathBox_->setEnabled(acts);
    browseButton_->setEnabled(acts);
}

void RunSettingsDialog::EnableTimeLimit() {
    timeLimitBox_->setEnabled(methodBox_->currentData().toInt() ==
                              static_cast<int>(PackingMethod::Sequential));
}

void RunSettingsDialog::ShowHelpFor(const QWidget* focused) {
    if (focused == nullptr || !isAncestorOf(focused))
        return;
    for (const int n : RunSettingRules::HelpLabels()) {
        const QWidget* field = labels_[n]->buddy();
        if (field != nullptr && (field == focused || field->isAncestorOf(focused)))
            ShowHelp(n);
    }
}

void RunSettingsDialog::ShowHelp(int label) {
    labels_[kHelpArea]->setText(ShownText(RunSettingRules::HelpText(label)));
}

}  // namespace zv
