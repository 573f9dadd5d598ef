#pragma once

#include "DemoSteps.h"

namespace qvdemo {

// The Smart Tag Wizard worked as an author does: an insert action on the
// data view, terms from its field `field`, the term `ownTerm` of its own,
// and the proposed name; a picture of each page in `pictures`.
QList<StepDriver::Step> SmartTagWizardSteps(const QString &pictures, const QString &field, const QString &ownTerm);
// The action dialog the wizard's New opens: the data view, then OK.
QList<StepDriver::Step> ActionDialogSteps(const QString &pictures, const QString &dataView);

} // namespace qvdemo
