#include "WizardPageParts.h"

#include <QBoxLayout>
#include <QPushButton>

namespace qv::wizard {

QPushButton *MakePageButton(QWidget *oParent, const char *sName, const char *sCaption)
{
    auto *oButton = new QPushButton(QString::fromLatin1(sCaption), oParent);
    oButton->setObjectName(QString::fromLatin1(sName));
    oButton->setAutoDefault(false);
    return oButton;
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
