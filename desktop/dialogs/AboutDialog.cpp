#include "desktop/dialogs/AboutDialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/strings/StringIds.h"
#include "core/strings/StringTable.h"
#include "desktop/dialogs/ProgramPicture.h"
#include "desktop/dialogs/VersionTexts.h"
#include "desktop/platform/QtText.h"
#include "desktop/platform/Twips.h"

namespace zv {

namespace {

// The box's designed client area, in twips.
constexpr int kDesignWidth = 5010;
constexpr int kDesignHeight = 3045;
constexpr int kPictureSize = 48;

QLabel* NewLabel(const std::string& text, const QString& name) {
    auto* label = new QLabel(ShownText(text));
    label->setObjectName(name);
    return label;
}

}  // namespace

AboutDialog::AboutDialog(QWidget* owner)
    : QDialog(owner, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                         Qt::WindowCloseButtonHint) {
    setObjectName(QStringLiteral("AboutDialog"));
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);
    setWindowTitle(ShownText(ResString(text_id::VersionCaption)));

    picture_ = new QLabel;
    picture_->setObjectName(QStringLiteral("objPicture"));
    picture_->setPixmap(ProgramPicture().pixmap(kPictureSize, kPictureSize));
    picture_->setAlignment(Qt::AlignTop | Qt::AlignHCenter);

    nameLabel_ = NewLabel(ResString(text_id::ProductName), QStringLiteral("objLabel(0)"));
    QFont nameFont = nameLabel_->font();
    nameFont.setBold(true);
    nameFont.setPointSizeF(nameFont.pointSizeF() * 1.4);
    nameLabel_->setFont(nameFont);
    versionLabel_ = NewLabel(VersionText(ZV_VERSION_MAJOR, ZV_VERSION_MINOR, ZV_VERSION_REVISION),
                             QStringLiteral("objLabel(1)"));
    rightsLabel_ = NewLabel(RightsNotice(), QStringLiteral("objLabel(2)"));
    disclaimerLabel_ = NewLabel(DisclaimerText(), QStringLiteral("objLabel(3)"));
    // A user with several copies of the program can tell which settings this
    // one uses; a long path breaks onto further lines.
    settingsFileLabel_ = NewLabel(SettingsFileText(SettingsFile()), QStringLiteral("objLabel(4)"));
    settingsFileLabel_->setWordWrap(true);
    settingsFileLabel_->setTextInteractionFlags(Qt::TextSelectableByMouse);

    okButton_ = new QPushButton(ShownText(ResString(text_id::OkButton)));
    okButton_->setObjectName(QStringLiteral("objButton(0)"));
    okButton_->setDefault(true);
    okButton_->setAutoDefault(true);
    connect(okButton_, &QPushButton::clicked, this, &QDialog::close);

    auto* names = new QVBoxLayout;
    names->addWidget(nameLabel_);
    names->addWidget(versionLabel_);
    names->addWidget(rightsLabel_);
    names->addStretch();

    auto* top = new QHBoxLayout;
    top->addWidget(picture_);
    top->addSpacing(8);
    top->addLayout(names, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(okButton_);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addSpacing(6);
    layout->addWidget(disclaimerLabel_);
    layout->addSpacing(6);
    layout->addWidget(settingsFileLabel_);
    layout->addStretch();
    layout->addLayout(buttons);

    // The designed size, unless the texts in the fonts at hand need more room.
    const QSize design(TwipsToPixelsX(kDesignWidth), TwipsToPixelsY(kDesignHeight));
    setFixedSize(design.expandedTo(sizeHint()));
}

}  // namespace zv
