// The members that run the wizards over a configuration store.
#include "qvuser/DVUser.h"

#include "DVUserPrivate.h"

#include "biz/ConfigFileSettings.h"
#include "common/basErrorHandling.h"
#include "config/ConfigObjects.h"
#include "configfile/ConfigFileRules.h"
#include "ui/MessageBox.h"
#include "wizard/DataViewWizardState.h"
#include "common/basUtility.h"
#include "config/ConfigStore.h"
#include "ui/MousePointer.h"
#include "wizard/frmDataViewWizard.h"

#include <QApplication>
#include <QDir>

using namespace qv;

namespace {

constexpr qint32 kErrorNoStore = qint32(0x80040209);

// The wizard over the store; a cancel puts the store back as it was before.
qint32 RunDataViewWizardOn(const std::shared_ptr<config::ConfigStore> &oStore, qint32 lId)
{
    return PassErrorsOn(QStringLiteral("ShowDataViewConfig()"), [&] {
        if (!oStore)
            RaiseError(qint32(0x80040202), {}, LoadResString(102, {QStringLiteral("DVConfigData")}));
        const QByteArray baSnapshot = oStore->ToXml();
        const QString sPath = oStore->FilePath();
        frmDataViewWizard oWizard(QApplication::activeWindow());
        const wizard::DataViewWizardResult oResult = RunDataViewWizard(oWizard, {oStore, lId, Personal});
        if (oResult.bCancelled) {
            oStore->ReadXml(baSnapshot, sPath);
            return qint32(0);
        }
        return oResult.lDataViewID;
    });
}

// Gives `theirs` the definition of `ours`; fields of the same name keep their
// identifiers, which smart tags refer to.
void ApplyDefinition(const config::DataView &ours, config::DataView &theirs)
{
    theirs.Name = ours.Name;
    theirs.Description = ours.Description;
    theirs.DataItemName = ours.DataItemName;
    theirs.DataItemKind = ours.DataItemKind;
    theirs.Source = ours.Source;
    QStringList colOrder;
    for (const auto &oField : ours.Fields) {
        auto oTheirs = theirs.Fields.Item(oField->Name);
        if (!oTheirs)
            oTheirs = theirs.Fields.Add(oField->Name);
        oTheirs->DisplayName = oField->DisplayName;
        oTheirs->Displayed = oField->Displayed;
        oTheirs->ViewFormat = oField->ViewFormat;
        oTheirs->DataKind = oField->DataKind;
        oTheirs->AdoType = oField->AdoType;
        oTheirs->ClearConditions();
        for (const config::Condition &oCondition : oField->Conditions)
            oTheirs->AddCondition(oCondition.Value, oCondition.Conjunction, oCondition.Operator);
        colOrder << oField->Name;
    }
    QStringList colGone;
    for (const auto &oField : theirs.Fields) {
        if (!colOrder.contains(oField->Name, Qt::CaseInsensitive))
            colGone << oField->Name;
    }
    for (const QString &sName : std::as_const(colGone))
        theirs.Fields.Remove(sName);
    for (int lTo = 1; lTo <= colOrder.size(); ++lTo) {
        for (int lFrom = lTo; lFrom <= theirs.Fields.Count(); ++lFrom) {
            if (theirs.Fields.At(lFrom)->Name.compare(colOrder.at(lTo - 1), Qt::CaseInsensitive) == 0) {
                theirs.Fields.Move(lFrom, lTo);
                break;
            }
        }
    }
}

// Saves the wizard's data view. When another author saved the file since it
// was read, the author may take their version and put the data view into it
// again: an edited one over its own entry, a new one under a free name.
// Answers the saved data view's identifier; 0 when the author declined.
qint32 SaveWizardResult(config::ConfigStore &oStore, qint32 lId, bool bNew)
{
    const auto oMade = oStore.DataViewCollection().Item(lId);
    Q_ASSERT(oMade);
    const auto oOurs = oMade->CopyInto(std::make_shared<config::IdSource>(), {});
    const auto askReload = [&oStore] {
        return ShowMessage(QStringLiteral("Someone else saved the configuration file \"%1\" while the wizard was "
                                          "open.\n\nTake their changes and save this data view into the file "
                                          "again? No leaves the file as they saved it.")
                               .arg(QDir::toNativeSeparators(oStore.FilePath())),
                           QString::fromLatin1(kTitleWizard), ui::mb::YesNo | ui::mb::Exclamation)
               == ui::mb::Yes;
    };
    const auto redo = [&](config::ConfigStore &oTheirs) {
        config::DataViews &colViews = oTheirs.DataViewCollection();
        std::shared_ptr<config::DataView> oTarget = bNew ? nullptr : colViews.Item(lId);
        if (!oTarget) {
            oTarget = colViews.AddBlank();
            ApplyDefinition(*oOurs, *oTarget);
            oTarget->Name = wizard::DataViewWizardState::MakeUniqueName(oOurs->Name, [&](const QString &sName) {
                const auto oOther = colViews.ItemByName(sName);
                return oOther && oOther != oTarget;
            });
        } else {
            ApplyDefinition(*oOurs, *oTarget);
        }
        lId = oTarget->Id();
    };
    if (configfile::SaveRedoingOnConflict(oStore, redo, askReload))
        return lId;
    // Declined: the store shows the file as the other author left it.
    oStore.Reload(QString());
    return 0;
}

} // namespace

void entry::RequirePersonalStore(std::shared_ptr<config::ConfigStore> &oStore, biz::ConfigFileSettings &oSettings,
                                 qint32 lNoStoreError, quint32 lMessage)
{
    constexpr qint32 kErrorNotPersonal = qint32(0x8004020B);
    constexpr qint32 kErrorNoEditAccess = qint32(0x8004020D);
    if (!oStore)
        RaiseError(lNoStoreError, {}, LoadResString(lMessage));
    if (oStore->FileKind() == 0)
        oStore->Open(oSettings.GetConfigFilePath(Personal));
    if (oStore->FileKind() != 1)
        RaiseError(kErrorNotPersonal, {}, LoadResString(lMessage));
    if (!oSettings.GrantEditAccess(oStore))
        RaiseError(kErrorNoEditAccess, {}, LoadResString(705));
}

int32_t DVUser::InvokeWizardDataView(std::shared_ptr<config::ConfigStore> &oDataViewConfigDS,
                                     const QString &sDataViewId)
{
    return entry::ShowErrorsOf(QStringLiteral("InvokeWizardDataView()"), int32_t(0), [&]() -> int32_t {
        biz::ConfigFileSettings oSettings;
        entry::RequirePersonalStore(oDataViewConfigDS, oSettings, kErrorNoStore, 503);
        bool bNumber = false;
        qint32 lId = sDataViewId.trimmed().toInt(&bNumber);
        if (!bNumber)
            lId = -1;
        qint32 lResult = RunDataViewWizardOn(oDataViewConfigDS, lId);
        if (lResult != 0 && oDataViewConfigDS->FileKind() == 1) {
            ui::BusyPointer oBusy;
            lResult = SaveWizardResult(*oDataViewConfigDS, lResult, lId <= 0);
            oSettings.ConfigurationChanged(Personal);
            oSettings.ConfigurationChanged(Team);
        }
        return lResult;
    });
}
