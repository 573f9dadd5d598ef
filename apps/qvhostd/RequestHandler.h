#pragma once

#include <QJsonObject>
#include <QObject>

#include <memory>

class DVUser;

namespace qv::config {
class ConfigStore;
class DataView;
} // namespace qv::config

namespace qvhostd {

class RequestServices;
class TransientParent;

// Answers the requests of the host process's protocol, one at a time, on
// the user-interface thread: each request runs the DVUser member it names
// and answers what the member handed back. A request's failure is answered
// as its COM error; nothing is thrown.
class RequestHandler : public QObject
{
    Q_OBJECT

public:
    explicit RequestHandler(QObject *parent = nullptr);
    ~RequestHandler() override;

    // The answer to one request (docs/host-process.md); it echoes the
    // request's "id".
    QJsonObject Answer(const QJsonObject &request);

private:
    QJsonObject Dispatch(const QString &kind, const QJsonObject &request);
    QJsonObject InsertData(const QJsonObject &request);
    QJsonObject ViewData(const QJsonObject &request);
    QJsonObject OpenManager(const QJsonObject &request);
    DVUser &User();
    void TakeHostFacts(const QJsonObject &request);
    // The data view the request names ("dataView": key, name or id) in the
    // personal (1) or team (2) configuration; nullptr when it names none.
    // Raises 32811 when the configuration has no such data view.
    std::shared_ptr<qv::config::DataView> NamedDataView(const QJsonObject &request);
    // The data view View Data shows when the request names none: the one
    // Insert Data showed last, else the first by name.
    std::shared_ptr<qv::config::DataView> DefaultDataView();
    std::shared_ptr<qv::config::ConfigStore> Store(int type);

    std::unique_ptr<DVUser> m_user;
    RequestServices *m_services;
    TransientParent *m_transient;
    std::shared_ptr<qv::config::ConfigStore> m_stores[2];
};

} // namespace qvhostd
