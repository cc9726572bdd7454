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

    objPicture = new QLabel;
    objPicture->setObjectName(QStringLiteral("objPicture"));
    objPicture->setPixmap(ProgramPicture().pixmap(kPictureSize, kPictureSize));
    objPicture->setAlignment(Qt::AlignTop | Qt::AlignHCenter);

    objLabel[0] = NewLabel(ResString(text_id::ProductName), QStringLiteral("objLabel(0)"));
    QFont nameFont = objLabel[0]->font();
    nameFont.setBold(true);
    nameFont.setPointSizeF(nameFont.pointSizeF() * 1.4);
    objLabel[0]->setFont(nameFont);
    objLabel[1] = NewLabel(VersionText(ZV_VERSION_MAJOR, ZV_VERSION_MINOR, ZV_VERSION_REVISION),
                           QStringLiteral("objLabel(1)"));
    objLabel[2] = NewLabel(RightsNotice(), QStringLiteral("objLabel(2)"));
    objLabel[3] = NewLabel(DisclaimerText(), QStringLiteral("objLabel(3)"));
    // A user with several copies of the program can tell which settings this
    // one uses; a long path breaks onto further lines.
    objLabel[4] = NewLabel(SettingsFileText(SettingsFile()), QStringLiteral("objLabel(4)"));
    objLabel[4]->setWordWrap(true);
    objLabel[4]->setTextInteractionFlags(Qt::TextSelectableByMouse);

    objButton[0] = new QPushButton(ShownText(ResString(text_id::OkButton)));
    objButton[0]->setObjectName(QStringLiteral("objButton(0)"));
    objButton[0]->setDefault(true);
    objButton[0]->setAutoDefault(true);
    connect(objButton[0], &QPushButton::clicked, this, &QDialog::close);

    auto* names = new QVBoxLayout;
    names->addWidget(objLabel[0]);
    names->addWidget(objLabel[1]);
    names->addWidget(objLabel[2]);
    names->addStretch();

    auto* top = new QHBoxLayout;
    top->addWidget(objPicture);
    top->addSpacing(8);
    top->addLayout(names, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(objButton[0]);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addSpacing(6);
    layout->addWidget(objLabel[3]);
    layout->addSpacing(6);
    layout->addWidget(objLabel[4]);
    layout->addStretch();
    layout->addLayout(buttons);

    // The designed size, unless the texts in the fonts at hand need more room.
    const QSize design(TwipsToPixelsX(kDesignWidth), TwipsToPixelsY(kDesignHeight));
    setFixedSize(design.expandedTo(sizeHint()));
}

}  // namespace zv
