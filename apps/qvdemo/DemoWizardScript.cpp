// The scripted run that makes a data view through the Data View Wizard and
// inserts its rows.
#include "DemoDataMenu.h"
#include "DemoScript.h"
#include "DemoSteps.h"

#include <QDir>
#include <QLineEdit>
#include <QListWidget>

#include <qvuser/config/ConfigStore.h>

#include <cstdio>

namespace qvdemo {

namespace {

const QString kName = QStringLiteral("Price List from the wizard");

// The page shown, once the wizard waits for the user.
bool OnPage(QDialog &wizard, const char *page)
{
    auto *body = Child<QWidget>(wizard, page);
    return body && body->isVisible() && NotBusy(wizard);
}

bool ListFilled(QDialog &wizard, const char *page, const char *list)
{
    auto *items = Child<QAbstractItemView>(wizard, list);
    return OnPage(wizard, page) && items && items->model()->rowCount() > 0;
}

// Pictures the page as the user sees it, then presses the button.
void Leave(QDialog &wizard, const QString &picture, const char *button = "cmdNext")
{
    Picture(wizard, picture);
    Press(wizard, button);
}

void ChooseRow(QDialog &wizard, const char *list, const QString &text)
{
    auto *items = Child<QAbstractItemView>(wizard, list);
    QAbstractItemModel *model = items->model();
    const QModelIndexList found = model->match(model->index(0, 0), Qt::DisplayRole, text, 1, Qt::MatchStartsWith);
    items->setCurrentIndex(found.isEmpty() ? model->index(0, 0) : found.first());
}

QList<StepDriver::Step> WizardSteps(const QString &pictures, const QString &workbook)
{
    const auto at = [pictures](const char *file) { return pictures + QLatin1Char('/') + QLatin1String(file); };
    return {
        {"the welcome page", [](QDialog &d) { return OnPage(d, "fraWelcome"); },
         [at](QDialog &d) { Leave(d, at("wizard-1-welcome.png")); }},
        {"the template page", [](QDialog &d) { return OnPage(d, "fraStepBody2"); },
         [at](QDialog &d) { Leave(d, at("wizard-2-template.png")); }},
        {"the data source page", [](QDialog &d) { return ListFilled(d, "fraStepBody3", "lvwDataSource"); },
         [at](QDialog &d) {
             ChooseRow(d, "lvwDataSource", QStringLiteral("Microsoft Excel"));
             Leave(d, at("wizard-3-data-source.png"));
         }},
        {"the location page", [](QDialog &d) { return OnPage(d, "fraStepBody4"); },
         [at, workbook](QDialog &d) {
             TypeText(Child<QLineEdit>(d, "txtLocation"), workbook);
             Leave(d, at("wizard-4-location.png"));
         }},
        {"the data item page", [](QDialog &d) { return ListFilled(d, "fraStepBody5", "lvwDataItem"); },
         [at](QDialog &d) {
             ChooseRow(d, "lvwDataItem", QString());
             Leave(d, at("wizard-5-data-item.png"));
         }},
        {"the display field page", [](QDialog &d) { return OnPage(d, "fraStepBody6"); },
         [at](QDialog &d) {
             Press(d, "cmdDisplayAddAll");
             Leave(d, at("wizard-6-display-fields.png"));
         }},
        {"the filter page", [](QDialog &d) { return OnPage(d, "fraStepBody7"); },
         [at](QDialog &d) { Leave(d, at("wizard-7-filters.png")); }},
        {"the finish page", [](QDialog &d) { return OnPage(d, "fraFinish"); },
         [at](QDialog &d) {
             auto *name = Child<QLineEdit>(d, "txtName");
             name->selectAll();
             TypeText(name, kName);
             Leave(d, at("wizard-8-finish.png"), "cmdFinish");
         }},
    };
}

} // namespace

int WizardRoad(const QStringList &arguments, DemoDataMenu &menu)
{
    if (!ArgumentsFit(arguments, 3, "wizard-road PICTURES WORKBOOK"))
        return 2;
    const QString pictures = QDir(arguments[1]).absolutePath();
    StepDriver wizard(WizardSteps(pictures, QDir(arguments[2]).absolutePath()), "frmDataViewWizard");
    const auto oMade = menu.RunDataViewWizard(nullptr);
    if (!oMade || !wizard.Done())
        return 4;
    Print({QStringLiteral("saved"), oMade->Name, QString::number(oMade->Fields.Count())});
    // Then inserted as any data view is: every row ticked.
    StepDriver insert({{"the new data view's rows show", [](QDialog &d) { return Rows(d) > 0 && Idle(d); },
                        [](QDialog &d) {
                            Print({QStringLiteral("rows"), QString::number(Rows(d))});
                            Press(d, "cmdSelect");
                            Press(d, "cmdOK");
                        }}});
    if (!menu.InsertData(oMade) || !insert.Done())
        return 4;
    return 0;
}

} // namespace qvdemo
