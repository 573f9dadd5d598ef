#include "RequestHandler.h"

#include "HostProtocol.h"
#include "RequestServices.h"
#include "TransientParent.h"

#include "qvuser/automation/ComError.h"
#include "qvuser/biz/ConfigFileSettings.h"
#include "qvuser/config/ConfigStore.h"
#include "qvuser/registry/Registry.h"

#include <qvuser/DVUser.h>

#include <QCoreApplication>
#include <QJsonArray>

#include <algorithm>
#include <exception>

namespace qvhostd {

namespace {

// Where the Insert Data dialog notes the data view it showed last.
const QString kDataViewsKey = QStringLiteral("\\Software\\Harbrane\\Quorivo\\Data Views\\");

} // namespace

RequestHandler::RequestHandler(QObject *parent)
    : QObject(parent), m_services(new RequestServices(this)), m_transient(new TransientParent(this))
{
}

RequestHandler::~RequestHandler() = default;

QJsonObject RequestHandler::Answer(const QJsonObject &request)
{
    QJsonObject answer;
    try {
        const QJsonValue kind = request.value(QStringLiteral("request"));
        if (!kind.isString())
            RaiseBadRequest(QStringLiteral("The request names no \"request\"."));
        TakeHostFacts(request);
        answer = Dispatch(kind.toString(), request);
        answer.insert(QStringLiteral("ok"), true);
    } catch (const qv::ComError &error) {
        answer = {{QStringLiteral("ok"), false}, {QStringLiteral("error"), ErrorToJson(error)}};
    } catch (const std::exception &error) {
        // Only ComError should leave the library; anything else is still an answer.
        answer = {{QStringLiteral("ok"), false},
                  {QStringLiteral("error"), ErrorToJson(qv::ComError(qv::vberr::InvalidCall,
                                                                     QString::fromLatin1(kErrorSource),
                                                                     QString::fromUtf8(error.what())))}};
    }
    m_transient->SetHostWindow(0);
    if (request.contains(QStringLiteral("id")))
        answer.insert(QStringLiteral("id"), request.value(QStringLiteral("id")));
    return answer;
}

QJsonObject RequestHandler::Dispatch(const QString &kind, const QJsonObject &request)
{
    if (kind == QLatin1String("ping"))
        return {{QStringLiteral("pid"), QCoreApplication::applicationPid()}};
    if (kind == QLatin1String("insert-data"))
        return InsertData(request);
    if (kind == QLatin1String("view-data"))
        return ViewData(request);
    if (kind == QLatin1String("manager"))
        return OpenManager(request);
    RaiseBadRequest(QStringLiteral("There is no request \"%1\".").arg(kind));
}

void RequestHandler::TakeHostFacts(const QJsonObject &request)
{
    m_services->SetStyles(TextList(request.value(QStringLiteral("paragraphStyles")), "paragraphStyles"),
                          TextList(request.value(QStringLiteral("tableStyles")), "tableStyles"));
    m_services->SetPaths(request.value(QStringLiteral("documentsFolder")).toString(),
                         request.value(QStringLiteral("teamFolder")).toString());
    m_services->SetVersion(request.value(QStringLiteral("hostVersion")).toString());
    // X11 window ids are 32-bit; JSON carries them as numbers.
    m_transient->SetHostWindow(quint64(request.value(QStringLiteral("window")).toDouble()));
}

DVUser &RequestHandler::User()
{
    if (!m_user)
        m_user = std::make_unique<DVUser>();
    return *m_user;
}

std::shared_ptr<qv::config::ConfigStore> RequestHandler::Store(int type)
{
    // Opened afresh for each request: the manager or another program may
    // have changed the file or chosen another one since.
    const QString path = qv::biz::ConfigFileSettings().GetConfigFilePath(type);
    auto store = qv::config::ConfigStore::Create();
    store->Open(path);
    m_stores[type - 1] = store;
    return store;
}

std::shared_ptr<qv::config::DataView> RequestHandler::NamedDataView(const QJsonObject &request)
{
    const QJsonValue named = request.value(QStringLiteral("dataView"));
    if (named.isUndefined() || named.isNull())
        return nullptr;
    if (!named.isObject())
        RaiseBadRequest(QStringLiteral("\"dataView\" is an object with a \"key\", \"name\" or \"id\"."));
    const QJsonObject which = named.toObject();
    const auto store = Store(RequestedConfigType(request));
    const auto &views = store->DataViewCollection();
    std::shared_ptr<qv::config::DataView> found;
    QString asked;
    if (which.value(QStringLiteral("key")).isString()) {
        asked = which.value(QStringLiteral("key")).toString();
        const auto it = std::find_if(views.begin(), views.end(), [&](const auto &view) { return view->TextKey() == asked; });
        found = it == views.end() ? nullptr : *it;
    } else if (which.value(QStringLiteral("name")).isString()) {
        asked = which.value(QStringLiteral("name")).toString();
        found = views.ItemByName(asked);
    } else if (which.value(QStringLiteral("id")).isDouble()) {
        asked = QString::number(which.value(QStringLiteral("id")).toInt());
        found = views.Item(which.value(QStringLiteral("id")).toInt());
    } else {
        RaiseBadRequest(QStringLiteral("\"dataView\" is an object with a \"key\", \"name\" or \"id\"."));
    }
    if (!found)
        throw qv::ComError(qv::vberr::ElementNotFound, QString::fromLatin1(kErrorSource),
                           QStringLiteral("The configuration \"%1\" has no data view \"%2\".")
                               .arg(store->FilePath(), asked));
    return found;
}

std::shared_ptr<qv::config::DataView> RequestHandler::DefaultDataView()
{
    qv::Registry registry;
    const qint32 id = registry.GetValue(qv::Registry::CurrentUser, kDataViewsKey, QStringLiteral("LastDataViewId"),
                                        qv::Registry::DWord, qv::Variant(qint32(0))).ToLong();
    const qint32 type = registry.GetValue(qv::Registry::CurrentUser, kDataViewsKey,
                                          QStringLiteral("LastDataViewTypeId"), qv::Registry::DWord,
                                          qv::Variant(qint32(Personal))).ToLong();
    const auto store = Store(type == Team ? Team : Personal);
    if (auto last = store->DataViewCollection().Item(id))
        return last;
    const auto personal = Store(Personal);
    std::shared_ptr<qv::config::DataView> first;
    for (const auto &view : personal->DataViewCollection()) {
        if (!first || view->Name.compare(first->Name, Qt::CaseInsensitive) < 0)
            first = view;
    }
    if (!first)
        throw qv::ComError(qv::vberr::ElementNotFound, QString::fromLatin1(kErrorSource),
                           QStringLiteral("The personal configuration has no data views."));
    return first;
}

QJsonObject RequestHandler::ViewData(const QJsonObject &request)
{
    auto view = NamedDataView(request);
    if (!view)
        view = DefaultDataView();
    const int preview = request.value(QStringLiteral("preview")).toInt(0);
    if (preview < 0)
        RaiseBadRequest(QStringLiteral("\"preview\" is 0 (all rows) or a number of rows."));
    User().ShowViewData(view, preview, -1, request.value(QStringLiteral("caption")).toString());
    return {};
}

QJsonObject RequestHandler::OpenManager(const QJsonObject &)
{
    QObject *services = m_services;
    User().VisualSmartTagConfig(services);
    return {};
}

} // namespace qvhostd
