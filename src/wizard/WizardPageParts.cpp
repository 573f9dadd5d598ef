#include "WizardPageParts.h"

#include <QBoxLayout>
#include <QFrame>
#include <QLabel>
#include <QPushButton>

namespace qv::wizard {

QPushButton *MakePageButton(QWidget *oParent, const char *sName, const char *sCaption)
{
    auto *oButton = new QPushButton(QString::fromLatin1(sCaption), oParent);
    oButton->setObjectName(QString::fromLatin1(sName));
    oButton->setAutoDefault(false);
    return oButton;
}

QWidget *MakeStepHead(QWidget *oParent, QLabel *&lblTitle, QLabel *&lblDescription)
{
    auto *oHead = new QWidget(oParent);
    oHead->setObjectName(QStringLiteral("fraStepHead"));
    lblTitle = new QLabel(oHead);
    lblTitle->setObjectName(QStringLiteral("lblStepTitle"));
    QFont oBold = lblTitle->font();
    oBold.setBold(true);
    lblTitle->setFont(oBold);
    lblDescription = new QLabel(oHead);
    lblDescription->setObjectName(QStringLiteral("lblStepDescription"));
    lblDescription->setWordWrap(true);
    // The rule under the title belongs to the head: the welcome and finish pages have their own.
    auto *oRule = new QFrame(oHead);
    oRule->setFrameShape(QFrame::HLine);
    auto *oLayout = new QVBoxLayout(oHead);
    oLayout->addWidget(lblTitle);
    oLayout->addWidget(lblDescription);
    oLayout->addWidget(oRule);
    return oHead;
}

void LayOutListPage(QWidget *oPage, QBoxLayout *oTop, QWidget *oList, const QList<QPushButton *> &colButtons)
{
    auto *oButtons = new QVBoxLayout;
    for (QPushButton *oButton : colButtons)
        oButtons->addWidget(oButton);
    oButtons->addStretch(1);
    auto *oListRow = new QHBoxLayout;
    oListRow->addWidget(oList, 1);
    oListRow->addLayout(oButtons);
    auto *oLayout = new QVBoxLayout(oPage);
    oLayout->setContentsMargins(0, 0, 0, 0);
    oLayout->addLayout(oTop);
    oLayout->addLayout(oListRow, 1);
}

} // namespace qv::wizard
