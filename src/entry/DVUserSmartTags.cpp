// The member that runs the Smart Tag Wizard over a configuration store.
#include "qvuser/DVUser.h"

#include "DVUserPrivate.h"

#include "biz/ConfigFileSettings.h"
#include "common/basErrorHandling.h"
#include "common/basUtility.h"
#include "config/ConfigObjects.h"
#include "config/ConfigStore.h"
#include "configfile/ConfigFileRules.h"
#include "smarttags/frmSmartTagWizard.h"
#include "ui/MessageBox.h"
#include "ui/MousePointer.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>

using namespace qv;

namespace {

constexpr qint32 kErrorNotPersonal = qint32(0x8004020B);
constexpr int kTableStyles = 3;
constexpr int kParagraphStyles = 1;

// The host's styles of a kind, built-in ones included; none without a host.
QStringList HostStyles(QObject *oWordServices, int lKind)
{
    QStringList colStyles;
    if (oWordServices)
        QMetaObject::invokeMethod(oWordServices, "GetStyles", Qt::DirectConnection, Q_RETURN_ARG(QStringList, colStyles),
                                  Q_ARG(int, lKind), Q_ARG(bool, true));
    return colStyles;
}

// The data view of `theirs` that has the name of `ours`'s data view `lId`; 0 when none.
qint32 SameView(const config::ConfigStore &ours, qint32 lId, const config::ConfigStore &theirs)
{
    const auto oView = ours.DataViewCollection().Item(lId);
    const auto oTheirs = oView ? theirs.DataViewCollection().ItemByName(oView->Name) : nullptr;
    return oTheirs ? oTheirs->Id() : 0;
}

// Gives `theirs` (in another store) the definition of `ours`: data views are
// found again by name, since identifiers differ between stores.
void ApplySmartTag(const config::ConfigStore &oOurStore, const config::SmartTag &ours, config::ConfigStore &oTheirStore,
                   config::SmartTag &theirs)
{
    theirs.Name = ours.Name;
    theirs.Description = ours.Description;
    theirs.Enabled = ours.Enabled;
    theirs.Recognizer.SetDataView(
        oTheirStore.DataViewCollection().Item(SameView(oOurStore, ours.Recognizer.DataViewId, oTheirStore)));
    if (theirs.Recognizer.DataViewId != 0)
        theirs.Recognizer.SetFieldName(ours.Recognizer.FieldName);
    theirs.Recognizer.Included = ours.Recognizer.Included;
    theirs.Recognizer.Excluded = ours.Recognizer.Excluded;
    while (!theirs.Actions.empty())
        theirs.RemoveAction(1);
    for (const auto &oAction : ours.Actions) {
        const auto oCopy = theirs.AddAction();
        oCopy->Name = oAction->Name;
        oCopy->DisplayText = oAction->DisplayText;
        oCopy->ActionKind = oAction->ActionKind;
        oCopy->LayoutType = oAction->LayoutType;
        oCopy->StyleName = oAction->StyleName;
        oCopy->DataViewId = SameView(oOurStore, oAction->DataViewId, oTheirStore);
    }
}

std::shared_ptr<config::SmartTag> FindTag(const config::ConfigStore &oStore, qint32 lId)
{
    const auto oSet = oStore.SmartTagSets().Item(1);
    return oSet ? oSet->Item(lId) : nullptr;
}

// Saves the wizard's smart tag; when someone else saved the file meanwhile,
// the author may take their version and put the smart tag into it again.
qint32 SaveSmartTag(config::ConfigStore &oStore, qint32 lId, bool bNew)
{
    const QByteArray baOurs = oStore.ToXml();
    const auto oOurStore = config::ConfigStore::Create();
    oOurStore->ReadXml(baOurs, oStore.FilePath());
    const auto askReload = [&oStore] {
        return ShowMessage(QStringLiteral("Someone else saved the configuration file \"%1\" while the wizard was "
                                          "open.\n\nTake their changes and save this smart tag into the file "
                                          "again? No leaves the file as they saved it.")
                               .arg(QDir::toNativeSeparators(oStore.FilePath())),
                           QString::fromLatin1(kTitleSmartTagWizard), ui::mb::YesNo | ui::mb::Exclamation)
               == ui::mb::Yes;
    };
    const auto redo = [&](config::ConfigStore &oTheirs) {
        const auto oOurs = FindTag(*oOurStore, lId);
        Q_ASSERT(oOurs);
        std::shared_ptr<config::SmartTag> oTarget = bNew ? nullptr : FindTag(oTheirs, lId);
        if (!oTarget) {
            auto oSet = oTheirs.SmartTagSets().Item(1);
            if (!oSet)
                oSet = oTheirs.SmartTagSets().Add(oTheirs.Ids(), oTheirs.weak_from_this());
            oTarget = oSet->AddNew(oOurs->Key);
        }
        ApplySmartTag(*oOurStore, *oOurs, oTheirs, *oTarget);
        lId = oTarget->Id();
    };
    if (configfile::SaveRedoingOnConflict(oStore, redo, askReload))
        return lId;
    oStore.Reload(QString());
    return 0;
}

// A cancelled wizard leaves the store as it was. A Data View Wizard opened
// from it may have saved the file meanwhile, with the half-made smart tag:
// the file then gets the store as it was plus the data views made since.
void PutBack(config::ConfigStore &oStore, const QByteArray &baSnapshot, const QDateTime &dtSaved)
{
    const QString sPath = oStore.FilePath();
    const bool bSavedMeanwhile = QFileInfo(sPath).lastModified() != dtSaved;
    const QByteArray baOnDisk = bSavedMeanwhile ? oStore.ToXml() : QByteArray();
    oStore.ReadXml(baSnapshot, sPath);
    if (!bSavedMeanwhile)
        return;
    const auto oOnDisk = config::ConfigStore::Create();
    oOnDisk->ReadXml(baOnDisk, sPath);
    for (const auto &oView : oOnDisk->DataViewCollection()) {
        if (!oStore.DataViewCollection().ItemByName(oView->Name))
            oStore.DataViewCollection().AddFrom(*oView);
    }
    oStore.Save();
}

} // namespace

int32_t DVUser::InvokeWizardSmartTag(QObject *&oWordServices, std::shared_ptr<config::ConfigStore> &oDataViewConfigDS,
                                     const QString &sSmartTagId)
{
    return entry::ShowErrorsOf(QStringLiteral("InvokeWizardSmartTag()"), int32_t(0), [&]() -> int32_t {
        biz::ConfigFileSettings oSettings;
        entry::RequirePersonalStore(oDataViewConfigDS, oSettings, kErrorNotPersonal, 505);
        smarttags::SmartTagWizardRequest oRequest{oDataViewConfigDS, sSmartTagId.trimmed().toInt(), Personal,
                                                  HostStyles(oWordServices, kTableStyles),
                                                  HostStyles(oWordServices, kParagraphStyles)};
        const QByteArray baSnapshot = oDataViewConfigDS->ToXml();
        const QDateTime dtSaved = QFileInfo(oDataViewConfigDS->FilePath()).lastModified();
        frmSmartTagWizard oWizard(QApplication::activeWindow());
        const smarttags::SmartTagWizardResult oResult = RunSmartTagWizard(oWizard, oRequest);
        if (oResult.Cancelled) {
            PutBack(*oDataViewConfigDS, baSnapshot, dtSaved);
            return 0;
        }
        ui::BusyPointer oBusy;
        const qint32 lId = SaveSmartTag(*oDataViewConfigDS, oResult.SmartTagId, oWizard.State().IsNew());
        oSettings.ConfigurationChanged(Personal);
        oSettings.ConfigurationChanged(Team);
        return lId;
    });
}
