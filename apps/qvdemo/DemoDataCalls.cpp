// The editor's calls to DVUser's Insert Data and View Data members.

#include "DemoDataMenu.h"

#include "DemoWindow.h"
#include "DocumentWriter.h"
#include "HostServices.h"
#include "RowTable.h"

#include "qvuser/ado/Recordset.h"
#include "qvuser/biz/Settings.h"
#include "qvuser/config/ConfigStore.h"
#include "qvuser/scripting/Collection.h"

#include <qvuser/DVUser.h>

#include <QSettings>
#include <QTextEdit>

namespace qvdemo {

bool DemoDataMenu::CallInsertData(std::shared_ptr<qv::config::DataView> &oDataView, bool bPicker)
{
    const Remembered memo = oDataView ? m_memory.Recall(oDataView->TextKey()) : Remembered{};
    const eConfigFileType lType = memo.Settings && memo.Settings->DataViewType == Team ? Team : Personal;
    const std::shared_ptr<qv::biz::Settings> oChosen = m_oDVUser->ShowSelectData(
        oDataView, memo.Settings, m_host->StyleCollection(HostServices::ParagraphStyles),
        m_host->StyleCollection(HostServices::TableStyles), lType, -1, bPicker, true, true, true,
        memo.SelectedRowsXml, QStringLiteral("Insert Data"), false, false, false);
    if (m_oDVUser->InsertDataCancelled() || !oChosen) {
        m_window->ShowStatus(QStringLiteral("Insert Data was cancelled."));
        return false;
    }
    std::shared_ptr<qv::config::DataView> oUsed = m_oDVUser->InsertDataView();
    int lWritten = 0;
    const bool bWritten = WriteChosenRows(*oChosen, lWritten);
    m_oLastDataView = oUsed ? oUsed : oDataView;
    m_memory.Remember(m_oLastDataView ? m_oLastDataView->TextKey() : oChosen->DataViewKey, oChosen,
                      m_oDVUser->InsertDataSelectionRS());
    RememberForNextRun(oChosen);
    return bWritten;
}

bool DemoDataMenu::WriteChosenRows(const qv::biz::Settings &oChosen, int &lWritten)
{
    std::shared_ptr<qv::ado::Recordset> oRawRows = m_oDVUser->InsertDataSelectionRawRS();
    const RowTable rows = RowsFromRecordset(m_oDVUser->InsertDataSelectionRS());
    InsertChoice choice;
    choice.Style = oChosen.StyleName;
    ToLayout(oChosen.FormatType, choice.Layout);
    ToPosition(oChosen.InsertPosition, choice.Position);
    QTextCursor cursor = m_window->Editor()->textCursor();
    const bool bWritten = WriteRows(cursor, rows, choice, m_host->Styles());
    m_window->Editor()->setTextCursor(cursor);
    lWritten = bWritten ? int(rows.Rows.size()) : 0;
    const qint64 lRawCount = oRawRows ? oRawRows->RecordCount() : 0;
    m_window->ShowStatus(bWritten ? QStringLiteral("Inserted %1 rows of \"%2\" (%3 source rows).")
                                        .arg(rows.Rows.size())
                                        .arg(oChosen.DataViewName)
                                        .arg(lRawCount)
                                  : QStringLiteral("No rows were chosen."));
    return bWritten;
}

bool DemoDataMenu::RunSmartTagCommand(const SmartTagCommand &command)
{
    try {
        if (command.Insert)
            return CallSmartTagInsert(command);
        std::shared_ptr<qv::config::DataView> oDataView = command.DataView;
        CallViewData(oDataView, 0);
    } catch (const std::exception &e) {
        ReportFailure(QString::fromUtf8(e.what()));
    }
    return false;
}

bool DemoDataMenu::CallSmartTagInsert(const SmartTagCommand &command)
{
    // The action's layout and style come first; the copy is in no
    // configuration, so its choices are neither remembered nor saved. Its
    // condition on the term is the filter row's, so the author sees it.
    auto oSettings = std::make_shared<qv::biz::Settings>();
    oSettings->DataViewName = command.DataView->Name;
    oSettings->DataViewKey = command.DataView->TextKey();
    eFormatType layout = FormatTypeTableWithHeader;
    if (ToLayout(command.Layout, layout))
        oSettings->FormatType = layout;
    oSettings->StyleName = command.Style;
    std::shared_ptr<qv::config::DataView> oDataView = command.DataView;
    const std::shared_ptr<qv::biz::Settings> oChosen = m_oDVUser->ShowSelectData(
        oDataView, oSettings, m_host->StyleCollection(HostServices::ParagraphStyles),
        m_host->StyleCollection(HostServices::TableStyles), Personal, command.FilterId, false, true, false, true,
        QString(), QStringLiteral("Insert Data"), false, false, false);
    if (m_oDVUser->InsertDataCancelled() || !oChosen) {
        m_window->ShowStatus(QStringLiteral("Insert Data was cancelled."));
        return false;
    }
    int lWritten = 0;
    return WriteChosenRows(*oChosen, lWritten);
}

void DemoDataMenu::RememberForNextRun(const std::shared_ptr<qv::biz::Settings> &oChosen)
{
    QSettings().setValue(QLatin1String(kLastDataViewKey), oChosen->DataViewKey);
    try {
        oChosen->Save();
    } catch (const std::exception &e) {
        m_window->ShowStatus(QStringLiteral("The layout of \"%1\" was not kept: %2")
                                 .arg(oChosen->DataViewName, QString::fromUtf8(e.what())));
    }
}

std::shared_ptr<qv::config::DataView>
DemoDataMenu::RunDataViewWizard(const std::shared_ptr<qv::config::DataView> &oDataView)
{
    std::shared_ptr<qv::config::ConfigStore> oStore = PersonalStore();
    if (!oStore)
        return nullptr;
    // The library shows its own errors; 0 is a cancel or a failure it reported.
    const int32_t lId = m_oDVUser->InvokeWizardDataView(oStore, oDataView ? QString::number(oDataView->Id()) : QString());
    std::shared_ptr<qv::config::DataView> oSaved = lId > 0 ? oStore->DataViewCollection().Item(lId) : nullptr;
    m_window->ShowStatus(oSaved ? QStringLiteral("The data view \"%1\" is saved.").arg(oSaved->Name)
                                : QStringLiteral("The Data View Wizard was cancelled."));
    return oSaved;
}

void DemoDataMenu::CallViewData(std::shared_ptr<qv::config::DataView> &oDataView, int32_t lPreview)
{
    // A preview keeps the library's own caption ("Preview").
    m_oDVUser->ShowViewData(oDataView, lPreview, -1, lPreview == 0 ? QStringLiteral("View Data") : QString());
}

} // namespace qvdemo
