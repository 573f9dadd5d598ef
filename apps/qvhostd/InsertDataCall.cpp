// Insert Data: the request's data view, settings, selection and styles go
// into ShowSelectData; the choices and rows come back.

#include "HostProtocol.h"
#include "RequestHandler.h"
#include "RequestServices.h"

#include "SelectionMemory.h"

#include "qvuser/ado/Recordset.h"
#include "qvuser/biz/Settings.h"
#include "qvuser/config/ConfigStore.h"

#include <qvuser/DVUser.h>

namespace qvhostd {

namespace {

std::shared_ptr<qv::biz::Settings> RequestSettings(const QJsonObject &request)
{
    const QJsonValue settings = request.value(QStringLiteral("settings"));
    if (settings.isUndefined() || settings.isNull())
        return nullptr;
    if (!settings.isObject())
        RaiseBadRequest(QStringLiteral("\"settings\" is an object."));
    return SettingsFromJson(settings.toObject());
}

QString OptionalText(const QJsonObject &request, const char *member)
{
    const QJsonValue value = request.value(QLatin1String(member));
    if (value.isUndefined() || value.isNull())
        return {};
    if (!value.isString())
        RaiseBadRequest(QStringLiteral("\"%1\" is text.").arg(QLatin1String(member)));
    return value.toString();
}

QJsonObject DataViewToJson(const qv::config::DataView &view, int type)
{
    return {{QStringLiteral("id"), view.Id()},
            {QStringLiteral("name"), view.Name},
            {QStringLiteral("key"), view.TextKey()},
            {QStringLiteral("type"), type}};
}

} // namespace

QJsonObject RequestHandler::InsertData(const QJsonObject &request)
{
    const std::shared_ptr<qv::biz::Settings> given = RequestSettings(request);
    const QString selectedRows = OptionalText(request, "selectedRowsXml");
    const QString caption = OptionalText(request, "caption");
    const bool picker = request.value(QStringLiteral("picker")).toBool(false);
    const auto type = eConfigFileType(RequestedConfigType(request));
    std::shared_ptr<qv::config::DataView> view = NamedDataView(request);

    DVUser &user = User();
    const std::shared_ptr<qv::biz::Settings> chosen = user.ShowSelectData(
        view, given, m_services->StyleCollection(RequestServices::ParagraphStyles),
        m_services->StyleCollection(RequestServices::TableStyles), type, -1, picker, true, true, true, selectedRows,
        caption.isEmpty() ? QStringLiteral("Insert Data") : caption);
    if (user.InsertDataCancelled() || !chosen)
        return {{QStringLiteral("cancelled"), true}};

    const auto shown = user.InsertDataView() ? user.InsertDataView() : view;
    const auto rows = user.InsertDataSelectionRS();
    const auto rawRows = user.InsertDataSelectionRawRS();
    // The memory picks the key columns that find these rows again and writes
    // the selection XML the next request hands back.
    const QString key = shown ? shown->TextKey() : chosen->DataViewKey;
    qvdemo::SelectionMemory memory;
    memory.Remember(key, chosen, rows);
    const qvdemo::Remembered kept = memory.Recall(key);

    QJsonObject answer{{QStringLiteral("cancelled"), false},
                       {QStringLiteral("layout"), chosen->FormatType},
                       {QStringLiteral("style"), chosen->StyleName},
                       {QStringLiteral("position"), chosen->InsertPosition},
                       {QStringLiteral("rows"), RecordsetToJson(rows, true)},
                       {QStringLiteral("rawRows"), RecordsetToJson(rawRows, false)},
                       {QStringLiteral("settings"), SettingsToJson(kept.Settings ? *kept.Settings : *chosen)},
                       {QStringLiteral("selectedRowsXml"), kept.SelectedRowsXml}};
    if (shown)
        answer.insert(QStringLiteral("dataView"), DataViewToJson(*shown, chosen->DataViewType));
    return answer;
}

} // namespace qvhostd
