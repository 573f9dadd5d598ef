#pragma once

#include "common/basErrorHandling.h"

#include <QList>
#include <QString>

class QBoxLayout;
class QLabel;
class QPushButton;
class QWidget;

// What the wizard's list pages are built of.
namespace qv::wizard {

// A page button: never the default button unless the page makes it so.
QPushButton *MakePageButton(QWidget *oParent, const char *sName, const char *sCaption);

// Lays a page out: the row of choosers on top, below it the list with the
// page's buttons in a column at its right.
void LayOutListPage(QWidget *oPage, QBoxLayout *oTop, QWidget *oList, const QList<QPushButton *> &colButtons);

// The head of a wizard's step pages: the step's title in bold over its
// description and a rule (fraStepHead, lblStepTitle, lblStepDescription).
QWidget *MakeStepHead(QWidget *oParent, QLabel *&lblTitle, QLabel *&lblDescription);

// A slot that runs a page's handler and reports its failure in the wizard's box.
template<typename Page>
auto Handled(Page *oPage, void (Page::*handler)())
{
    return [oPage, handler] {
        HandleErrors([oPage, handler] { (oPage->*handler)(); }, QString::fromLatin1(kTitleWizard));
    };
}

} // namespace qv::wizard
