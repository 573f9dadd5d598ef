#pragma once

#include "DemoSteps.h"

namespace qvdemo {

// The Smart Tag Wizard worked as an author does: one action (made by the
// action dialog's steps), terms from the field `field` of the action's data
// view, the term `ownTerm` of its own, and the name `name`; a picture of
// each page in `pictures`.
QList<StepDriver::Step> SmartTagWizardSteps(const QString &pictures, const QString &field, const QString &ownTerm,
                                            const QString &name);
// The action dialog the wizard's New opens: the data view, the prompt, then OK.
QList<StepDriver::Step> ActionDialogSteps(const QString &pictures, const QString &dataView, const QString &prompt);

} // namespace qvdemo
