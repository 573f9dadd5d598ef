// The members that run the wizards over a configuration store.
#include "qvuser/DVUser.h"

#include "DVUserPrivate.h"

#include "biz/ConfigFileSettings.h"
#include "common/basUtility.h"
#include "config/ConfigStore.h"
#include "ui/MousePointer.h"
#include "wizard/frmDataViewWizard.h"

#include <QApplication>

using namespace qv;

namespace {

constexpr qint32 kErrorNoStore = qint32(0x80040209);
constexpr qint32 kErrorNotPersonal = qint32(0x8004020B);
constexpr qint32 kErrorNoEditAccess = qint32(0x8004020D);

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

} // namespace

int32_t DVUser::InvokeWizardDataView(std::shared_ptr<config::ConfigStore> &oDataViewConfigDS,
                                     const QString &sDataViewId)
{
    return entry::ShowErrorsOf(QStringLiteral("InvokeWizardDataView()"), int32_t(0), [&]() -> int32_t {
        biz::ConfigFileSettings oSettings;
        if (!oDataViewConfigDS)
            RaiseError(kErrorNoStore, {}, LoadResString(503));
        if (oDataViewConfigDS->FileKind() == 0)
            oDataViewConfigDS->Open(oSettings.GetConfigFilePath(Personal));
        if (oDataViewConfigDS->FileKind() != 1)
            RaiseError(kErrorNotPersonal, {}, LoadResString(503));
        bool bNumber = false;
        qint32 lId = sDataViewId.trimmed().toInt(&bNumber);
        if (!bNumber)
            lId = -1;
        if (!oSettings.GrantEditAccess(oDataViewConfigDS))
            RaiseError(kErrorNoEditAccess, {}, LoadResString(705));
        const qint32 lResult = RunDataViewWizardOn(oDataViewConfigDS, lId);
        if (lResult != 0 && oDataViewConfigDS->FileKind() == 1) {
            ui::BusyPointer oBusy;
            oDataViewConfigDS->Save();
            oSettings.ConfigurationChanged(Personal);
            oSettings.ConfigurationChanged(Team);
        }
        return lResult;
    });
}
