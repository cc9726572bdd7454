#include "desktop/dialogs/RunDialog.h"

#include <QEventLoop>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "core/platform/UiServices.h"
#include "core/strings/StringIds.h"
#include "core/strings/StringTable.h"
#include "desktop/platform/QtText.h"

namespace zv {

namespace {

constexpr int kAbortButton = 0;
constexpr int kPauseButton = 1;
constexpr int kFinishButton = 2;

// What each bar measures: the search steps within a medium, and the loading
// of rows and the sizes tried.
constexpr int kBarCaptions[] = {text_id::SearchBarCaption, text_id::SizesBarCaption};

// How long a paused run sleeps between looks at its requests, in milliseconds.
constexpr int kPauseWaitMs = 10;

constexpr int kWidth = 420;
constexpr int kBarHeight = 18;

QString Text(const std::string& text) {
    return QString::fromStdString(text);
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

    objLabel[0] = new QLabel(Text(ResString(text_id::PreparingRun)));
    objLabel[0]->setObjectName(ControlName("objLabel", 0));
    objLabel[0]->setTextFormat(Qt::PlainText);
    // How far the search of the medium has come, in words.
    objLabel[1] = new QLabel;
    objLabel[1]->setObjectName(ControlName("objLabel", 1));
    objLabel[1]->setTextFormat(Qt::PlainText);
    for (int i = 0; i < static_cast<int>(objProgress.size()); ++i) {
        objProgress[i] = NewBar(i);
        objBarCaption[i] = NewBarCaption(i, objProgress[i]);
    }

    const int captions[] = {text_id::AbortButton, text_id::PauseButton,
                            text_id::FinishMediumButton};
    for (int i = 0; i < static_cast<int>(objButton.size()); ++i) {
        objButton[i] = new QPushButton(Text(ResString(captions[i])));
        objButton[i]->setObjectName(ControlName("objButton", i));
        objButton[i]->setAutoDefault(false);
    }
    objButton[kFinishButton]->setToolTip(Text(ResString(text_id::FinishMediumTip)));
    objButton[kFinishButton]->setEnabled(false);
    connect(objButton[kAbortButton], &QPushButton::clicked, this, &RunDialog::RequestAbort);
    connect(objButton[kPauseButton], &QPushButton::clicked, this, &RunDialog::TogglePause);
    connect(objButton[kFinishButton], &QPushButton::clicked, this, &RunDialog::RequestFinish);

    objFrame[0] = new QFrame;
    objFrame[0]->setObjectName(ControlName("objFrame", 0));
    objFrame[0]->setFrameShape(QFrame::StyledPanel);
    objFrame[0]->setFrameShadow(QFrame::Sunken);
    auto* inside = new QVBoxLayout(objFrame[0]);
    inside->addWidget(objLabel[0]);
    inside->addWidget(objLabel[1]);
    auto* bars = new QGridLayout;
    for (int i = 0; i < static_cast<int>(objProgress.size()); ++i) {
        bars->addWidget(objBarCaption[i], i, 0);
        bars->addWidget(objProgress[i], i, 1);
    }
    bars->setColumnStretch(1, 1);
    inside->addLayout(bars);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(objButton[kFinishButton]);
    buttons->addStretch();
    buttons->addWidget(objButton[kPauseButton]);
    buttons->addWidget(objButton[kAbortButton]);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(objFrame[0]);
    layout->addLayout(buttons);
    setFixedSize(QSize(kWidth, 0).expandedTo(sizeHint()));
}

void RunDialog::RequestAbort() {
    requests_.abort = true;
}

void RunDialog::TogglePause() {
    if (!requests_.pause) {
        requests_.pause = true;
        savedStatus_ = objLabel[0]->text().toStdString();
        objLabel[0]->setText(Text(ResString(text_id::PausedStatus)));
        objButton[kPauseButton]->setText(Text(ResString(text_id::ResumeButton)));
    } else {
        requests_.pause = false;
        objLabel[0]->setText(Text(savedStatus_));
        objButton[kPauseButton]->setText(Text(ResString(text_id::PauseAgainButton)));
    }
    emit PauseToggled();
}

void RunDialog::RequestFinish() {
    requests_.finish = true;
    // One request per medium; the next search offers it again.
    objButton[kFinishButton]->setEnabled(false);
}

void RunDialog::StatusChanged(const std::string& text) {
    // While paused the line keeps saying so; what the run reports meanwhile
    // is what resuming shows.
    if (requests_.pause)
        savedStatus_ = text;
    else
        objLabel[0]->setText(Text(text));
}

void RunDialog::ProgressChanged(int bar, const ProgressBarState& state) {
    QProgressBar* progress = objProgress[bar];
    if (state.max > state.min) {
        progress->setRange(state.min, state.max);
        progress->setValue(state.value);
    } else {
        // No room between the ends: a full bar rather than a busy one.
        progress->setRange(0, 1);
        progress->setValue(1);
    }
    progress->setVisible(state.visible);
    objBarCaption[bar]->setVisible(state.visible);
}

void RunDialog::Yield() {
    Ui().Yield();
}

void RunDialog::PauseWait() {
    Ui().YieldNow();
    // Sleep in an event loop: the buttons answer at once, and the processor
    // rests until something happens or the time is up.
    QEventLoop wait;
    QTimer::singleShot(kPauseWaitMs, &wait, &QEventLoop::quit);
    wait.exec();
}

void RunDialog::DetailChanged(const std::string& text) {
    objLabel[1]->setText(QString::fromStdString(text));
}

void RunDialog::SearchRunning(bool running) {
    objButton[kFinishButton]->setEnabled(running);
}

}  // namespace zv
