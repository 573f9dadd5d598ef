// The steps that make a smart tag through the Smart Tag Wizard.
#include "DemoSmartTagSteps.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QTimer>

namespace qvdemo {

namespace {

bool OnPage(QDialog &wizard, const char *page)
{
    auto *body = Child<QWidget>(wizard, page);
    return body && body->isVisible() && NotBusy(wizard);
}

// A button whose dialog opens another modal one is pressed from the event
// loop, so that the step is over before the nested dialog's own loop runs.
void PressLater(QDialog &dialog, const char *button)
{
    QTimer::singleShot(0, Child<QAbstractButton>(dialog, button), &QAbstractButton::click);
}

int Count(QDialog &wizard, const char *list)
{
    auto *items = Child<QListWidget>(wizard, list);
    return items ? items->count() : 0;
}

} // namespace

QList<StepDriver::Step> ActionDialogSteps(const QString &pictures, const QString &dataView, const QString &prompt)
{
    return {{"the action dialog", [](QDialog &d) { return d.isVisible() && NotBusy(d); },
             [pictures, dataView, prompt](QDialog &d) {
                 ChooseText(d, "icboDataView", dataView);
                 auto *name = Child<QLineEdit>(d, "txtName");
                 name->selectAll();
                 TypeText(name, prompt);
                 Picture(d, pictures + QStringLiteral("/smart-tag-action.png"));
                 Press(d, "cmdOK");
             }}};
}

QList<StepDriver::Step> SmartTagWizardSteps(const QString &pictures, const QString &field, const QString &ownTerm,
                                            const QString &name)
{
    const auto at = [pictures](const char *file) { return pictures + QLatin1Char('/') + QLatin1String(file); };
    return {
        {"the welcome page", [](QDialog &d) { return OnPage(d, "fraWelcome"); },
         [at](QDialog &d) {
             Picture(d, at("smart-tag-1-welcome.png"));
             Press(d, "cmdNext");
         }},
        {"the actions page", [](QDialog &d) { return OnPage(d, "fraStepBody2"); },
         [](QDialog &d) { PressLater(d, "cmdActionNew"); }},
        {"the new action listed", [](QDialog &d) { return OnPage(d, "fraStepBody2") && Count(d, "lvwAction") == 1; },
         [at](QDialog &d) {
             Picture(d, at("smart-tag-2-actions.png"));
             Press(d, "cmdNext");
         }},
        {"the recognizer page", [](QDialog &d) { return OnPage(d, "fraStepBody3"); },
         [at, field](QDialog &d) {
             Child<QAbstractButton>(d, "chkLookupDataView")->click();
             ChooseText(d, "cboRecognizerField", field);
             Picture(d, at("smart-tag-3-recognizer.png"));
             Press(d, "cmdNext");
         }},
        {"the terms page", [](QDialog &d) { return OnPage(d, "fraStepBody4"); },
         [](QDialog &d) { Press(d, "cmdTermNew"); }},
        {"the new term edited", [](QDialog &d) { return Child<QListWidget>(d, "lvwTerm")->viewport()->findChild<QLineEdit *>(); },
         [ownTerm](QDialog &d) {
             auto *editor = Child<QListWidget>(d, "lvwTerm")->viewport()->findChild<QLineEdit *>();
             editor->selectAll();
             TypeText(editor, ownTerm);
             Key(editor, Qt::Key_Return);
         }},
        {"the term kept", [ownTerm](QDialog &d) {
             auto *terms = Child<QListWidget>(d, "lvwTerm");
             return terms->count() == 1 && terms->item(0)->text() == ownTerm;
         },
         [at](QDialog &d) {
             Picture(d, at("smart-tag-4-terms.png"));
             Press(d, "cmdNext");
         }},
        {"the finish page", [](QDialog &d) { return OnPage(d, "fraFinish"); },
         [at, name](QDialog &d) {
             auto *box = Child<QLineEdit>(d, "txtName");
             box->selectAll();
             TypeText(box, name);
             Picture(d, at("smart-tag-5-finish.png"));
             Press(d, "cmdFinish");
         }},
    };
}

} // namespace qvdemo
