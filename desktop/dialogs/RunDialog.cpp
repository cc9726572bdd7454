#include "desktop/dialogs/RunDialog.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/strings/StringIds.h"
#include "core/strings/StringTable.h"
#include "desktop/platform/QtText.h"

namespace zv {

namespace {

// What each bar measures: the search steps within a medium, and the loading
// of rows and the sizes tried.
constexpr int kBarCaptions[] = {text_id::SearchBarCaption, text_id::SizesBarCaption};

constexpr int kWidth = 420;
constexpr int kBarHeight = 18;

QString Text(const std::string& text) {
    return QString::fromStdString(text);
}

QLabel* NewLabel(const QString& text, int number) {
    auto* label = new QLabel(text);
    label->setObjectName(ControlName("objLabel", number));
    label->setTextFormat(Qt::PlainText);
    return label;
}

// The buttons keep the numbers their object names always had.
QPushButton* NewButton(int caption, int number) {
    auto* button = new QPushButton(Text(ResString(caption)));
    button->setObjectName(ControlName("objButton", number));
    button->setAutoDefault(false);
    return button;
}

// The platform's own bar, showing how far it has come in per cent beside it.
QProgressBar* NewBar(int index) {
    auto* bar = new QProgressBar;
    bar->setObjectName(ControlName("objProgress", index));
    bar->setTextVisible(true);
    bar->setFixedHeight(kBarHeight);
    bar->setAccessibleName(Text(ResString(kBarCaptions[index])));
    // The window keeps its layout while the bars are hidden.
    QSizePolicy policy = bar->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    bar->setSizePolicy(policy);
    bar->hide();
    return bar;
}

// The caption that says what bar `index` measures; shown with its bar.
QLabel* NewBarCaption(int index, QProgressBar* bar) {
    auto* caption = new QLabel(Text(ResString(kBarCaptions[index])));
    caption->setObjectName(ControlName("objBarCaption", index));
    caption->setBuddy(bar);
    QSizePolicy policy = caption->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    caption->setSizePolicy(policy);
    caption->hide();
    return caption;
}

}  // namespace

RunDialog::RunDialog(QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setObjectName(QStringLiteral("RunDialog"));
    setModal(false);
    setWindowTitle(Text(ResString(text_id::RunningCaption)));

    statusLabel_ = NewLabel(Text(ResString(text_id::PreparingRun)), 0);
    detailLabel_ = NewLabel({}, 1);
    for (int i = 0; i < static_cast<int>(bars_.size()); ++i) {
        bars_[i] = NewBar(i);
        barCaptions_[i] = NewBarCaption(i, bars_[i]);
    }

    abortButton_ = NewButton(text_id::AbortButton, 0);
    pauseButton_ = NewButton(text_id::PauseButton, 1);
    finishButton_ = NewButton(text_id::FinishMediumButton, 2);
    finishButton_->setToolTip(Text(ResString(text_id::FinishMediumTip)));
    finishButton_->setEnabled(false);
    connect(abortButton_, &QPushButton::clicked, this, &RunDialog::RequestAbort);
    connect(pauseButton_, &QPushButton::clicked, this, &RunDialog::TogglePause);
    connect(finishButton_, &QPushButton::clicked, this, &RunDialog::RequestFinish);

    auto* frame = new QFrame;
    frame->setObjectName(ControlName("objFrame", 0));
    frame->setFrameShape(QFrame::StyledPanel);
    frame->setFrameShadow(QFrame::Sunken);
    auto* inside = new QVBoxLayout(frame);
    inside->addWidget(statusLabel_);
    inside->addWidget(detailLabel_);
    auto* bars = new QGridLayout;
    for (int i = 0; i < static_cast<int>(bars_.size()); ++i) {
        bars->addWidget(barCaptions_[i], i, 0);
        bars->addWidget(bars_[i], i, 1);
    }
    bars->setColumnStretch(1, 1);
    inside->addLayout(bars);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(finishButton_);
    buttons->addStretch();
    buttons->addWidget(pauseButton_);
    buttons->addWidget(abortButton_);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(frame);
    layout->addLayout(buttons);
    setFixedSize(QSize(kWidth, 0).expandedTo(sizeHint()));
}

void RunDialog::RequestAbort() {
    requests_.abort = true;
}

void RunDialog::TogglePause() {
    if (!requests_.pause) {
        requests_.pause = true;
        savedStatus_ = statusLabel_->text().toStdString();
        statusLabel_->setText(Text(ResString(text_id::PausedStatus)));
        pauseButton_->setText(Text(ResString(text_id::ResumeButton)));
    } else {
        requests_.pause = false;
        statusLabel_->setText(Text(savedStatus_));
        pauseButton_->setText(Text(ResString(text_id::PauseAgainButton)));
    }
    emit PauseToggled();
}

void RunDialog::RequestFinish() {
    requests_.finish = true;
    // One request per medium; the next search offers it again.
    finishButton_->setEnabled(false);
}

void RunDialog::ShowStatus(const std::string& text) {
    // While paused the line keeps saying so; what the run reports meanwhile
    // is what resuming shows.
    if (requests_.pause)
        savedStatus_ = text;
    else
        statusLabel_->setText(Text(text));
}

void RunDialog::ShowProgress(int bar, const ProgressBarState& state) {
    QProgressBar* progress = bars_[bar];
    if (state.max > state.min) {
        progress->setRange(state.min, state.max);
        progress->setValue(state.value);
    } else {
        // No room between the ends: a full bar rather than a busy one.
        progress->setRange(0, 1);
        progress->setValue(1);
    }
    progress->setVisible(state.visible);
    barCaptions_[bar]->setVisible(state.visible);
}

void RunDialog::ShowDetail(const std::string& text) {
    detailLabel_->setText(Text(text));
}

void RunDialog::ShowSearchRunning(bool running) {
    finishButton_->setEnabled(running);
}

}  // namespace zv
