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
// objText(0) to objText(3) take numbers; objText(4) is the after-run folder.
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
    objCombo[0]->setFocus();
}

void RunSettingsDialog::BuildControls() {
    for (const int i : kLabels) {
        objLabel[i] = new QLabel;
        objLabel[i]->setObjectName(ControlName("objLabel", i));
    }
    for (const int i : {RunSettingRules::kMethodLabel, RunSettingRules::kAfterRunLabel,
                        RunSettingRules::kAfterPathLabel, RunSettingRules::kAllowanceHelp,
                        RunSettingRules::kTimeLimitLabel, RunSettingRules::kTimeLimitUnit}) {
        objLabel[i] = new QLabel;
        objLabel[i]->setObjectName(ControlName("objLabel", i));
    }
    for (const int n : RunSettingRules::HelpLabels()) {
        objLabel[n]->setMouseTracking(true);
        objLabel[n]->installEventFilter(this);
    }
    connect(qApp, &QApplication::focusChanged, this,
            [this](QWidget*, QWidget* now) { ShowHelpFor(now); });
    QLabel* help = objLabel[kHelpArea];
    help->setWordWrap(true);
    help->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    help->setFrameShape(QFrame::StyledPanel);
    help->setFrameShadow(QFrame::Sunken);
    // A fixed area: the dialog must not move its fields under the mouse
    // pointer when a longer text appears.
    help->setFixedHeight(help->fontMetrics().lineSpacing() * kHelpLines + 2 * help->frameWidth() +
                         2 * help->margin());
    help->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);

    objCombo[0] = new QComboBox;
    objCombo[0]->setObjectName(ControlName("objCombo", 0));
    objCombo[0]->setEditable(true);
    // It takes numbers and preset names as typed: nothing is completed or
    // added to the list.
    objCombo[0]->setCompleter(nullptr);
    objCombo[0]->setInsertPolicy(QComboBox::NoInsert);
    objCombo[0]->setMinimumWidth(kComboWidth);
    objCombo[0]->installEventFilter(this);

    for (int i = 0; i < kNumberBoxes; ++i) {
        objText[i] = new QLineEdit;
        objText[i]->setObjectName(ControlName("objText", i));
        objText[i]->setAlignment(Qt::AlignRight);
        objText[i]->setFixedWidth(kBoxWidth);
        // Digits only: no input method composes other characters into it.
        objText[i]->setAttribute(Qt::WA_InputMethodEnabled, false);
        objText[i]->installEventFilter(this);
    }

    objCombo[1] = new QComboBox;
    objCombo[1]->setObjectName(ControlName("objCombo", 1));
    objLabel[RunSettingRules::kMethodLabel]->setBuddy(objCombo[1]);
    connect(objCombo[1], &QComboBox::currentIndexChanged, this, [this] { EnableTimeLimit(); });
    objTimeLimit = new QDoubleSpinBox;
    objTimeLimit->setObjectName(QStringLiteral("objTimeLimit"));
    objTimeLimit->setRange(0, kLongestTimeLimit);
    objTimeLimit->setDecimals(1);
    objTimeLimit->setAlignment(Qt::AlignRight);
    objTimeLimit->setFixedWidth(kBoxWidth);
    objLabel[RunSettingRules::kTimeLimitLabel]->setBuddy(objTimeLimit);

    for (int i = 0; i < static_cast<int>(objCheck.size()); ++i) {
        objCheck[i] = new QCheckBox;
        objCheck[i]->setObjectName(ControlName("objCheck", i));
    }

    objCombo[2] = new QComboBox;
    objCombo[2]->setObjectName(ControlName("objCombo", 2));
    objLabel[RunSettingRules::kAfterRunLabel]->setBuddy(objCombo[2]);
    connect(objCombo[2], &QComboBox::currentIndexChanged, this, [this] { EnableAfterPath(); });
    // Any path: it takes none of the number boxes' rules.
    objText[4] = new QLineEdit;
    objText[4]->setObjectName(ControlName("objText", 4));
    objLabel[RunSettingRules::kAfterPathLabel]->setBuddy(objText[4]);
    objButton[kBrowse] = new QPushButton;
    objButton[kBrowse]->setObjectName(ControlName("objButton", kBrowse));
    objButton[kBrowse]->setAutoDefault(false);
    connect(objButton[kBrowse], &QPushButton::clicked, this, [this] { ChooseAfterPath(); });

    // Enter always means OK: a button reached with Tab does not take it over
    // (Auto would silently replace the tolerance).
    for (const int i : kButtons) {
        objButton[i] = new QPushButton;
        objButton[i]->setObjectName(ControlName("objButton", i));
        objButton[i]->setAutoDefault(false);
    }
    objButton[kOk]->setDefault(true);
    // A click whose press made a box refuse its value does nothing.
    const auto unlessRefused = [this](auto action) {
        return [this, action] {
            if (!refusedClick_)
                action();
        };
    };
    connect(objButton[kOk], &QPushButton::clicked, this, unlessRefused([this] {
                if (Apply())
                    accept();
            }));
    connect(objButton[kApply], &QPushButton::clicked, this, unlessRefused([this] { Apply(); }));
    connect(objButton[kCancel], &QPushButton::clicked, this, unlessRefused([this] { reject(); }));
    connect(objButton[kAuto], &QPushButton::clicked, this, unlessRefused([this] { Auto(); }));
    connect(objButton[kDefaults], &QPushButton::clicked, this,
            unlessRefused([this] { StoreDefaults(); }));

    objFrame[0] = new QFrame;
    objFrame[0]->setObjectName(ControlName("objFrame", 0));
    objFrame[0]->setFrameShape(QFrame::StyledPanel);
    objFrame[0]->setFrameShadow(QFrame::Sunken);
    Line1 = NewLine("Line1");
    Line2 = NewLine("Line2");

    objLabel[3]->setBuddy(objCombo[0]);
    objLabel[5]->setBuddy(objText[0]);
    objLabel[7]->setBuddy(objText[1]);
    objLabel[9]->setBuddy(objText[2]);
    objLabel[11]->setBuddy(objText[3]);
}

void RunSettingsDialog::BuildLayout() {
    auto* fields = new QGridLayout(objFrame[0]);
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
    heading(0, objLabel[0], Line1);
    fields->addWidget(objLabel[3], 1, 0);
    fields->addWidget(objCombo[0], 1, 1, 1, 2);
    fields->addWidget(objLabel[4], 1, 3);
    field(2, objLabel[5], objText[0], objLabel[6]);
    fields->addWidget(objButton[kAuto], 2, 3);
    field(3, objLabel[7], objText[1], objLabel[8]);
    heading(4, objLabel[1], Line2);
    field(5, objLabel[9], objText[2], objLabel[10]);
    field(6, objLabel[11], objText[3], objLabel[12]);
    fields->addWidget(objLabel[RunSettingRules::kMethodLabel], 8, 0);
    fields->addWidget(objCombo[1], 8, 1, 1, 3);
    fields->addWidget(objCheck[0], 7, 0);
    // The blank label beside the check box explains fast mode.
    fields->addWidget(objLabel[kSpeedHelp], 7, 1, 1, 4);
    field(9, objLabel[RunSettingRules::kTimeLimitLabel], objTimeLimit,
          objLabel[RunSettingRules::kTimeLimitUnit]);
    fields->addWidget(objCheck[1], 10, 0, 1, 2);
    // The blank label beside it explains the allowance.
    fields->addWidget(objLabel[RunSettingRules::kAllowanceHelp], 10, 2, 1, 3);
    fields->addWidget(objLabel[RunSettingRules::kAfterRunLabel], 11, 0);
    fields->addWidget(objCombo[2], 11, 1, 1, 3);
    fields->addWidget(objLabel[RunSettingRules::kAfterPathLabel], 12, 0);
    fields->addWidget(objText[4], 12, 1, 1, 2);
    fields->addWidget(objButton[kBrowse], 12, 3);
    fields->setColumnStretch(4, 1);

    auto* buttons = new QVBoxLayout;
    buttons->addWidget(objButton[kOk]);
    buttons->addWidget(objButton[kApply]);
    buttons->addWidget(objButton[kCancel]);
    buttons->addStretch();
    buttons->addWidget(objButton[kDefaults]);

    auto* top = new QHBoxLayout;
    top->addWidget(objFrame[0], 1);
    top->addLayout(buttons);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(objLabel[kHelpArea]);
}

void RunSettingsDialog::Load() {
    try {
        const RunSettingTexts texts = RunSettingRules::TextsOf(project_.GetRunSettings());
        objCombo[0]->setEditText(QString::fromStdString(texts.mediaSize));
        objText[0]->setText(QString::fromStdString(texts.diffSize));
        objText[1]->setText(QString::fromStdString(texts.mediaNum));
        objText[2]->setText(QString::fromStdString(texts.maxFile));
        objText[3]->setText(QString::fromStdString(texts.minFile));
        objCheck[0]->setChecked(texts.maxSpeed);
        for (const auto& [method, caption] : kMethods) {
            objCombo[1]->addItem(ShownText(ResString(caption)), static_cast<int>(method));
            if (method == texts.method)
                objCombo[1]->setCurrentIndex(objCombo[1]->count() - 1);
        }
        objLabel[RunSettingRules::kMethodLabel]->setText(
            ShownText(ResString(text_id::MethodCaption)));
        objLabel[RunSettingRules::kTimeLimitLabel]->setText(
            ShownText(ResString(text_id::TimeLimitCaption)));
        objLabel[RunSettingRules::kTimeLimitUnit]->setText(
            ShownText(ResString(text_id::TimeLimitUnit)));
        timeLimit_ = LoadMediumTimeLimit();
        objTimeLimit->setValue(timeLimit_);
        EnableTimeLimit();
        objCheck[1]->setChecked(texts.fsAllowance);
        objCheck[1]->setText(ShownText(ResString(text_id::AllowanceCaption)));
        for (const auto& [action, caption] : kAfterRunActions) {
            objCombo[2]->addItem(ShownText(ResString(caption)), static_cast<int>(action));
            if (static_cast<int16_t>(action) == texts.afterRun)
                objCombo[2]->setCurrentIndex(objCombo[2]->count() - 1);
        }
        objLabel[RunSettingRules::kAfterRunLabel]->setText(
            ShownText(ResString(text_id::AfterRunCaption)));
        objLabel[RunSettingRules::kAfterPathLabel]->setText(
            ShownText(ResString(text_id::AfterRunPathCaption)));
        objText[4]->setText(QString::fromStdString(texts.afterPath));
        objButton[kBrowse]->setText(ShownText(ResString(text_id::BrowseButton)));
        EnableAfterPath();

        setWindowTitle(ShownText(ResString(text_id::RunSettingsCaption)));
        for (const int i : kLabels)
            objLabel[i]->setText(ShownText(ResString(kLabelCaptions + i)));
        for (const int i : kButtons)
            objButton[i]->setText(ShownText(ResString(kButtonCaptions + i)));
        objCheck[0]->setText(ShownText(ResString(kCheckCaptions)));

        try {
            rules_.LoadPresets();
        } catch (const PlatformError& error) {
            ShowError(error);
        }
        for (const SizePreset& preset : rules_.Presets())
            objCombo[0]->addItem(QString::fromStdString(preset.name));
        // The first entry added became the current one; the box shows the
        // project's own text.
        objCombo[0]->setCurrentIndex(-1);
        objCombo[0]->setEditText(QString::fromStdString(texts.mediaSize));
    } catch (const PlatformError& error) {
        ShowError(error);
    }
}

QWidget* RunSettingsDialog::Box(SettingBox box) const {
    switch (box) {
        case SettingBox::MediaSize:
            return objCombo[0];
        case SettingBox::DiffSize:
            return objText[0];
        case SettingBox::MediaNum:
            return objText[1];
        case SettingBox::MaxFile:
            return objText[2];
        case SettingBox::MinFile:
            return objText[3];
        case SettingBox::AfterPath:
            return objText[4];
    }
    return nullptr;
}

QString RunSettingsDialog::BoxText(SettingBox box) const {
    if (box == SettingBox::MediaSize)
        return objCombo[0]->currentText();
    return static_cast<QLineEdit*>(Box(box))->text();
}

void RunSettingsDialog::SetBoxText(SettingBox box, const QString& text) {
    if (BoxText(box) == text)
        return;
    if (box == SettingBox::MediaSize)
        objCombo[0]->setEditText(text);
    else
        static_cast<QLineEdit*>(Box(box))->setText(text);
}

void RunSettingsDialog::SelectBox(SettingBox box) {
    Box(box)->setFocus(Qt::OtherFocusReason);
    if (box == SettingBox::MediaSize)
        objCombo[0]->lineEdit()->selectAll();
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
            objCheck[0]->isChecked(),
            static_cast<PackingMethod>(objCombo[1]->currentData().toInt()),
            objCheck[1]->isChecked(),
            static_cast<int16_t>(objCombo[2]->currentData().toInt()),
            text(SettingBox::AfterPath)};
}

bool RunSettingsDialog::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::MouseMove:
            for (const int n : RunSettingRules::HelpLabels()) {
                if (watched == objLabel[n])
                    ShowHelp(n);
            }
            break;
        case QEvent::KeyPress:
            if (watched != objCombo[0] && !RunSettingRules::AcceptsTyped(
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
        objLabel[kHelpArea]->clear();
    QDialog::mouseMoveEvent(event);
}

void RunSettingsDialog::GainFocus(SettingBox box) {
    SetBoxText(box,
               QString::fromStdString(RunSettingRules::FocusedText(BoxText(box).toStdString())));
    QLineEdit* edit =
        box == SettingBox::MediaSize ? objCombo[0]->lineEdit() : static_cast<QLineEdit*>(Box(box));
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
    if (objTimeLimit->value() != timeLimit_) {
        if (RunSettingRules::StoreMediumTimeLimit(objTimeLimit->value()))
            timeLimit_ = objTimeLimit->value();
        else
            ShowMessage(ResString(text_id::SettingsStoreFailed));
    }
    return true;
}

void RunSettingsDialog::Auto() {
    objText[0]->setText(
        QString::fromStdString(rules_.AutoTolerance(objCombo[0]->currentText().toStdString())));
}

void RunSettingsDialog::StoreDefaults() {
    ShowMessage(ResString(RunSettingRules::StoreDefaults(Texts()) ? text_id::SettingsStored
                                                                  : text_id::SettingsStoreFailed));
}

void RunSettingsDialog::ChooseAfterPath() {
    if (const auto folder = Ui().FolderDialog(ResString(text_id::AfterRunPathTitle),
                                              objText[4]->text().toStdString()))
        objText[4]->setText(QString::fromStdString(*folder));
}

void RunSettingsDialog::EnableAfterPath() {
    const bool acts = objCombo[2]->currentData().toInt() != static_cast<int>(AfterRunAction::None);
    objText[4]->setEnabled(acts);
    objButton[kBrowse]->setEnabled(acts);
}

void RunSettingsDialog::EnableTimeLimit() {
    objTimeLimit->setEnabled(objCombo[1]->currentData().toInt() ==
                             static_cast<int>(PackingMethod::Sequential));
}

void RunSettingsDialog::ShowHelpFor(const QWidget* focused) {
    if (focused == nullptr || !isAncestorOf(focused))
        return;
    for (const int n : RunSettingRules::HelpLabels()) {
        const QWidget* field = objLabel[n]->buddy();
        if (field != nullptr && (field == focused || field->isAncestorOf(focused)))
            ShowHelp(n);
    }
}

void RunSettingsDialog::ShowHelp(int label) {
    objLabel[kHelpArea]->setText(ShownText(RunSettingRules::HelpText(label)));
}

}  // namespace zv
